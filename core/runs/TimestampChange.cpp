#include "TimestampChange.h"

#include "core/listing/TextForms.h"

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
    result.failures = changeEachFile(snapshot, folder, progress, [&](const std::string& path, std::size_t) {
        if (!modified || !accessed) {
            return makeError(RunError::UnusableTime);
        }
        return fileSystem.setTimes(path, {*accessed, 0}, {*modified, 0});
    });
    result.message = withFailureList(std::string(timestampCompletedMessage), "日付を変更できませんでした",
                                     result.failures);
    return result;
}

} // namespace quorvane::core
