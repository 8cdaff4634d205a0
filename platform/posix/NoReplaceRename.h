#pragma once

#include <string>
#include <system_error>

namespace quorvane::platform::posix {

// Gives the entry at from the path to, never replacing another entry: renameat2 with
// RENAME_NOREPLACE, and where the file system refuses the flag (FUSE), renameNoReplaceByHand.
// When to names the same entry as from (an identical path, or a case-only change on a file
// system that ignores case) the rename is done as a plain one.
std::error_code renameNoReplace(const std::string& from, const std::string& to);

// The same for file systems without the flag: a hard link claims the new name of a regular file
// atomically; where there are no hard links (FAT, exFAT) and for other entries, the new name is
// checked for being free just before the rename.
std::error_code renameNoReplaceByHand(const std::string& from, const std::string& to);

} // namespace quorvane::platform::posix
