#pragma once

#include "FileTable.h"

#include <vector>

namespace quorvane::platform {
class SortCollator;
}

namespace quorvane::core {

// Moves the before list's selected rows one place up (down) in both lists; the row that stood
// above (below) the range ends up below (above) it, and both selections follow the range.
// Nothing happens when the range already touches the first (last) file row.
void moveSelectionUp(FileTable& before, FileTable& after);
void moveSelectionDown(FileTable& before, FileTable& after);

// Sorts the file rows of one table in ascending order of one column's text, compared by the
// collator. The quicksort is the one users have always had here, and so is the order in which it
// leaves rows with equal keys: sorting an already sorted table exchanges every pair of equal keys
// and reverses every run of three. The selection keeps its row numbers.
void gridSort(FileTable& table, int column, const platform::SortCollator& collator);

// The same sort over file rows held apart from a table, as a listing holds them before the table
// takes them.
void sortRows(std::vector<FileRow>& rows, int column, const platform::SortCollator& collator);

} // namespace quorvane::core
