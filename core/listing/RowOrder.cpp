#include "RowOrder.h"

#include "platform/Locale.h"

#include <utility>
#include <vector>

namespace quorvane::core {

void moveSelectionUp(FileTable& before, FileTable& after)
{
    const auto [first, last] = before.selection();
    if (first <= 1 || last >= before.rowCount() || last >= after.rowCount()) {
        return;
    }
    FileRow beforeAbove = before.row(first - 1);
    FileRow afterAbove = after.row(first - 1);
    for (int i = first; i <= last; ++i) {
        before.setRow(i - 1, before.row(i));
        after.setRow(i - 1, after.row(i));
    }
    before.setRow(last, std::move(beforeAbove));
    after.setRow(last, std::move(afterAbove));
    before.setSelection(first - 1, last - 1);
    after.setSelection(first - 1, last - 1);
}

void moveSelectionDown(FileTable& before, FileTable& after)
{
    const auto [first, last] = before.selection();
    if (last >= before.rowCount() - 1 || last + 1 >= after.rowCount()) {
        return;
    }
    FileRow beforeBelow = before.row(last + 1);
    FileRow afterBelow = after.row(last + 1);
    for (int i = last; i >= first; --i) {
        before.setRow(i + 1, before.row(i));
        after.setRow(i + 1, after.row(i));
    }
    before.setRow(first, std::move(beforeBelow));
    after.setRow(first, std::move(afterBelow));
    before.setSelection(first + 1, last + 1);
    after.setSelection(first + 1, last + 1);
}

namespace {

struct KeyedRow
{
    std::string key;
    FileRow row;
};

// The quicksort exactly as users have known it; comparisons are always against the element that
// currently stands at the pivot position P, which the exchanges carry along. The left part goes on
// a stack of its own instead of the call stack, so no input can exhaust the stack; the parts are
// disjoint, so the order in which they are sorted does not change the result.
void quickSort(std::vector<KeyedRow>& items, int lowest, int highest)
{
    const auto at = [&items](int position) -> KeyedRow& {
        return items[static_cast<std::size_t>(position)];
    };
    std::vector<std::pair<int, int>> pending{{lowest, highest}};
    while (!pending.empty()) {
        auto [lo, hi] = pending.back();
        pending.pop_back();
        for (;;) {
            int i = lo;
            int j = hi;
            int p = lo + (hi - lo) / 2;
            do {
                while (at(i).key < at(p).key) {
                    ++i;
                }
                while (at(j).key > at(p).key) {
                    --j;
                }
                if (i <= j) {
                    std::swap(at(i), at(j));
                    if (p == i) {
                        p = j;
                    } else if (p == j) {
                        p = i;
                    }
                    ++i;
                    --j;
                }
            } while (i <= j);
            if (lo < j) {
                pending.emplace_back(lo, j);
            }
            lo = i;
            if (i >= hi) {
                break;
            }
        }
    }
}

} // namespace

void gridSort(FileTable& table, int column, const platform::SortCollator& collator)
{
    const int count = table.rowCount() - 1;
    if (count < 2) {
        return;
    }
    std::vector<KeyedRow> items;
    items.reserve(static_cast<std::size_t>(count));
    for (int row = 1; row <= count; ++row) {
        items.push_back({collator.sortKey(table.cell(column, row)), table.row(row)});
    }
    quickSort(items, 0, count - 1);
    for (int row = 1; row <= count; ++row) {
        table.setRow(row, std::move(items[static_cast<std::size_t>(row - 1)].row));
    }
}

} // namespace quorvane::core
