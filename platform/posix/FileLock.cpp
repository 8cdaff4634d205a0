#include "FileLock.h"

#include "platform/ErrorCode.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#include <utility>

namespace quorvane::platform {

FileLock::~FileLock()
{
    if (fd_ >= 0) {
        close(fd_);
    }
}

FileLock::FileLock(FileLock&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}

FileLock& FileLock::operator=(FileLock&& other) noexcept
{
    if (this != &other) {
        if (fd_ >= 0) {
            close(fd_);
        }
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

std::error_code FileLock::acquire(const std::string& path)
{
    const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        return lastError();
    }
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const std::error_code error = lastError();
        close(fd);
        return error;
    }
    if (fd_ >= 0) {
        close(fd_);
    }
    fd_ = fd;
    return {};
}

} // namespace quorvane::platform
