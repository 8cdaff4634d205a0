#include "DosAttributeReader.h"

#include <array>
#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <linux/magic.h>
#include <sys/statfs.h>
#include <sys/syscall.h>
#include <sys/xattr.h>
#include <unistd.h>

// The C library of the systems the program is built on does not name the calls Linux 6.13
// brought. Every architecture listed numbers new calls alike; elsewhere the path calls serve.
#if !defined(SYS_getxattrat) &&                                                                              \
    ((defined(__x86_64__) && !defined(__ILP32__)) || defined(__aarch64__) || defined(__i386__) ||            \
     defined(__arm__) || defined(__riscv) || defined(__powerpc64__) || defined(__s390x__))
#define SYS_getxattrat 464
#define SYS_listxattrat 465
#endif

namespace quorvane::platform::posix {

namespace {

// The kernel's struct xattr_args, which getxattrat reads where its value goes.
struct XattrArgs
{
    std::uint64_t value;
    std::uint32_t size;
    std::uint32_t flags;
};

// Learnt once for the process: the kernel, or a sandbox around the program, refuses the calls.
std::atomic<bool> relativeCallsMissing{false};

bool listsEveryUserAttribute(int folderFd)
{
    struct statfs info
    {};
    if (fstatfs(folderFd, &info) != 0) {
        return false;
    }
    switch (static_cast<unsigned long>(info.f_type)) {
    case EXT4_SUPER_MAGIC: // ext2 and ext3 too
    case XFS_SUPER_MAGIC:
    case BTRFS_SUPER_MAGIC:
    case TMPFS_MAGIC:
    case F2FS_SUPER_MAGIC:
        return true;
    default:
        // A FUSE file system's listing is whatever its program answers, and a network file
        // system's whatever the server sends: only a value read is sure.
        return false;
    }
}

} // namespace

DosAttributeReader::DosAttributeReader(int folderFd, std::string_view folderPath, Calls calls)
    : folderFd_(folderFd), path_(folderPath), store_(dosAttributeStoreOf(folderFd)),
      listsEveryAttribute_(listsEveryUserAttribute(folderFd))
{
    if (path_.empty() || path_.back() != '/') {
        path_.push_back('/');
    }
    prefixLength_ = path_.size();
#ifdef SYS_getxattrat
    relative_ = calls == Calls::RelativeToFolder && !relativeCallsMissing.load(std::memory_order_relaxed);
#else
    (void)calls;
    relative_ = false;
#endif
}

std::uint32_t DosAttributeReader::attributesOf(const char* name)
{
    if (store_ == DosAttributeStore::SambaXattr) {
        return sambaAttributesOf(name);
    }
    return readDosAttributes(store_, pathOf(name));
}

std::uint32_t DosAttributeReader::sambaAttributesOf(const char* name)
{
    if (attributesSupported_ && listsEveryAttribute_ && !listsSambaAttribute(name)) {
        return 0;
    }
    std::string value;
    int error = 0;
    if (!readWholeAttribute(
            [this, name](void* buffer, std::size_t size) { return getSambaValue(name, buffer, size); }, value,
            error)) {
        if (attributesUnsupported(error)) {
            store_ = DosAttributeStore::None;
        } else if (error == ENODATA) {
            attributesSupported_ = true;
        }
        return 0;
    }
    attributesSupported_ = true;
    return parseSambaDosAttrib(value);
}

bool DosAttributeReader::listsSambaAttribute(const char* name)
{
    std::array<char, 256> names;
    const ssize_t length = listNames(name, names.data(), names.size());
    if (length < 0) {
        return true; // more names than the buffer holds, or an error the value read reports alike
    }
    // The names follow one another, each ended by a zero byte.
    std::string_view rest(names.data(), static_cast<std::size_t>(length));
    const std::string_view wanted(sambaAttributeName);
    while (!rest.empty()) {
        const std::size_t end = rest.find('\0');
        if (rest.substr(0, end) == wanted) {
            return true;
        }
        if (end == std::string_view::npos) {
            break;
        }
        rest.remove_prefix(end + 1);
    }
    return false;
}

ssize_t DosAttributeReader::getSambaValue(const char* name, void* buffer, std::size_t size)
{
#ifdef SYS_getxattrat
    if (relative_) {
        XattrArgs args{reinterpret_cast<std::uintptr_t>(buffer), static_cast<std::uint32_t>(size), 0};
        const long length = syscall(SYS_getxattrat, folderFd_, name, AT_SYMLINK_NOFOLLOW, sambaAttributeName,
                                    &args, sizeof args);
        if (length >= 0 || !relativeCallMissing(errno)) {
            return length;
        }
    }
#endif
    return lgetxattr(pathOf(name), sambaAttributeName, buffer, size);
}

ssize_t DosAttributeReader::listNames(const char* name, char* buffer, std::size_t size)
{
#ifdef SYS_listxattrat
    if (relative_) {
        const long length = syscall(SYS_listxattrat, folderFd_, name, AT_SYMLINK_NOFOLLOW, buffer, size);
        if (length >= 0 || !relativeCallMissing(errno)) {
            return length;
        }
    }
#endif
    return llistxattr(pathOf(name), buffer, size);
}

bool DosAttributeReader::relativeCallMissing(int error)
{
    if (error == ENOSYS) {
        relative_ = false;
        relativeCallsMissing.store(true, std::memory_order_relaxed);
        return true;
    }
    // A seccomp filter may answer EPERM for a call it does not know. A read of a user attribute
    // or of the names seldom fails with it otherwise, and the path call gives the real answer
    // either way, so that answer is the one given.
    return error == EPERM;
}

const char* DosAttributeReader::pathOf(const char* name)
{
    path_.resize(prefixLength_);
    path_.append(name);
    return path_.c_str();
}

} // namespace quorvane::platform::posix
