#pragma once

#include "core/journal/Journal.h"
#include "core/journal/Recovery.h"
#include "core/runs/Undo.h"
#include "platform/FileSystem.h"

#include <cstdint>

namespace quorvane::core {

// Undoes the recorded conversion run id: each new file still as the run left it (the same
// identity, size and modification time) is removed, a file it replaced comes back from the trash,
// and each source the run moved to the trash is put back under its name, never over another file.
// A new file changed since stays and is named, as is a source whose name is taken now or that is
// gone from the trash. The undo is recorded as a run of its own and the run marked undone, or
// partly undone when files stayed. The checks that can refuse an undo are undoRecordedRun's.
UndoResult undoConversion(Journal& journal, std::int64_t id, platform::FileSystem& fileSystem);

// Recovers the unfinished run id that holds images: a conversion or the undo of one. Putting a
// conversion back removes the new files whose identity the run noted, brings back the files it
// moved to the trash and moves the run's leftover temporary files to the trash; finishing it keeps
// every converted file and every source still in the folder. A source the run did not convert is
// never touched. The undo of a conversion can only be finished, whichever the choice: the new files
// it removed are gone.
RecoveryResult recoverConversion(Journal& journal, const RunSummary& run, RecoveryChoice choice,
                                 platform::FileSystem& fileSystem);

} // namespace quorvane::core
