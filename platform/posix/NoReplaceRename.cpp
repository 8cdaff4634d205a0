#include "NoReplaceRename.h"

#include "../ErrorCode.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <string_view>
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

char asciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool equalIgnoringAsciiCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return asciiLower(x) == asciiLower(y); });
}

// Whether the folder holds an entry spelled exactly name.
bool folderHoldsExactly(std::string_view folder, std::string_view name)
{
    DIR* dir = opendir(std::string(folder).c_str());
    if (dir == nullptr) {
        return true; // when in doubt, the name is taken
    }
    bool found = false;
    while (const dirent* record = readdir(dir)) {
        if (name == record->d_name) {
            found = true;
            break;
        }
    }
    closedir(dir);
    return found;
}

// Whether to, which exists, is the very entry from under another spelling. A second hard link of
// the same file under another name is a different entry and is never renamed over.
bool namesSameEntry(const std::string& from, const std::string& to)
{
    if (from == to) {
        return true;
    }
    struct stat source
    {};
    struct stat target
    {};
    if (lstat(from.c_str(), &source) != 0 || lstat(to.c_str(), &target) != 0) {
        return false;
    }
    const bool sameInode = source.st_dev == target.st_dev && source.st_ino == target.st_ino;
    if (sameInode && (S_ISDIR(source.st_mode) || source.st_nlink <= 1)) {
        return true;
    }
    // A case-only change: the name is the same entry when the folder has no entry spelled
    // exactly like it, so that looking it up found from by ignoring case. FUSE file systems such
    // as exfat-fuse give one file a different inode number under each spelling, so the inode
    // alone cannot say.
    if (source.st_dev != target.st_dev || folderOf(from) != folderOf(to) ||
        !equalIgnoringAsciiCase(nameOf(from), nameOf(to))) {
        return false;
    }
    return !folderHoldsExactly(folderOf(to), nameOf(to));
}

std::error_code plainRename(const std::string& from, const std::string& to)
{
    if (rename(from.c_str(), to.c_str()) != 0) {
        return lastError();
    }
    return {};
}

// Looks first, then renames. Another program could create the name between the two steps;
// where the file system offers nothing atomic, nothing better exists.
std::error_code checkThenRename(const std::string& from, const std::string& to)
{
    struct stat target
    {};
    if (lstat(to.c_str(), &target) == 0) {
        if (!namesSameEntry(from, to)) {
            return errorFromErrno(EEXIST);
        }
    } else if (errno != ENOENT) {
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
        return namesSameEntry(from, to) ? plainRename(from, to) : errorFromErrno(EEXIST);
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
            return namesSameEntry(from, to) ? plainRename(from, to) : errorFromErrno(EEXIST);
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

} // namespace quorvane::platform::posix
