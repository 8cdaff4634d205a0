#include "NoReplaceRename.h"

#include "../ErrorCode.h"
#include "../Utf8.h"
#include "FolderReading.h"

#include <cerrno>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quorvane::platform::posix {

namespace {

std::string_view folderOf(std::string_view path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? std::string_view(".") : path.substr(0, slash + 1);
}

std::string_view nameOf(std::string_view path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::error_code plainRename(const std::string& from, const std::string& to)
{
    if (rename(from.c_str(), to.c_str()) != 0) {
        return lastError();
    }
    return {};
}

// The rename for a new name that exists: a plain rename when it is the same entry as from.
std::error_code renameOntoExisting(const std::string& from, const std::string& to)
{
    bool same = false;
    if (const std::error_code error = namesSameEntry(from, to, same)) {
        return error;
    }
    return same ? plainRename(from, to) : errorFromErrno(EEXIST);
}

// Looks first, then renames. Another program could create the name between the two steps;
// where the file system offers nothing atomic, nothing better exists.
std::error_code checkThenRename(const std::string& from, const std::string& to)
{
    struct stat target
    {};
    if (lstat(to.c_str(), &target) == 0) {
        return renameOntoExisting(from, to);
    }
    if (errno != ENOENT) {
        return lastError();
    }
    return plainRename(from, to);
}

bool noHardLinks(int error)
{
    return error == EPERM || error == EOPNOTSUPP || error == ENOTSUP || error == ENOSYS || error == EMLINK;
}

} // namespace

std::error_code renameNoReplace(const std::string& from, const std::string& to)
{
    if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
        return {};
    }
    const int error = errno;
    if (error == EEXIST) {
        return renameOntoExisting(from, to);
    }
    if (error == EINVAL || error == ENOSYS) {
        // FUSE file systems (ntfs-3g, exfat-fuse, fusefat) refuse the flag.
        return renameNoReplaceByHand(from, to);
    }
    return errorFromErrno(error);
}

std::error_code renameNoReplaceByHand(const std::string& from, const std::string& to)
{
    struct stat source
    {};
    if (lstat(from.c_str(), &source) != 0) {
        return lastError();
    }
    if (!S_ISREG(source.st_mode)) {
        return checkThenRename(from, to);
    }
    if (link(from.c_str(), to.c_str()) != 0) {
        const int error = errno;
        if (error == EEXIST) {
            return renameOntoExisting(from, to);
        }
        return noHardLinks(error) ? checkThenRename(from, to) : errorFromErrno(error);
    }
    if (unlink(from.c_str()) != 0) {
        const std::error_code error = lastError();
        unlink(to.c_str()); // the file keeps its old name only
        return error;
    }
    return {};
}

std::error_code folderHoldsExactly(int folderFd, std::string_view name, bool& holds)
{
    holds = false;
    const int copy = dup(folderFd);
    if (copy < 0) {
        return lastError();
    }
    DIR* dir = fdopendir(copy);
    if (dir == nullptr) {
        const std::error_code error = lastError();
        close(copy);
        return error;
    }
    rewinddir(dir);
    const std::error_code error = readFolder(dir, [&](const dirent& record) {
        holds = name == record.d_name;
        return !holds;
    });
    closedir(dir);
    return error;
}

std::error_code namesSameEntry(const std::string& from, const std::string& to, bool& same)
{
    same = from == to;
    if (same) {
        return {};
    }
    struct stat source
    {};
    struct stat target
    {};
    if (lstat(from.c_str(), &source) != 0 || lstat(to.c_str(), &target) != 0) {
        return lastError();
    }
    const bool sameInode = source.st_dev == target.st_dev && source.st_ino == target.st_ino;
    if (sameInode && (S_ISDIR(source.st_mode) || source.st_nlink <= 1)) {
        same = true;
        return {};
    }
    // A change of letter case only: the name is the same entry when the folder has no entry
    // spelled exactly like it, so that looking it up found from by ignoring case. The inode alone
    // cannot say on FUSE file systems that number each spelling apart.
    if (source.st_dev != target.st_dev || folderOf(from) != folderOf(to) ||
        simpleCaseFolded(nameOf(from)) != simpleCaseFolded(nameOf(to))) {
        return {};
    }
    const int folderFd = open(std::string(folderOf(to)).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd < 0) {
        return lastError();
    }
    bool spelledSo = false;
    const std::error_code error = folderHoldsExactly(folderFd, nameOf(to), spelledSo);
    close(folderFd);
    same = !error && !spelledSo;
    return error;
}

} // namespace quorvane::platform::posix
