#include "TimestampChange.h"

#include "core/Path.h"
#include "core/TextForms.h"

#include <optional>

namespace quorvane::core {

void planTimestampChange(const FileTable& before, FileTable& after, const TimestampOptions& options)
{
    const std::string modified = timestampText(options.modified);
    const std::string accessed = timestampText(options.accessed);
    after.setRowCount(before.rowCount());
    for (int row = 1; row < before.rowCount(); ++row) {
        FileRow planned = before.row(row);
        planned.set(ModifiedColumn, modified);
        planned.set(AccessedColumn, accessed);
        after.setRow(row, std::move(planned));
    }
}

ChangeRunResult runTimestampChange(const FileTable& before, const FileTable& after, std::string_view folder,
                                   const TimestampOptions& options, platform::FileSystem& fileSystem,
                                   UndoSnapshot& snapshot, const RunProgress& progress)
{
    snapshot.take(before, after, folder, fileSystem);
    ChangeRunResult result;
    const std::optional<std::int64_t> modified = platform::fromLocalDateTime(options.modified);
    const std::optional<std::int64_t> accessed = platform::fromLocalDateTime(options.accessed);
    std::string path = folderPrefix(folder);
    const std::size_t prefixLength = path.size();
    const std::size_t count = snapshot.size();
    ProgressTicker ticker(progress, count);

    for (std::size_t k = 0; k < count; ++k) {
        const std::string_view name = snapshot.BeforeRows[k][NameColumn];
        std::error_code error;
        if (!isUsableName(name)) {
            error = makeError(RunError::UnusableName);
        } else if (!modified || !accessed) {
            error = makeError(RunError::UnusableTime);
        } else {
            path.resize(prefixLength);
            path.append(name);
            error = fileSystem.setTimes(path, {*accessed, 0}, {*modified, 0});
        }
        if (error) {
            result.failures.push_back({static_cast<int>(k + 1), std::string(name), error});
        }
        ticker.advance(k + 1);
    }
    result.message = withFailureList(std::string(timestampCompletedMessage), "日付を変更できませんでした",
                                     result.failures);
    return result;
}

} // namespace quorvane::core
