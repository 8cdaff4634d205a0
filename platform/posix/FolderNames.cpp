#include "FolderNames.h"

#include "../ErrorCode.h"
#include "FolderReading.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <linux/fs.h>
#include <linux/magic.h>
#include <string>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <unistd.h>
#include <unordered_set>

namespace quorvane::platform::posix {
namespace {

// Magic numbers that linux/magic.h does not name on every system.
constexpr long exfatMagic = 0x2011BAB0;
constexpr long cifsMagic = static_cast<long>(0xFF534D42);
constexpr long smb2Magic = static_cast<long>(0xFE534D42);
constexpr long fuseMagic = 0x65735546;
constexpr unsigned long casefoldFlag = 0x40000000; // FS_CASEFOLD_FL

// Calls visit with every name of the open folder but "." and "..", through a descriptor of its own
// so the caller's stays open and at its place.
template <class Visit>
std::error_code forEachName(int folderFd, Visit&& visit)
{
    const int fd = openat(folderFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return lastError();
    }
    DIR* dir = fdopendir(fd);
    if (dir == nullptr) {
        const std::error_code error = lastError();
        close(fd);
        return error;
    }
    const std::error_code error = readFolder(dir, [&](const dirent& record) {
        const std::string_view name(record.d_name);
        if (name != "." && name != "..") {
            visit(name);
        }
        return true;
    });
    closedir(dir);
    return error;
}

std::string withLetterCaseSwapped(std::string_view name)
{
    std::string swapped(name);
    for (char& c : swapped) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        } else if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return swapped;
}

// A FUSE file system says nothing of its rules, so an entry whose name holds a letter is looked up
// under its name with the case swapped. Inode numbers cannot tell the answer apart (exfat-fuse
// gives each looked-up name a number of its own), the listing can: a swapped name that is found
// but not listed is the same entry. Nothing is written to the folder.
std::error_code probeLetterCase(int folderFd, bool& ignores)
{
    ignores = false;
    std::unordered_set<std::string> names;
    if (const std::error_code error =
            forEachName(folderFd, [&](std::string_view name) { names.emplace(name); })) {
        return error;
    }
    for (const std::string& name : names) {
        const std::string swapped = withLetterCaseSwapped(name);
        if (swapped == name) {
            continue;
        }
        if (names.contains(swapped)) {
            return {}; // two entries whose names differ only in case: case counts
        }
        struct stat other
        {};
        if (fstatat(folderFd, swapped.c_str(), &other, AT_SYMLINK_NOFOLLOW) == 0) {
            ignores = true;
            return {};
        }
        return errno == ENOENT ? std::error_code() : lastError();
    }
    return {};
}

} // namespace

std::error_code visitNames(int folderFd, const std::function<void(std::string_view)>& visit)
{
    return forEachName(folderFd, visit);
}

std::error_code ignoresLetterCase(int folderFd, bool& ignores)
{
    ignores = false;
    struct statfs info
    {};
    if (fstatfs(folderFd, &info) != 0) {
        return lastError();
    }
    const long type = static_cast<long>(info.f_type);
    if (type == MSDOS_SUPER_MAGIC || type == exfatMagic || type == cifsMagic || type == smb2Magic) {
        ignores = true;
        return {};
    }
    if (type == fuseMagic) {
        return probeLetterCase(folderFd, ignores);
    }
    unsigned long flags = 0;
    if (ioctl(folderFd, FS_IOC_GETFLAGS, &flags) == 0) {
        ignores = (flags & casefoldFlag) != 0;
    }
    return {};
}

} // namespace quorvane::platform::posix
