#pragma once

#include <array>
#include <cerrno>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <system_error>

namespace quorvane::platform::posix {

inline constexpr const char* sambaAttributeName = "user.DOSATTRIB";

// Where a folder's file system keeps the DOS hidden, system and archive bits.
enum class DosAttributeStore
{
    FatIoctl,   // the vfat driver's FAT_IOCTL_GET/SET_ATTRIBUTES
    NtfsXattr,  // ntfs-3g's system.ntfs_attrib_be
    SambaXattr, // Samba's user.DOSATTRIB
    None,       // the file system stores none of them
};

// Chooses the store from the file system of an open folder.
DosAttributeStore dosAttributeStoreOf(int folderFd);

// The DOS bits (Hidden, System, Archive, ReadOnly as stored) of the entry at path, or 0 when the
// file carries none. The store becomes None in place when the file system turns out to support
// no extended attributes, so a folder asks at most once.
std::uint32_t readDosAttributes(DosAttributeStore& store, const char* path);

// The raw value of the entry's DOS store: every bit the store keeps, not only the four the program
// shows. Empty when the entry carries none (no Samba attribute yet, or the store cannot be read
// for it). Like readDosAttributes, it turns the store into None when extended attributes turn out
// to be unsupported.
std::optional<std::uint32_t> readDosStoreValue(DosAttributeStore& store, const char* path);

// Writes value as the entry's whole DOS store value. For Samba's attribute, the bits are written
// into the value already there (see updateSambaDosAttrib), so the rest of it survives.
std::error_code writeDosStoreValue(DosAttributeStore store, const char* path, std::uint32_t value);

// Removes Samba's attribute from the entry; the other stores always hold a value and are left.
std::error_code removeDosStoreValue(DosAttributeStore store, const char* path);

// Whether a failed extended-attribute call says that the file system keeps none at all.
bool attributesUnsupported(int error);

// Reads a whole extended attribute value through get(buffer, size), a call that behaves as
// lgetxattr does for one entry and one name. False when the entry has none or it cannot be read;
// error then says why (ENODATA for none).
template <class Get>
bool readWholeAttribute(Get&& get, std::string& value, int& error)
{
    // Most values are short: one call into a small buffer reads them, as a listing of many files
    // needs; only a longer value asks for its size first.
    std::array<char, 256> small{};
    const ssize_t smallLength = get(small.data(), small.size());
    if (smallLength >= 0) {
        value.assign(small.data(), static_cast<std::size_t>(smallLength));
        return true;
    }
    if (errno != ERANGE) {
        error = errno;
        return false;
    }
    for (int attempt = 0; attempt < 4; ++attempt) {
        const ssize_t size = get(nullptr, 0);
        if (size < 0) {
            error = errno;
            return false;
        }
        value.resize(static_cast<std::size_t>(size));
        const ssize_t length = get(value.data(), value.size());
        if (length >= 0) {
            value.resize(static_cast<std::size_t>(length));
            return true;
        }
        if (errno != ERANGE) { // ERANGE: the value grew between the two calls
            error = errno;
            return false;
        }
    }
    error = ERANGE;
    return false;
}

// Reads the attributes of a user.DOSATTRIB value: the hexadecimal text at its start ("0x20", NUL
// terminated), or, when the binary record that follows it holds them, the record's copy, which
// is the one Samba itself reads (and the only one where Samba writes an empty text). Returns 0
// for a value it cannot read.
std::uint32_t parseSambaDosAttrib(std::string_view value);

// The user.DOSATTRIB value that carries attributes in place of those of oldValue: the text
// becomes "0x%x", and a binary record that holds the attributes gets them too, every other byte
// of it kept. A record of a kind that does not hold them is kept as it is.
std::string updateSambaDosAttrib(std::string_view oldValue, std::uint32_t attributes);

} // namespace quorvane::platform::posix
