#pragma once

#include <string>
#include <system_error>

namespace quorvane::platform {

// An exclusive lock on a file that only one process holds at a time, released when the lock goes
// or the process ends in any way (a crash or a kill included).
class FileLock
{
public:
    FileLock() = default;
    ~FileLock();
    FileLock(FileLock&& other) noexcept;
    FileLock& operator=(FileLock&& other) noexcept;

    // Creates the file at path when missing and locks it without waiting: EWOULDBLOCK when another
    // process holds the lock.
    std::error_code acquire(const std::string& path);

private:
    int fd_ = -1;
};

} // namespace quorvane::platform
