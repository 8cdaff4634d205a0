#include "DateTakenOrder.h"

#include "platform/Locale.h"

#include <algorithm>
#include <numeric>
#include <optional>
#include <string>

namespace quorvane::core {

void sortByDateTaken(FileTable& before, FileTable& after, const std::vector<RowDateTaken>& dates,
                     const platform::SortCollator& collator)
{
    const std::size_t rows = static_cast<std::size_t>(before.rowCount() - 1);
    struct Key
    {
        std::optional<platform::FileTime> taken; // empty sorts last
        std::string name;
    };
    std::vector<Key> keys(rows);
    for (std::size_t i = 0; i < rows; ++i) {
        if (i < dates.size() && dates[i].fromContent) {
            keys[i].taken = instantOf(dates[i].date);
        }
        keys[i].name = collator.sortKey(before.row(static_cast<int>(i) + 1)[NameColumn]);
    }
    std::vector<std::size_t> order(rows);
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        const Key& x = keys[a];
        const Key& y = keys[b];
        if (x.taken.has_value() != y.taken.has_value()) {
            return x.taken.has_value();
        }
        if (x.taken &&
            (x.taken->seconds != y.taken->seconds || x.taken->nanoseconds != y.taken->nanoseconds)) {
            return std::pair(x.taken->seconds, x.taken->nanoseconds) <
                   std::pair(y.taken->seconds, y.taken->nanoseconds);
        }
        return x.name < y.name;
    });
    const auto reorder = [&](FileTable& table) {
        const Selection selection = table.selection();
        std::vector<FileRow> moved;
        moved.reserve(rows);
        for (const std::size_t from : order) {
            const int row = static_cast<int>(from) + 1;
            moved.push_back(row < table.rowCount() ? table.row(row) : FileRow());
        }
        for (std::size_t i = 0; i < rows && static_cast<int>(i) + 1 < table.rowCount(); ++i) {
            table.setRow(static_cast<int>(i) + 1, std::move(moved[i]));
        }
        table.setSelection(selection.first, selection.last);
    };
    reorder(before);
    reorder(after);
}

} // namespace quorvane::core
