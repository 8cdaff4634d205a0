#pragma once

#include "../FileSystem.h"
#include "../Wildcard.h"

#include <cstdint>
#include <dirent.h>
#include <string_view>
#include <system_error>

namespace quorvane::platform::posix {

// Lists one open folder for FileSystem::enumerate: every entry that is not a folder, whose name
// matches the pattern and which carries no excluded bit, visited in the system's order on the
// calling thread.
//
// readdir is cheap; the statx and extended-attribute calls per entry are the cost. On a large
// folder they are spread over the machine's cores while the folder is still being read: the
// names are handed out in chunks as readdir returns them, and the calling thread, once it has
// read the folder, examines chunks too and visits the examined ones in order between its own.
std::error_code listFolder(DIR* dir, int folderFd, std::string_view folderPath,
                           const WildcardPattern& matcher, std::uint32_t excluded, const EntryVisitor& visit);

} // namespace quorvane::platform::posix
