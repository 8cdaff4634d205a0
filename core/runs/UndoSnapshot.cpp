#include "UndoSnapshot.h"

#include "core/Path.h"
#include "core/runs/RunFailure.h"

namespace quorvane::core {

void UndoSnapshot::take(const FileTable& before, const FileTable& after, std::string_view folder,
                        platform::FileSystem& fileSystem)
{
    clear();
    const int count = before.rowCount() - 1;
    const auto size = static_cast<std::size_t>(count);
    BeforeRows.reserve(size);
    AfterRows.reserve(size);
    BeforeStates.resize(size);
    Renamed.assign(size, false);

    std::string path = folderPrefix(folder);
    const std::size_t prefixLength = path.size();
    for (int row = 1; row <= count; ++row) {
        const FileRow& beforeRow = before.row(row);
        BeforeRows.push_back(beforeRow);
        AfterRows.push_back(row < after.rowCount() ? after.row(row) : FileRow());
        const std::string_view name = beforeRow[NameColumn];
        if (!isUsableName(name)) {
            continue;
        }
        path.resize(prefixLength);
        path.append(name);
        platform::FileState state;
        if (!fileSystem.readState(path, state)) {
            BeforeStates[static_cast<std::size_t>(row - 1)] = state;
        }
    }
}

void UndoSnapshot::clear()
{
    BeforeRows.clear();
    AfterRows.clear();
    BeforeStates.clear();
    Renamed.clear();
}

} // namespace quorvane::core
