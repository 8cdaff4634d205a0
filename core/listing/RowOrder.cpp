#include "RowOrder.h"

#include "platform/Locale.h"

#include <algorithm>
#include <cstdint>
#include <string_view>
#include <system_error>
#include <thread>
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

// A row's sort key, as a place in one of the key buffers, and the row's index. The key's first
// eight bytes are kept once more as one big-endian number, zeros after a shorter key, which
// decides most comparisons without a call to memcmp.
struct KeyedIndex
{
    std::uint64_t head;
    std::string_view key;
    std::uint32_t index;
};

KeyedIndex keyedIndex(std::string_view key, std::uint32_t index)
{
    std::uint64_t head = 0;
    for (std::size_t k = 0; k < sizeof head; ++k) {
        head = (head << 8) | (k < key.size() ? static_cast<unsigned char>(key[k]) : 0u);
    }
    return {head, key, index};
}

// Orders as the keys do: where the heads differ at a byte, both keys have that byte, or the one
// that ends there is the shorter, with the rest alike, and sorts first either way.
bool sortsBefore(const KeyedIndex& a, const KeyedIndex& b)
{
    return a.head != b.head ? a.head < b.head : a.key < b.key;
}

// Below this many rows per thread one thread computes every key: a thread costs more than it saves.
constexpr std::size_t keysPerThread = 8192;
constexpr unsigned maxKeyThreads = 4;

// The sort keys of one column of rows. A key costs a pass through the collator and the rows are
// independent, so the keys of many rows are computed by several threads, each on its own range and
// into a buffer of its own, which keeps the keys of neighbouring rows together in memory.
class SortKeys
{
public:
    SortKeys(const std::vector<FileRow>& rows, int column, const platform::SortCollator& collator)
        : items_(rows.size())
    {
        const std::size_t count = rows.size();
        // The short keys order as the full ones do, but only among themselves.
        const bool simple = std::all_of(rows.begin(), rows.end(), [&](const FileRow& row) {
            return collator.simplyOrdered(row[column]);
        });
        const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
        const std::size_t threads =
            std::max<std::size_t>(1, std::min<std::size_t>({cores, maxKeyThreads, count / keysPerThread}));
        const std::size_t chunk = (count + threads - 1) / threads;
        buffers_.resize(threads);
        const auto computeRange = [&](std::size_t range) {
            const std::size_t first = range * chunk;
            const std::size_t last = std::min(count, first + chunk);
            std::string& buffer = buffers_[range];
            // A file name's key rarely needs more than this; the buffer grows when one does.
            buffer.reserve((last - first) * 128);
            std::vector<std::size_t> ends;
            ends.reserve(last - first);
            for (std::size_t k = first; k < last; ++k) {
                if (simple) {
                    collator.appendSimpleSortKey(rows[k][column], buffer);
                } else {
                    collator.appendSortKey(rows[k][column], buffer);
                }
                ends.push_back(buffer.size());
            }
            // The buffer no longer grows: its keys can be pointed at.
            std::size_t start = 0;
            for (std::size_t k = first; k < last; ++k) {
                const std::size_t end = ends[k - first];
                items_[k] = keyedIndex(std::string_view(buffer).substr(start, end - start),
                                       static_cast<std::uint32_t>(k));
                start = end;
            }
        };
        std::vector<std::thread> helpers;
        std::size_t started = 1;
        try {
            for (; started < threads; ++started) {
                helpers.emplace_back(computeRange, started);
            }
        } catch (const std::system_error&) {
            // No thread to spare: this thread computes the remaining ranges itself.
        }
        computeRange(0);
        for (std::size_t range = started; range < threads; ++range) {
            computeRange(range);
        }
        for (std::thread& helper : helpers) {
            helper.join();
        }
    }

    std::vector<KeyedIndex>& items() { return items_; }

private:
    std::vector<std::string> buffers_;
    std::vector<KeyedIndex> items_;
};

// One pass of the quicksort exactly as users have known it over items lo to hi: comparisons are
// always against the element that currently stands at the pivot position P, which the exchanges
// carry along. Leaves lo to j and i to hi (j < i) to be sorted; what lies between is in place.
std::pair<int, int> partition(std::vector<KeyedIndex>& items, int lo, int hi)
{
    const auto at = [&items](int position) -> KeyedIndex& {
        return items[static_cast<std::size_t>(position)];
    };
    int i = lo;
    int j = hi;
    int p = lo + (hi - lo) / 2;
    do {
        while (sortsBefore(at(i), at(p))) {
            ++i;
        }
        while (sortsBefore(at(p), at(j))) {
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
    return {j, i};
}

// The left part of each pass goes on a stack of its own instead of the call stack, so no input
// can exhaust the stack; the parts are disjoint, so the order in which they are sorted does not
// change the result.
void quickSort(std::vector<KeyedIndex>& items, int lowest, int highest)
{
    std::vector<std::pair<int, int>> pending{{lowest, highest}};
    while (!pending.empty()) {
        auto [lo, hi] = pending.back();
        pending.pop_back();
        for (;;) {
            const auto [j, i] = partition(items, lo, hi);
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

// Below this many rows one thread sorts them all: a thread costs more than it saves.
constexpr std::size_t rowsPerSortThread = 8192;

// Sorts as quickSort does. The two parts the first pass leaves are disjoint, so on a large list
// another thread sorts the left one while this thread sorts the right one, with the same result.
void sortItems(std::vector<KeyedIndex>& items)
{
    const int highest = static_cast<int>(items.size()) - 1;
    if (items.size() < 2 * rowsPerSortThread || std::thread::hardware_concurrency() < 2) {
        quickSort(items, 0, highest);
        return;
    }
    const auto [j, i] = partition(items, 0, highest);
    std::thread left;
    if (j > 0) {
        try {
            left = std::thread([&items, j = j] { quickSort(items, 0, j); });
        } catch (const std::system_error&) {
            quickSort(items, 0, j); // no thread to spare: this thread sorts both parts
        }
    }
    if (i < highest) {
        quickSort(items, i, highest);
    }
    if (left.joinable()) {
        left.join();
    }
}

} // namespace

void sortRows(std::vector<FileRow>& rows, int column, const platform::SortCollator& collator)
{
    if (rows.size() < 2) {
        return;
    }
    SortKeys keys(rows, column, collator);
    std::vector<KeyedIndex>& items = keys.items();
    sortItems(items);
    std::vector<FileRow> sorted;
    sorted.reserve(rows.size());
    for (const KeyedIndex& item : items) {
        sorted.push_back(std::move(rows[item.index]));
    }
    rows = std::move(sorted);
}

void gridSort(FileTable& table, int column, const platform::SortCollator& collator)
{
    const int count = table.rowCount() - 1;
    if (count < 2) {
        return;
    }
    std::vector<FileRow> rows;
    rows.reserve(static_cast<std::size_t>(count));
    for (int row = 1; row <= count; ++row) {
        rows.push_back(table.row(row));
    }
    sortRows(rows, column, collator);
    for (int row = 1; row <= count; ++row) {
        table.setRow(row, std::move(rows[static_cast<std::size_t>(row - 1)]));
    }
}

} // namespace quorvane::core
