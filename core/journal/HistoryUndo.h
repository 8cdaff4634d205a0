#pragma once

#include "core/journal/Journal.h"
#include "core/runs/Undo.h"

#include <optional>
#include <string>

namespace quorvane::core {

// Undoes the recorded run id, as the undo of the last run does: every file still as the run left it
// goes back (names through the planner, then times, permission bits and DOS bits); a file changed
// since keeps its state and is named. The undo is recorded as a run of its own, and the run marked
// undone, or partly undone when files stayed. Refused, changing nothing, for an undo, a run undone
// already, a run that cannot be undone, one whose record cannot be read, and a run whose files a
// later run changed again that is not undone: the refusal names that later run.
UndoResult undoRecordedRun(Journal& journal, std::int64_t id, platform::FileSystem& fileSystem,
                           const RunProgress& progress = {});

// Why the recorded run id cannot be undone, as undoRecordedRun would refuse it before touching a
// file; nothing when it can. The window asks this before it asks the user to confirm.
std::optional<std::string> undoRefusal(Journal& journal, std::int64_t id);

// "<date and time> <kind>": how a message names a run.
std::string runTitle(const RunSummary& run);

} // namespace quorvane::core
