#pragma once

#include "DatesTaken.h"
#include "core/listing/FileTable.h"

#include <vector>

namespace quorvane::platform {
class SortCollator;
}

namespace quorvane::core {

// Orders the before list's file rows by when they were taken (dates, row 1 first), earliest first;
// rows taken at the same instant, and the rows of files whose content states no date (which come
// last), in the order of their names. The after list's rows move with them, as a row move moves
// them, so a planned name stays beside its file. The selections keep their row numbers.
void sortByDateTaken(FileTable& before, FileTable& after, const std::vector<RowDateTaken>& dates,
                     const platform::SortCollator& collator);

} // namespace quorvane::core
