#pragma once

#include "../ErrorCode.h"

#include <cerrno>
#include <dirent.h>
#include <system_error>

namespace quorvane::platform::posix {

// Calls visit with every record of an open folder stream, in the system's order, until visit
// returns false. A failed readdir ends the reading with its error, so a folder read part-way is
// never taken for the whole folder.
template <class Visit>
std::error_code readFolder(DIR* dir, Visit&& visit)
{
    for (;;) {
        errno = 0;
        const dirent* record = readdir(dir);
        if (record == nullptr) {
            return errno == 0 ? std::error_code() : lastError();
        }
        if (!visit(*record)) {
            return {};
        }
    }
}

} // namespace quorvane::platform::posix
