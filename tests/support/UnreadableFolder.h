#pragma once

#include <csignal>
#include <stdexcept>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace quorvane::testing {

// A real folder that opens but fails part-way when it is read: the network folder of a process
// that has ended and is not yet reaped, which procfs answers with EINVAL at readdir. The process
// is reaped when the object goes.
class UnreadableFolder
{
public:
    UnreadableFolder()
    {
        pid_ = fork();
        if (pid_ == 0) {
            _exit(0);
        }
        if (pid_ < 0) {
            throw std::runtime_error("cannot start a process");
        }
        // Waits for the end without reaping, so that the process stays in the table.
        siginfo_t info{};
        waitid(P_PID, static_cast<id_t>(pid_), &info, WEXITED | WNOWAIT);
        path_ = "/proc/" + std::to_string(pid_) + "/net";
    }
    ~UnreadableFolder()
    {
        int status = 0;
        waitpid(pid_, &status, 0);
    }
    UnreadableFolder(const UnreadableFolder&) = delete;
    UnreadableFolder& operator=(const UnreadableFolder&) = delete;

    const std::string& path() const { return path_; }

private:
    pid_t pid_ = -1;
    std::string path_;
};

} // namespace quorvane::testing
