#include "DosAttributes.h"

#include "../ErrorCode.h"

#include <array>
#include <cerrno>
#include <cstdio>
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

// The whole user.DOSATTRIB value of path. False when the entry has none or it cannot be read;
// error then says why (ENODATA for none).
bool readSambaValue(const char* path, std::string& value, int& error)
{
    return readWholeAttribute(
        [path](void* buffer, std::size_t size) { return lgetxattr(path, sambaAttributeName, buffer, size); },
        value, error);
}

std::uint32_t littleEndian32(std::string_view bytes, std::size_t at)
{
    return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at])) |
           (static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 1])) << 8) |
           (static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 2])) << 16) |
           (static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 3])) << 24);
}

std::uint16_t littleEndian16(std::string_view bytes, std::size_t at)
{
    return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[at]) |
                                      (static_cast<unsigned char>(bytes[at + 1]) << 8));
}

void putLittleEndian32(std::string& bytes, std::size_t at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i) {
        bytes[at + static_cast<std::size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

constexpr std::size_t absent = std::string_view::npos;

// The binary record Samba writes after the text is its NDR encoding of the DOS information: the
// text's terminating zero, padding to an even offset, the record's version as a 16-bit number
// and again as the union's 16-bit switch, padding to a multiple of four, then the version's
// fields, all little-endian. Versions 0xFFFF and 1 begin with the attributes; versions 2 to 5
// begin with a flags word and then the attributes, and from version 3 on the flags' lowest bit
// says whether the attributes are valid.
struct SambaRecord
{
    std::size_t header = absent;     // where the version begins
    std::size_t fields = absent;     // where the version's fields begin
    std::size_t attributes = absent; // where the attributes are, when the version holds them
    std::size_t validFlags = absent; // where the flags that validate them are
};

constexpr std::uint32_t sambaAttributesValid = 0x1;

SambaRecord sambaRecordOf(std::string_view value)
{
    SambaRecord record;
    const std::size_t zero = value.find('\0');
    if (zero == absent) {
        return record;
    }
    const std::size_t header = (zero + 2) & ~std::size_t{1};
    if (header + 4 > value.size() || littleEndian16(value, header) != littleEndian16(value, header + 2)) {
        return record;
    }
    record.header = header;
    record.fields = (header + 4 + 3) & ~std::size_t{3};
    std::size_t attributes = absent;
    switch (littleEndian16(value, header)) {
    case 0xFFFF:
    case 1:
        attributes = record.fields;
        break;
    case 2:
        attributes = record.fields + 4;
        break;
    case 3:
    case 4:
    case 5:
        attributes = record.fields + 4;
        record.validFlags = record.fields;
        break;
    default:
        break;
    }
    if (attributes != absent && attributes + 4 <= value.size()) {
        record.attributes = attributes;
    } else {
        record.validFlags = absent;
    }
    return record;
}

std::uint32_t parseSambaText(std::string_view value)
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

std::error_code sambaWrite(const char* path, std::uint32_t attributes)
{
    std::string old;
    int error = 0;
    if (!readSambaValue(path, old, error) && error != ENODATA) {
        return errorFromErrno(error);
    }
    const std::string value = updateSambaDosAttrib(old, attributes);
    if (lsetxattr(path, sambaAttributeName, value.data(), value.size(), 0) != 0) {
        return lastError();
    }
    return {};
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
    return readDosStoreValue(store, path).value_or(0);
}

std::optional<std::uint32_t> readDosStoreValue(DosAttributeStore& store, const char* path)
{
    switch (store) {
    case DosAttributeStore::FatIoctl: {
        const int fd = open(path, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) {
            return std::nullopt;
        }
        __u32 attributes = 0;
        const int result = ioctl(fd, FAT_IOCTL_GET_ATTRIBUTES, &attributes);
        close(fd);
        return result == 0 ? std::optional<std::uint32_t>(attributes) : std::nullopt;
    }
    case DosAttributeStore::NtfsXattr: {
        std::array<unsigned char, 4> value{};
        if (lgetxattr(path, ntfsAttributeName, value.data(), value.size()) != 4) {
            return std::nullopt;
        }
        return (std::uint32_t{value[0]} << 24) | (std::uint32_t{value[1]} << 16) |
               (std::uint32_t{value[2]} << 8) | value[3];
    }
    case DosAttributeStore::SambaXattr: {
        std::string value;
        int error = 0;
        if (!readSambaValue(path, value, error)) {
            if (attributesUnsupported(error)) {
                store = DosAttributeStore::None;
            }
            return std::nullopt;
        }
        return parseSambaDosAttrib(value);
    }
    case DosAttributeStore::None:
        return std::nullopt;
    }
    return std::nullopt;
}

std::error_code writeDosStoreValue(DosAttributeStore store, const char* path, std::uint32_t value)
{
    switch (store) {
    case DosAttributeStore::FatIoctl: {
        const int fd = open(path, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) {
            return lastError();
        }
        __u32 attributes = value;
        std::error_code error;
        if (ioctl(fd, FAT_IOCTL_SET_ATTRIBUTES, &attributes) != 0) {
            error = lastError();
        }
        close(fd);
        return error;
    }
    case DosAttributeStore::NtfsXattr: {
        const std::array<unsigned char, 4> bytes = {
            static_cast<unsigned char>(value >> 24), static_cast<unsigned char>(value >> 16),
            static_cast<unsigned char>(value >> 8), static_cast<unsigned char>(value)};
        if (lsetxattr(path, ntfsAttributeName, bytes.data(), bytes.size(), 0) != 0) {
            return lastError();
        }
        return {};
    }
    case DosAttributeStore::SambaXattr:
        return sambaWrite(path, value);
    case DosAttributeStore::None:
        break;
    }
    return errorFromErrno(EOPNOTSUPP);
}

std::error_code removeDosStoreValue(DosAttributeStore store, const char* path)
{
    if (store != DosAttributeStore::SambaXattr) {
        return {};
    }
    if (lremovexattr(path, sambaAttributeName) != 0 && errno != ENODATA) {
        return lastError();
    }
    return {};
}

bool attributesUnsupported(int error)
{
    return error == ENOTSUP || error == EOPNOTSUPP || error == ENOSYS;
}

std::uint32_t parseSambaDosAttrib(std::string_view value)
{
    const SambaRecord record = sambaRecordOf(value);
    if (record.attributes != absent &&
        (record.validFlags == absent ||
         (littleEndian32(value, record.validFlags) & sambaAttributesValid) != 0)) {
        return littleEndian32(value, record.attributes);
    }
    return parseSambaText(value);
}

std::string updateSambaDosAttrib(std::string_view oldValue, std::uint32_t attributes)
{
    char text[16];
    const int length = std::snprintf(text, sizeof text, "0x%x", static_cast<unsigned>(attributes));
    std::string value(text, static_cast<std::size_t>(length));
    value.push_back('\0');

    const SambaRecord record = sambaRecordOf(oldValue);
    if (record.header == absent) {
        // No record that can be read: whatever follows the text stays as it was.
        const std::size_t zero = oldValue.find('\0');
        if (zero != absent) {
            value.append(oldValue.substr(zero + 1));
        }
        return value;
    }
    // The text may have changed length, so the record is laid out again with its padding; its
    // fields keep their bytes, and the attributes in it become the new ones.
    value.resize((value.size() + 1) & ~std::size_t{1}, '\0');
    value.append(oldValue.substr(record.header, 4));
    value.resize((value.size() + 3) & ~std::size_t{3}, '\0');
    const std::size_t fields = value.size();
    if (record.fields < oldValue.size()) {
        value.append(oldValue.substr(record.fields));
    }
    if (record.attributes != absent) {
        putLittleEndian32(value, fields + (record.attributes - record.fields), attributes);
    }
    if (record.validFlags != absent) {
        const std::size_t at = fields + (record.validFlags - record.fields);
        putLittleEndian32(value, at, littleEndian32(value, at) | sambaAttributesValid);
    }
    return value;
}

} // namespace quorvane::platform::posix
