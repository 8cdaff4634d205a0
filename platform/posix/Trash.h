#pragma once

#include <string>
#include <system_error>

namespace quorvane::platform::posix {

// Moves the entry at path to the freedesktop.org trash of its file system through GIO, and finds
// where it went by its device and inode: GIO does not say. std::errc::operation_not_supported when
// the file system has no trash.
std::error_code moveToTrash(const std::string& path, std::string& trashedPath);

// Renames the entry at trashedPath back to path without replacing anything, then removes its
// .trashinfo record from the trash's info folder.
std::error_code restoreFromTrash(const std::string& trashedPath, const std::string& path);

} // namespace quorvane::platform::posix
