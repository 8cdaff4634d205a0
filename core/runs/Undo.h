#pragma once

#include "core/runs/RunFailure.h"
#include "core/runs/UndoSnapshot.h"
#include "core/text/Translation.h"
#include "platform/FileSystem.h"

#include <string>
#include <string_view>
#include <vector>

namespace quorvane::core {

inline constexpr const char* undoCompletedMessage = QT_TRANSLATE_NOOP("Runs", "変更の取り消しが完了しました");

struct UndoResult
{
    std::string message;              // the completion message with the files not restored
    std::vector<RunFailure> failures; // entries whose name or state could not be put back
};

// Reverses the run recorded in the snapshot, last entry first: renames back each file the run
// renamed, then puts back the file's exact times, permission bits and DOS bits as read when the
// snapshot was taken (the before list's texts where none were read), on whichever name the file
// now has. Every entry is tried. Empties the snapshot.
UndoResult undoLastRun(UndoSnapshot& snapshot, std::string_view folder, platform::FileSystem& fileSystem,
                       const RunProgress& progress = {});

} // namespace quorvane::core
