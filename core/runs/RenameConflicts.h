#pragma once

#include "core/listing/FileTable.h"
#include "core/runs/RenamePlanner.h"
#include "platform/FileSystem.h"

#include <string>
#include <vector>

namespace quorvane::core {

// The rows of the plan in the after list that will fail when it is run, checked against each other
// and against the folder the before list was listed from as it is now: every entry of it the lists
// do not hold (folders and hidden files included) keeps its name. A folder that cannot be read is
// checked against the lists alone.
std::vector<RenameConflict> checkPlannedNames(const FileTable& before, const FileTable& after,
                                              platform::FileSystem& fileSystem);

// Why a marked row will fail, as its name cell's tool tip says it.
std::string conflictReason(const RenameConflict& conflict);

// How many rows are marked, as the status bar shows it: "衝突: 3 件".
std::string conflictCountText(std::size_t count);

} // namespace quorvane::core
