#pragma once

#include "core/listing/FileTable.h"

#include <string>
#include <vector>

namespace quorvane::core {

// A before list of the given names, each row with its own size and times so copying can be checked.
inline FileTable beforeListOf(const std::vector<std::string>& names)
{
    FileTable table;
    table.setRow(0, beforeListHeader());
    std::vector<FileRow> rows;
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::string n = std::to_string(i + 1);
        rows.emplace_back(names[i], n + " KB", "2024/01/0" + n + " 10:00:00", "2024/02/0" + n + " 11:00:00",
                          "2024/03/0" + n + " 12:00:00", "---A");
    }
    table.replaceFileRows(std::move(rows));
    return table;
}

inline std::vector<std::string> afterNames(const FileTable& after)
{
    std::vector<std::string> names;
    for (int r = 1; r < after.rowCount(); ++r) {
        names.emplace_back(after.cell(NameColumn, r));
    }
    return names;
}

} // namespace quorvane::core
