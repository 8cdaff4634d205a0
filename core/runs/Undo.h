#pragma once

#include "core/runs/RunFailure.h"
#include "core/runs/RunRecorder.h"
#include "core/runs/UndoSnapshot.h"
#include "core/text/Translation.h"
#include "platform/FileSystem.h"

#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace quorvane::core {

inline constexpr const char* undoCompletedMessage = QT_TRANSLATE_NOOP("Runs", "変更の取り消しが完了しました");
// An undo that changed no file says so instead of claiming completion.
inline constexpr const char* undoFailedMessage = QT_TRANSLATE_NOOP("Runs", "変更を取り消せませんでした");
inline constexpr const char* nothingToUndoMessage =
    QT_TRANSLATE_NOOP("Runs", "取り消す変更はありませんでした");

struct UndoResult
{
    std::string message;              // the completion message with the files not restored
    std::vector<RunFailure> failures; // entries whose name or state could not be put back
    // Set when the undo changed nothing because the snapshot's folder is gone or is another folder
    // now; the snapshot is then kept.
    std::error_code refusal;
};

// Reverses the run recorded in the snapshot, in the snapshot's folder, last entry first: renames
// back each file the run renamed and, after a run that set times or attributes, puts back the
// file's exact times, permission bits and DOS bits as read when the snapshot was taken (the before
// list's texts where none were read), on whichever name the file now has. A file changed since the
// run left it keeps its present state and is named, and one whose name leads to another file now,
// or to none, is not touched. Every entry is tried, the folder is flushed at the end and the
// snapshot emptied. A recorder gets the undo as a run of its own: the plan before the first change
// (names and states as the undo will leave them), the progress and the end.
UndoResult undoLastRun(UndoSnapshot& snapshot, platform::FileSystem& fileSystem,
                       const RunProgress& progress = {}, RunRecorder* recorder = nullptr);

// The undo of snapshot seen as a run of its own: each renamed entry goes from its after-name back
// to its before-name, and its state from the one the run left to the one before it.
UndoSnapshot reversed(const UndoSnapshot& snapshot);

} // namespace quorvane::core
