#pragma once

#include "core/listing/FileTable.h"
#include "core/runs/RunFailure.h"
#include "core/runs/RunRecorder.h"
#include "core/runs/UndoSnapshot.h"
#include "core/text/Translation.h"
#include "platform/FileSystem.h"

#include <functional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace quorvane::core {

// The user's answer to a question of a run; Closed is the box closed without either button.
enum class Answer
{
    Yes,
    No,
    Closed,
};

// Shows a failure message and gives the answer back; the window shows it in an error box.
using FailureQuestion = std::function<Answer(const std::string& message)>;

inline constexpr const char* renameCompletedMessage = QT_TRANSLATE_NOOP("Runs", "リネームが完了しました");

struct RenameRunResult
{
    std::string message;              // the completion message; empty when rolled back
    bool rolledBack = false;          // the user answered Yes to a failure
    std::vector<RunFailure> failures; // the renames that failed, in row order
    // The renames of the rollback that failed, leaving a file under its new name.
    std::vector<RunFailure> rollbackFailures;
    // Files that someone else's change left under a temporary name of the run, by that name:
    // neither their new nor their own name could be given back. The undo can still do it. Empty
    // unless the folder changed during the run.
    std::vector<RunFailure> strandedFiles;
    // Set when the run renamed nothing because its folder is gone or is another one now; message
    // then says so.
    std::error_code refusal;
};

// The failure question: the error's text, a blank line, the two bare names, a blank line and the
// question, every line ending in CR LF.
std::string renameFailureMessage(const std::string& errorText, std::string_view beforeName,
                                 std::string_view afterName);

// The message followed by the files left under a temporary name, by that name.
std::string withStrandedFiles(std::string message, const std::vector<RunFailure>& stranded);

// Takes a snapshot of both lists, then renames the file of every before-list row to the name in
// the same row of the after list, never replacing another file, and flushes the folder at the end.
// The renames go in an order that never needs a name another row still holds: chains last link
// first, cycles through one temporary name (planRenames); rows that keep their name are not
// touched. A name that is not usable (isUsableName) fails its row without reaching the system, and
// so does a name that no longer leads to the file the row was listed with. Each failure is put to
// the question: Yes renames back, last first, exactly the renames of this run that succeeded,
// temporary ones included, and ends the run; No or Closed goes on, and a cycle that cannot close
// gives its files their own names back. The run's snapshot
// replaces the given one when the run completes, and after a rollback only when files stayed
// renamed, holding just those; a complete rollback leaves the earlier undo as it was. Nothing is
// renamed when folder is gone or is not the folder the before list was listed from. A recorder
// gets the plan before the first rename, the progress, and what the run left at its end.
RenameRunResult runRenames(const FileTable& before, const FileTable& after, std::string_view folder,
                           platform::FileSystem& fileSystem, UndoSnapshot& snapshot,
                           const FailureQuestion& question, const RunProgress& progress = {},
                           RunRecorder* recorder = nullptr);

} // namespace quorvane::core
