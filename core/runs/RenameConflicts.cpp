#include "RenameConflicts.h"

#include "core/text/Translation.h"

#include <algorithm>
#include <span>
#include <string_view>

namespace quorvane::core {

std::vector<RenameConflict> checkPlannedNames(const FileTable& before, const FileTable& after,
                                              platform::FileSystem& fileSystem)
{
    const int rows = std::min(before.rowCount(), after.rowCount());
    std::vector<std::string_view> current, planned;
    current.reserve(static_cast<std::size_t>(std::max(rows, 0)));
    planned.reserve(static_cast<std::size_t>(std::max(rows, 0)));
    for (int row = 1; row < rows; ++row) {
        current.push_back(before.cell(NameColumn, row));
        planned.push_back(after.cell(NameColumn, row));
    }
    const std::string& folder = before.listedFolder().path;
    if (folder.empty()) {
        return findRenameConflicts(current, planned, std::span<const std::string_view>(),
                                   NameMatching::Exact);
    }
    bool ignoresCase = false;
    if (fileSystem.ignoresLetterCase(folder, ignoresCase)) {
        ignoresCase = false;
    }
    const NameMatching matching = ignoresCase ? NameMatching::IgnoreCase : NameMatching::Exact;
    // The folder's names are read while the rows' names are hashed; the listing does the same.
    const auto readFolder = [&] {
        FolderNames names(matching);
        // A folder read part-way still names some of the entries that stay; the run checks again.
        (void)fileSystem.listNames(folder, [&](std::string_view name) { names.add(name); });
        return names;
    };
    return findRenameConflicts(current, planned, readFolder, matching);
}

std::string conflictReason(const RenameConflict& conflict)
{
    switch (conflict.kind) {
    case ConflictKind::SameNameAsRow:
        return withArguments(translate("Conflicts", "同じ名前になるファイルがあります: %1 行目"),
                             {std::to_string(conflict.otherRow + 1)});
    case ConflictKind::NameTaken:
        return translate("Conflicts", "同じ名前のファイルがすでにあります");
    case ConflictKind::UnusableName:
        return translate("Conflicts", "使用できない名前です");
    }
    return {};
}

std::string conflictCountText(std::size_t count)
{
    const int rows = static_cast<int>(count);
    return translate("Conflicts", "衝突: %n 件", nullptr, rows);
}

} // namespace quorvane::core
