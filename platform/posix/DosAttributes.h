#pragma once

#include <cstdint>
#include <string_view>

namespace quorvane::platform::posix {

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

// Reads the hexadecimal attribute text at the start of a user.DOSATTRIB value ("0x20", NUL
// terminated, possibly followed by a binary record). Returns 0 for a value it cannot read.
std::uint32_t parseSambaDosAttrib(std::string_view value);

} // namespace quorvane::platform::posix
