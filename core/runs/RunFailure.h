#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace quorvane::platform {
class FileSystem;
}

namespace quorvane::core {

// Failures that the runs find themselves, before or instead of asking the system.
enum class RunError : int
{
    UnusableName = 1,     // a name that would leave the folder or name the folder itself
    UnusableTime = 2,     // a chosen local time that the clock never shows
    UnreadableRecord = 3, // a snapshot entry whose times or attributes cannot be read back
};

// The error codes of RunError, whose texts (in the user's language) the failure message shows like
// the system's.
const std::error_category& runErrorCategory();
std::error_code makeError(RunError error);

// A name the runs pass to the system: not empty, not "." or "..", without "/" or a NUL byte. Any
// other name would reach outside the folder or name the folder itself.
bool isUsableName(std::string_view name);

// One file that a run or an undo could not change as planned.
struct RunFailure
{
    int row = 0;      // the file row, counted from 1
    std::string name; // the name the file had before the run
    std::error_code error;
};

// Called every few hundred files and once at the end with the files done and the files to do, so
// a window can show a progress bar. May be empty.
using RunProgress = std::function<void(std::size_t done, std::size_t total)>;

// Calls a progress callback every progressStep files and at the end, at the cost of a compare.
class ProgressTicker
{
public:
    static constexpr std::size_t progressStep = 256;

    ProgressTicker(const RunProgress& progress, std::size_t total) : progress_(progress), total_(total) {}

    void advance(std::size_t done)
    {
        if (progress_ && (done % progressStep == 0 || done == total_)) {
            progress_(done, total_);
        }
    }

private:
    const RunProgress& progress_;
    std::size_t total_;
};

// The completion message followed, when files failed, by how many could not be changed and the
// first few of their names: "\r\n\r\n次の 3 個のファイルは<what>：" and one name a line, in the
// user's language; what is worded already.
std::string withFailureList(std::string message, std::string_view what,
                            const std::vector<RunFailure>& failures);

// What a timestamp or attribute run reports back.
struct ChangeRunResult
{
    std::string message;              // the completion message with the files not changed
    std::vector<RunFailure> failures; // in row order
    // Set when the run changed nothing because its folder is gone or is another folder now; the
    // snapshot is then as it was.
    std::error_code refusal;
};

struct UndoSnapshot;

// Calls change with the full path of the file of every snapshot entry, by its before-name in the
// snapshot's folder, in order, and collects the failures. A name the system must never see fails
// without a call, and so does a name that no longer leads to the entry's file (checkEntry).
using FileChange = std::function<std::error_code(const std::string& path, std::size_t entry)>;
std::vector<RunFailure> changeEachFile(const UndoSnapshot& snapshot, platform::FileSystem& fileSystem,
                                       const RunProgress& progress, const FileChange& change);

// The message of a run that changed its files but could not flush its folder's entries to the disk.
std::string withSyncFailure(std::string message, std::error_code error);

// How many names withFailureList shows before it sums up the rest.
inline constexpr std::size_t listedFailureCount = 5;

} // namespace quorvane::core
