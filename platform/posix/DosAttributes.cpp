#include "DosAttributes.h"

#include <array>
#include <cerrno>
#include <fcntl.h>
#include <linux/magic.h>
#include <linux/msdos_fs.h>
#include <sys/ioctl.h>
#include <sys/statfs.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace quorvane::platform::posix {

namespace {

constexpr long fuseSuperMagic = 0x65735546;
constexpr const char* ntfsAttributeName = "system.ntfs_attrib_be";
constexpr const char* sambaAttributeName = "user.DOSATTRIB";

bool unsupported(int error)
{
    return error == ENOTSUP || error == EOPNOTSUPP || error == ENOSYS;
}

std::uint32_t readSamba(DosAttributeStore& store, const char* path)
{
    std::array<char, 256> value{};
    const ssize_t length = lgetxattr(path, sambaAttributeName, value.data(), value.size());
    if (length < 0) {
        if (unsupported(errno)) {
            store = DosAttributeStore::None;
        }
        return 0;
    }
    return parseSambaDosAttrib(std::string_view(value.data(), static_cast<std::size_t>(length)));
}

} // namespace

DosAttributeStore dosAttributeStoreOf(int folderFd)
{
    struct statfs info
    {};
    if (fstatfs(folderFd, &info) != 0) {
        return DosAttributeStore::SambaXattr;
    }
    if (info.f_type == MSDOS_SUPER_MAGIC) {
        return DosAttributeStore::FatIoctl;
    }
    if (info.f_type == fuseSuperMagic) {
        // ntfs-3g gives every entry, the folder included, its attribute; other FUSE file systems
        // have none and may carry Samba's instead.
        std::array<unsigned char, 4> value{};
        if (fgetxattr(folderFd, ntfsAttributeName, value.data(), value.size()) == 4) {
            return DosAttributeStore::NtfsXattr;
        }
    }
    return DosAttributeStore::SambaXattr;
}

std::uint32_t readDosAttributes(DosAttributeStore& store, const char* path)
{
    switch (store) {
    case DosAttributeStore::FatIoctl: {
        const int fd = open(path, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) {
            return 0;
        }
        __u32 attributes = 0;
        const int result = ioctl(fd, FAT_IOCTL_GET_ATTRIBUTES, &attributes);
        close(fd);
        return result == 0 ? attributes : 0;
    }
    case DosAttributeStore::NtfsXattr: {
        std::array<unsigned char, 4> value{};
        const ssize_t length = lgetxattr(path, ntfsAttributeName, value.data(), value.size());
        if (length != 4) {
            return 0;
        }
        return (std::uint32_t{value[0]} << 24) | (std::uint32_t{value[1]} << 16) |
               (std::uint32_t{value[2]} << 8) | value[3];
    }
    case DosAttributeStore::SambaXattr:
        return readSamba(store, path);
    case DosAttributeStore::None:
        return 0;
    }
    return 0;
}

std::uint32_t parseSambaDosAttrib(std::string_view value)
{
    const std::size_t end = value.find('\0');
    std::string_view text = value.substr(0, end);
    if (text.size() < 3 || text[0] != '0' || (text[1] != 'x' && text[1] != 'X')) {
        return 0;
    }
    std::uint32_t attributes = 0;
    for (std::size_t i = 2; i < text.size() && i < 10; ++i) {
        const char c = text[i];
        std::uint32_t digit;
        if (c >= '0' && c <= '9') {
            digit = static_cast<std::uint32_t>(c - '0');
        } else if (c >= 'a' && c <= 'f') {
            digit = static_cast<std::uint32_t>(c - 'a' + 10);
        } else if (c >= 'A' && c <= 'F') {
            digit = static_cast<std::uint32_t>(c - 'A' + 10);
        } else {
            return 0;
        }
        attributes = (attributes << 4) | digit;
    }
    return attributes;
}

} // namespace quorvane::platform::posix
