#pragma once

#include <string>
#include <string_view>
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

// Whether to, which exists, is the very entry from under another spelling: the same device and
// inode, or on a file system that ignores case (where FUSE file systems such as exfat-fuse give one
// file another inode number under each spelling) a name that folds like from's and is not spelled
// so in the folder. A second hard link of the file is a different entry. A failure to read the
// folder is returned, never taken for an answer.
std::error_code namesSameEntry(const std::string& from, const std::string& to, bool& same);

// Whether the open folder holds an entry spelled exactly name, read from the folder's start.
std::error_code folderHoldsExactly(int folderFd, std::string_view name, bool& holds);

} // namespace quorvane::platform::posix
