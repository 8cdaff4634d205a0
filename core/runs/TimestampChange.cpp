#include "TimestampChange.h"

#include "core/listing/Identity.h"
#include "core/listing/TextForms.h"

#include <optional>

namespace quorvane::core {

namespace {

bool showable(const TimestampOptions& options)
{
    return platform::fromLocalDateTime(options.modified) && platform::fromLocalDateTime(options.accessed);
}

} // namespace

std::error_code planTimestampChange(const FileTable& before, FileTable& after,
                                    const TimestampOptions& options)
{
    if (!showable(options)) {
        return makeError(RunError::UnusableTime);
    }
    const std::string modified = timestampText(options.modified);
    const std::string accessed = timestampText(options.accessed);
    after.setRowCount(before.rowCount());
    for (int row = 1; row < before.rowCount(); ++row) {
        FileRow planned = before.row(row);
        planned.set(ModifiedColumn, modified);
        planned.set(AccessedColumn, accessed);
        after.setRow(row, std::move(planned));
    }
    return {};
}

ChangeRunResult runTimestampChange(const FileTable& before, const FileTable& after, std::string_view folder,
                                   const TimestampOptions& options, platform::FileSystem& fileSystem,
                                   UndoSnapshot& snapshot, const RunProgress& progress)
{
    ChangeRunResult result;
    UndoSnapshot run;
    if (const std::error_code error = run.take(before, after, folder, fileSystem)) {
        result.refusal = error;
        result.message = folderChangedMessage(folder);
        return result;
    }
    const std::optional<std::int64_t> modified = platform::fromLocalDateTime(options.modified);
    const std::optional<std::int64_t> accessed = platform::fromLocalDateTime(options.accessed);
    result.failures = changeEachFile(run, fileSystem, progress, [&](const std::string& path, std::size_t k) {
        if (!modified || !accessed) {
            return makeError(RunError::UnusableTime);
        }
        const std::error_code error = fileSystem.setTimes(path, {*accessed, 0}, {*modified, 0});
        run.readAfterState(fileSystem, path, k);
        return error;
    });
    snapshot = std::move(run);
    result.message = withFailureList(std::string(timestampCompletedMessage), "日付を変更できませんでした",
                                     result.failures);
    return result;
}

} // namespace quorvane::core
