#pragma once

#include "platform/FileSystem.h"

#include <string>
#include <string_view>
#include <system_error>

namespace quorvane::core {

// What the checks below find when a name no longer leads where the listing found it.
enum class IdentityError : int
{
    FolderChanged = 1, // the listed folder is gone, or its path leads to another folder now
    FileChanged = 2,   // the name leads to another file than the one the listing showed
};

// The error codes of IdentityError, whose texts (Japanese) the messages show like the system's.
const std::error_category& identityErrorCategory();
std::error_code makeError(IdentityError error);

// Whether folder still leads to the folder expected (any folder when expected is unknown). Gives
// the identity found there; a folder that is gone or is another one now is FolderChanged.
std::error_code checkFolder(platform::FileSystem& fileSystem, std::string_view folder,
                            const platform::FileIdentity& expected, platform::FileIdentity& found);

// Whether path still leads to the entry expected, checked just before a change: the system's error
// (ENOENT for a file that is gone), FileChanged for another file. Any entry passes when expected
// is unknown. Gives what the name leads to in found.
std::error_code checkEntry(platform::FileSystem& fileSystem, std::string_view path,
                           const platform::FileIdentity& expected, platform::EntryStamp& found);
std::error_code checkEntry(platform::FileSystem& fileSystem, std::string_view path,
                           const platform::FileIdentity& expected);

// The message of a run that changed nothing because its folder is gone or is another one now.
std::string folderChangedMessage(std::string_view folder);

} // namespace quorvane::core
