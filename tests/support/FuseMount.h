#pragma once

#include "TempFolder.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace quorvane::testing {

// A real file system of another kind, made in an image file in a temporary folder and mounted
// through FUSE for the life of the object: NTFS through ntfs-3g (DOS attribute bits of its own,
// refuses RENAME_NOREPLACE), exFAT through exfat-fuse on a loop device (ignores case, no hard
// links, no extended attributes). Where FUSE, the tools or a loop device are missing, nothing is
// mounted and skipReason says why; tests then skip.
class FuseMount
{
public:
    enum Kind
    {
        Ntfs,
        Exfat,
    };

    explicit FuseMount(Kind kind)
    {
        if (access("/dev/fuse", R_OK | W_OK) != 0) {
            skipReason_ = "/dev/fuse is not available";
            return;
        }
        const std::string image = folder_.pathOf(kind == Ntfs ? "ntfs.img" : "exfat.img");
        mountPoint_ = folder_.pathOf("mount");
        folder_.makeFolder("mount");
        {
            const int fd = open(image.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
            const bool sized = fd >= 0 && ftruncate(fd, 16 << 20) == 0;
            if (fd >= 0) {
                close(fd);
            }
            if (!sized) {
                skipReason_ = "cannot make an image file";
                return;
            }
        }
        if (kind == Ntfs) {
            if (!run({"mkntfs", "-F", "-f", "-q", image}) || !run({"ntfs-3g", image, mountPoint_})) {
                skipReason_ = "mkntfs and ntfs-3g (Debian ntfs-3g) cannot make and mount an NTFS";
                return;
            }
        } else {
            if (!run({"mkfs.exfat", image})) {
                skipReason_ = "mkfs.exfat (Debian exfatprogs) cannot make an exFAT";
                return;
            }
            // exfat-fuse run by root insists on a block device.
            if (!run({"losetup", "-f", "--show", image}, &loopDevice_) || loopDevice_.empty()) {
                skipReason_ = "no loop device for the exFAT image";
                loopDevice_.clear();
                return;
            }
            if (!run({"mount.exfat-fuse", loopDevice_, mountPoint_})) {
                skipReason_ = "mount.exfat-fuse (Debian exfat-fuse) cannot mount an exFAT";
                return;
            }
        }
        mounted_ = true;
    }

    ~FuseMount()
    {
        if (mounted_) {
            // The file system may still be busy for a moment after the last close.
            bool unmounted = false;
            for (int attempt = 0; attempt < 20 && !unmounted; ++attempt) {
                unmounted = run({"fusermount", "-u", mountPoint_}) || run({"umount", mountPoint_});
                if (!unmounted) {
                    usleep(50000);
                }
            }
            if (!unmounted) {
                run({"umount", "-l", mountPoint_});
            }
        }
        if (!loopDevice_.empty()) {
            run({"losetup", "-d", loopDevice_});
        }
    }

    FuseMount(const FuseMount&) = delete;
    FuseMount& operator=(const FuseMount&) = delete;

    bool mounted() const { return mounted_; }
    const std::string& skipReason() const { return skipReason_; }
    const std::string& path() const { return mountPoint_; }
    std::string pathOf(std::string_view name) const { return mountPoint_ + "/" + std::string(name); }

private:
    // Runs a program found on PATH or in the system folders, quietly; true when it succeeds. Its
    // first line of output goes to firstLine when asked for.
    static bool run(const std::vector<std::string>& arguments, std::string* firstLine = nullptr)
    {
        int output[2];
        if (pipe2(output, O_CLOEXEC) != 0) {
            return false;
        }
        const pid_t child = fork();
        if (child < 0) {
            close(output[0]);
            close(output[1]);
            return false;
        }
        if (child == 0) {
            const int null = open("/dev/null", O_RDWR);
            dup2(null, STDIN_FILENO);
            // A mount's daemon would keep a pipe open: only a command whose output is wanted gets one.
            dup2(firstLine != nullptr ? output[1] : null, STDOUT_FILENO);
            dup2(null, STDERR_FILENO);
            std::vector<char*> argv;
            for (const std::string& argument : arguments) {
                argv.push_back(const_cast<char*>(argument.c_str()));
            }
            argv.push_back(nullptr);
            const char* path = std::getenv("PATH");
            const std::string searched =
                std::string(path != nullptr ? path : "/usr/bin:/bin") + ":/usr/sbin:/sbin";
            setenv("PATH", searched.c_str(), 1);
            execvp(argv[0], argv.data());
            _exit(127);
        }
        close(output[1]);
        std::string text;
        char buffer[256];
        ssize_t got;
        while ((got = read(output[0], buffer, sizeof buffer)) > 0) {
            text.append(buffer, static_cast<std::size_t>(got));
        }
        close(output[0]);
        int status = 0;
        while (waitpid(child, &status, 0) < 0) {
            if (errno != EINTR) {
                return false;
            }
        }
        if (firstLine != nullptr) {
            *firstLine = text.substr(0, text.find('\n'));
        }
        return WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }

    TempFolder folder_;
    std::string mountPoint_;
    std::string loopDevice_;
    std::string skipReason_;
    bool mounted_ = false;
};

} // namespace quorvane::testing
