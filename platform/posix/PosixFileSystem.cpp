#include "PosixFileSystem.h"

#include "../ErrorCode.h"
#include "../LargeBuffer.h"
#include "../Wildcard.h"
#include "DosAttributes.h"
#include "FolderListing.h"
#include "FolderNames.h"
#include "NoReplaceRename.h"
#include "Trash.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <linux/msdos_fs.h>
#include <optional>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <vector>

namespace quorvane::platform {

namespace {

class DirectoryStream
{
public:
    explicit DirectoryStream(DIR* dir) : dir_(dir) {}
    ~DirectoryStream()
    {
        if (dir_ != nullptr) {
            closedir(dir_);
        }
    }
    DirectoryStream(const DirectoryStream&) = delete;
    DirectoryStream& operator=(const DirectoryStream&) = delete;
    DIR* get() const { return dir_; }

private:
    DIR* dir_;
};

FileIdentity identityOf(const struct stat& info)
{
    return {static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino)};
}

std::string nullTerminated(std::string_view text)
{
    return std::string(text);
}

std::string parentOf(std::string_view path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string_view::npos) {
        return ".";
    }
    return slash == 0 ? std::string("/") : std::string(path.substr(0, slash));
}

} // namespace

std::error_code PosixFileSystem::listNames(std::string_view folder,
                                           const std::function<void(std::string_view name)>& visit)
{
    const int folderFd = open(nullTerminated(folder).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd < 0) {
        return lastError();
    }
    const std::error_code error = posix::visitNames(folderFd, visit);
    close(folderFd);
    return error;
}

std::error_code PosixFileSystem::ignoresLetterCase(std::string_view folder, bool& ignores)
{
    ignores = false;
    const int folderFd = open(nullTerminated(folder).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd < 0) {
        return lastError();
    }
    const std::error_code error = posix::ignoresLetterCase(folderFd, ignores);
    close(folderFd);
    return error;
}

std::error_code PosixFileSystem::enumerate(std::string_view folder, std::string_view pattern,
                                           std::uint32_t extraAttributes, const EntryVisitor& visit)
{
    const std::string folderPath = nullTerminated(folder);
    const int folderFd = open(folderPath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd < 0) {
        return lastError();
    }
    DIR* dir = fdopendir(folderFd);
    if (dir == nullptr) {
        const std::error_code error = lastError();
        close(folderFd);
        return error;
    }
    const DirectoryStream stream(dir);
    const WildcardPattern matcher(pattern);
    return posix::listFolder(dir, folderFd, folderPath, matcher,
                             (AttributeBit::Hidden | AttributeBit::System) & ~extraAttributes, visit);
}

std::error_code PosixFileSystem::shortName(std::string_view path, std::string& shortName)
{
    const std::string fullPath = nullTerminated(path);
    struct stat info
    {};
    if (lstat(fullPath.c_str(), &info) != 0) {
        return lastError();
    }
    const std::size_t slash = path.rfind('/');
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);

    // Only vfat keeps a separate short name; ask its driver for the entry's pair of names.
    const int folderFd = open(parentOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd >= 0) {
        struct __fat_dirent names[2];
        while (ioctl(folderFd, VFAT_IOCTL_READDIR_BOTH, names) > 0) {
            const std::string_view longName(names[1].d_name, names[1].d_reclen);
            const std::string_view shortForm(names[0].d_name, names[0].d_reclen);
            if ((longName.empty() && shortForm == name) || longName == name) {
                shortName.assign(shortForm);
                close(folderFd);
                return {};
            }
        }
        close(folderFd);
    }
    shortName.assign(name);
    return {};
}

namespace {

// Closes a descriptor when it goes out of scope.
class Descriptor
{
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor()
    {
        if (fd_ >= 0) {
            close(fd_);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    // Closes now and reports the failure of the close, which may be the first sign of a failed write.
    std::error_code closeNow()
    {
        const int fd = fd_;
        fd_ = -1;
        return close(fd) == 0 ? std::error_code() : lastError();
    }

private:
    int fd_;
};

std::error_code writeAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return lastError();
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return {};
}

} // namespace

std::error_code PosixFileSystem::readStart(std::string_view path, std::size_t limit, std::string& bytes)
{
    const Descriptor file(open(nullTerminated(path).c_str(), O_RDONLY | O_CLOEXEC));
    if (file.get() < 0) {
        bytes.clear();
        return lastError();
    }
    bytes.resize(limit);
    std::size_t filled = 0;
    while (filled < limit) {
        const ssize_t got = read(file.get(), bytes.data() + filled, limit - filled);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            bytes.clear();
            return lastError();
        }
        if (got == 0) {
            break;
        }
        filled += static_cast<std::size_t>(got);
    }
    bytes.resize(filled);
    return {};
}

std::error_code PosixFileSystem::readFile(std::string_view path, std::string& bytes)
{
    const Descriptor file(open(nullTerminated(path).c_str(), O_RDONLY | O_CLOEXEC));
    if (file.get() < 0) {
        bytes.clear();
        return lastError();
    }
    struct stat info
    {};
    if (fstat(file.get(), &info) != 0) {
        bytes.clear();
        return lastError();
    }
    if (S_ISDIR(info.st_mode)) {
        bytes.clear();
        return errorFromErrno(EISDIR);
    }
    // The size is a hint only: the file may grow or shrink while it is read. The earlier content
    // is not cleared first, so that a string reused for file after file of about one size is
    // overwritten in place instead of being filled with zeros before every read.
    const std::size_t expected = static_cast<std::size_t>(std::max<off_t>(info.st_size, 0)) + 1;
    reserveLargeBuffer(bytes, expected);
    bytes.resize(expected);
    std::size_t filled = 0;
    for (;;) {
        if (filled == bytes.size()) {
            bytes.resize(bytes.size() * 2);
        }
        const ssize_t got = read(file.get(), bytes.data() + filled, bytes.size() - filled);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            const std::error_code error = lastError();
            bytes.clear();
            return error;
        }
        if (got == 0) {
            break;
        }
        filled += static_cast<std::size_t>(got);
    }
    bytes.resize(filled);
    return {};
}

std::error_code PosixFileSystem::writeTemporaryFile(std::string_view folder, std::string_view bytes,
                                                    std::optional<std::uint32_t> permissions,
                                                    std::string& temporaryPath)
{
    static std::atomic<std::uint64_t> counter{0};
    const std::string prefix = folder == "/" ? std::string("/") : std::string(folder) + "/";
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::uint64_t unique =
            (static_cast<std::uint64_t>(getpid()) << 32) ^ (counter.fetch_add(1) * 0x9E3779B97F4A7C15ULL);
        char suffix[17];
        std::snprintf(suffix, sizeof suffix, "%016llx", static_cast<unsigned long long>(unique));
        std::string path = prefix + ".quorvane-" + suffix + ".tmp";
        // O_EXCL: a name that exists, whatever it is, is never written through. With permission bits
        // given, the file is private until it has them, so a private picture is never readable.
        Descriptor file(
            open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, permissions ? 0600 : 0666));
        if (file.get() < 0) {
            if (errno == EEXIST) {
                continue;
            }
            return lastError();
        }
        std::error_code error;
        if (permissions && fchmod(file.get(), static_cast<mode_t>(*permissions & 07777)) != 0) {
            error = lastError();
        }
        if (!error) {
            error = writeAll(file.get(), bytes);
        }
        if (!error && fsync(file.get()) != 0) {
            error = lastError();
        }
        const std::error_code closeError = file.closeNow();
        if (!error) {
            error = closeError;
        }
        if (error) {
            unlink(path.c_str());
            return error;
        }
        temporaryPath = std::move(path);
        return {};
    }
    return errorFromErrno(EEXIST);
}

std::error_code PosixFileSystem::renameReplacing(std::string_view from, std::string_view to)
{
    const std::string target = nullTerminated(to);
    struct stat info
    {};
    // Opening a read-only file for writing fails, even for a privileged user on the systems the
    // program is written for; a rename would not, so the target's write bits are checked first.
    if (lstat(target.c_str(), &info) == 0 && S_ISREG(info.st_mode) && (info.st_mode & 0222) == 0) {
        return errorFromErrno(EACCES);
    }
    if (rename(nullTerminated(from).c_str(), target.c_str()) != 0) {
        return lastError();
    }
    return {};
}

std::error_code PosixFileSystem::removeFile(std::string_view path)
{
    if (unlink(nullTerminated(path).c_str()) != 0) {
        return lastError();
    }
    return {};
}

std::error_code PosixFileSystem::moveToTrash(std::string_view path, std::string& trashedPath)
{
    return posix::moveToTrash(nullTerminated(path), trashedPath);
}

std::error_code PosixFileSystem::restoreFromTrash(std::string_view trashedPath, std::string_view path)
{
    return posix::restoreFromTrash(nullTerminated(trashedPath), nullTerminated(path));
}

std::error_code PosixFileSystem::syncFolder(std::string_view folder)
{
    Descriptor folderFd(open(nullTerminated(folder).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folderFd.get() < 0) {
        return lastError();
    }
    // EINVAL: a file system that keeps no folder to flush; its entries are as safe as they get.
    if (fsync(folderFd.get()) != 0 && errno != EINVAL) {
        return lastError();
    }
    return folderFd.closeNow();
}

std::error_code PosixFileSystem::identify(std::string_view path, EntryStamp& stamp)
{
    struct stat info
    {};
    if (lstat(nullTerminated(path).c_str(), &info) != 0) {
        return lastError();
    }
    stamp.identity = identityOf(info);
    stamp.modified = {info.st_mtim.tv_sec, static_cast<std::uint32_t>(info.st_mtim.tv_nsec)};
    stamp.mode = info.st_mode & 07777;
    return {};
}

std::error_code PosixFileSystem::identifyFolder(std::string_view path, FileIdentity& identity)
{
    struct stat info
    {};
    if (stat(nullTerminated(path).c_str(), &info) != 0) {
        return lastError();
    }
    if (!S_ISDIR(info.st_mode)) {
        return errorFromErrno(ENOTDIR);
    }
    identity = identityOf(info);
    return {};
}

std::error_code PosixFileSystem::sameEntry(std::string_view first, std::string_view second, bool& same)
{
    return posix::namesSameEntry(nullTerminated(first), nullTerminated(second), same);
}

namespace {

constexpr std::uint32_t storedBits = AttributeBit::Hidden | AttributeBit::System | AttributeBit::Archive;
constexpr mode_t writeBits = S_IWUSR | S_IWGRP | S_IWOTH;

std::string_view lastComponent(std::string_view path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

bool startsWithDot(std::string_view path)
{
    const std::string_view name = lastComponent(path);
    return !name.empty() && name.front() == '.';
}

timespec timespecOf(FileTime time)
{
    timespec result{};
    result.tv_sec = static_cast<time_t>(time.seconds);
    result.tv_nsec = static_cast<long>(time.nanoseconds);
    return result;
}

void keepFirst(std::error_code& first, std::error_code error)
{
    if (!first && error) {
        first = error;
    }
}

} // namespace

posix::DosAttributeStore PosixFileSystem::storeFor(std::string_view path, std::uint64_t device)
{
    const std::string folder = parentOf(path);
    {
        const std::lock_guard<std::mutex> lock(storeMutex_);
        if (store_ && storeDevice_ == device && storeFolder_ == folder) {
            return *store_;
        }
    }
    posix::DosAttributeStore store = posix::DosAttributeStore::SambaXattr;
    const Descriptor folderFd(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folderFd.get() >= 0) {
        store = posix::dosAttributeStoreOf(folderFd.get());
    }
    rememberStore(path, device, store);
    return store;
}

void PosixFileSystem::rememberStore(std::string_view path, std::uint64_t device,
                                    posix::DosAttributeStore store)
{
    const std::lock_guard<std::mutex> lock(storeMutex_);
    storeFolder_ = parentOf(path);
    storeDevice_ = device;
    store_ = store;
}

std::optional<std::uint32_t> PosixFileSystem::readStoreValue(std::string_view path, std::uint64_t device,
                                                             posix::DosAttributeStore& store)
{
    const posix::DosAttributeStore asked = store;
    const std::optional<std::uint32_t> value = posix::readDosStoreValue(store, nullTerminated(path).c_str());
    if (store != asked) {
        rememberStore(path, device, store); // no extended attributes here after all
    }
    return value;
}

std::error_code PosixFileSystem::renameNoReplace(std::string_view from, std::string_view to)
{
    return posix::renameNoReplace(nullTerminated(from), nullTerminated(to));
}

std::error_code PosixFileSystem::setTimes(std::string_view path, std::optional<FileTime> accessed,
                                          std::optional<FileTime> modified)
{
    const auto timespecOrKept = [](const std::optional<FileTime>& time) {
        timespec kept{};
        kept.tv_nsec = UTIME_OMIT;
        return time ? timespecOf(*time) : kept;
    };
    const timespec times[2] = {timespecOrKept(accessed), timespecOrKept(modified)};
    if (utimensat(AT_FDCWD, nullTerminated(path).c_str(), times, AT_SYMLINK_NOFOLLOW) != 0) {
        return lastError();
    }
    return {};
}

std::error_code PosixFileSystem::setAttributes(std::string_view path, std::uint32_t attributes)
{
    const std::string fullPath = nullTerminated(path);
    struct stat info
    {};
    if (lstat(fullPath.c_str(), &info) != 0) {
        return lastError();
    }
    const bool link = S_ISLNK(info.st_mode);
    const bool readOnly = (attributes & AttributeBit::ReadOnly) != 0;
    const bool dotHidden = startsWithDot(path);
    std::error_code first;

    // Hidden, system and archive first: on vfat the store's read-only bit also decides the write
    // bits, which are looked at afterwards.
    posix::DosAttributeStore store = storeFor(path, info.st_dev);
    const std::optional<std::uint32_t> current = readStoreValue(path, info.st_dev, store);
    if (store == posix::DosAttributeStore::None) {
        const std::uint32_t has = dotHidden ? std::uint32_t{AttributeBit::Hidden} : 0;
        if ((attributes & storedBits) != has) {
            keepFirst(first, errorFromErrno(EOPNOTSUPP));
        }
    } else {
        const std::uint32_t old = current.value_or(0);
        // vfat keeps read-only among its own bits and shows it in the write bits, so its stored
        // copy must say what is wanted; Samba keeps a copy that should agree with the write bits.
        // NTFS keeps its own read-only bit apart from the permission bits and it is left alone.
        const bool storedChange = (old & storedBits) != (attributes & storedBits);
        const bool managesReadOnly =
            !link && (store == posix::DosAttributeStore::FatIoctl ||
                      (store == posix::DosAttributeStore::SambaXattr && (current || storedChange)));
        const std::uint32_t managed =
            storedBits | (managesReadOnly ? std::uint32_t{AttributeBit::ReadOnly} : 0u);
        const std::uint32_t wanted = (old & ~managed) | (attributes & managed);
        if (wanted != old) {
            keepFirst(first, posix::writeDosStoreValue(store, fullPath.c_str(), wanted));
        }
    }
    if (dotHidden && (attributes & AttributeBit::Hidden) == 0) {
        keepFirst(first, errorFromErrno(EPERM)); // the name itself hides the file
    }

    if (link) {
        // A symbolic link has no permission bits of its own and is never read-only.
        if (readOnly) {
            keepFirst(first, errorFromErrno(EOPNOTSUPP));
        }
        return first;
    }
    if (lstat(fullPath.c_str(), &info) != 0) {
        keepFirst(first, lastError());
        return first;
    }
    const mode_t mode = info.st_mode & 07777;
    mode_t wantedMode = mode;
    if (readOnly) {
        wantedMode = mode & ~writeBits;
    } else if ((mode & writeBits) == 0) {
        wantedMode = mode | S_IWUSR;
    }
    if (wantedMode != mode) {
        if (chmod(fullPath.c_str(), wantedMode) != 0) {
            keepFirst(first, lastError());
        } else if (lstat(fullPath.c_str(), &info) == 0 && ((info.st_mode & writeBits) == 0) != readOnly) {
            // Some file systems accept the change and keep the bits as they were.
            keepFirst(first, errorFromErrno(EOPNOTSUPP));
        }
    }
    return first;
}

std::error_code PosixFileSystem::readState(std::string_view path, FileState& state)
{
    const std::string fullPath = nullTerminated(path);
    struct stat info
    {};
    if (lstat(fullPath.c_str(), &info) != 0) {
        return lastError();
    }
    state.modified = {info.st_mtim.tv_sec, static_cast<std::uint32_t>(info.st_mtim.tv_nsec)};
    state.accessed = {info.st_atim.tv_sec, static_cast<std::uint32_t>(info.st_atim.tv_nsec)};
    state.mode = info.st_mode & 07777;
    state.identity = identityOf(info);
    posix::DosAttributeStore store = storeFor(path, info.st_dev);
    state.dosAttributes = readStoreValue(path, info.st_dev, store);
    return {};
}

std::error_code PosixFileSystem::restoreState(std::string_view path, const FileState& state)
{
    const std::string fullPath = nullTerminated(path);
    struct stat info
    {};
    if (lstat(fullPath.c_str(), &info) != 0) {
        return lastError();
    }
    std::error_code first;

    // The store before the permission bits, since on vfat its read-only bit moves them.
    posix::DosAttributeStore store = storeFor(path, info.st_dev);
    const std::optional<std::uint32_t> current = readStoreValue(path, info.st_dev, store);
    if (current != state.dosAttributes) {
        if (state.dosAttributes) {
            keepFirst(first, posix::writeDosStoreValue(store, fullPath.c_str(), *state.dosAttributes));
        } else {
            keepFirst(first, posix::removeDosStoreValue(store, fullPath.c_str()));
        }
    }

    if (!S_ISLNK(info.st_mode)) {
        if (lstat(fullPath.c_str(), &info) != 0) {
            keepFirst(first, lastError());
        } else if ((info.st_mode & 07777) != state.mode && chmod(fullPath.c_str(), state.mode) != 0) {
            keepFirst(first, lastError());
        }
    }

    // The times last: nothing after them may touch the file.
    keepFirst(first, setTimes(path, state.accessed, state.modified));
    return first;
}

} // namespace quorvane::platform
