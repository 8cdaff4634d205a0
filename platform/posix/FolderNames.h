#pragma once

#include <functional>
#include <string_view>
#include <system_error>

namespace quorvane::platform::posix {

// Calls visit with the name of every entry of the open folder, folders and hidden entries
// included, "." and ".." left out. A read error ends the walk and is returned.
std::error_code visitNames(int folderFd, const std::function<void(std::string_view)>& visit);

// Whether the file system of the open folder calls two names that differ only in letter case the
// same name: vfat, exFAT and SMB mounts, ext4 folders with the casefold flag, and FUSE file systems
// where an entry answers to its name with the letter case swapped.
std::error_code ignoresLetterCase(int folderFd, bool& ignores);

} // namespace quorvane::platform::posix
