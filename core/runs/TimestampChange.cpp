#include "TimestampChange.h"

#include "core/listing/Identity.h"
#include "core/listing/TextForms.h"

#include <optional>

namespace quorvane::core {

namespace {

bool showable(const TimestampOptions& options)
{
    return (!options.modified || platform::fromLocalDateTime(*options.modified)) &&
           (!options.accessed || platform::fromLocalDateTime(*options.accessed));
}

} // namespace

std::error_code planTimestampChange(const FileTable& before, FileTable& after,
                                    const TimestampOptions& options)
{
    if (!showable(options)) {
        return makeError(RunError::UnusableTime);
    }
    const std::optional<std::string> modified =
        options.modified ? std::optional(timestampText(*options.modified)) : std::nullopt;
    const std::optional<std::string> accessed =
        options.accessed ? std::optional(timestampText(*options.accessed)) : std::nullopt;
    after.setRowCount(before.rowCount());
    for (int row = 1; row < before.rowCount(); ++row) {
        FileRow planned = before.row(row);
        if (modified) {
            planned.set(ModifiedColumn, *modified);
        }
        if (accessed) {
            planned.set(AccessedColumn, *accessed);
        }
        after.setRow(row, std::move(planned));
    }
    return {};
}

namespace {

// The file time of a chosen local time: empty when none was chosen, and unusable when the clock
// never shows it.
struct ChosenTime
{
    std::optional<platform::FileTime> time;
    bool unusable = false;
};

ChosenTime chosenTime(const std::optional<platform::LocalDateTime>& local)
{
    if (!local) {
        return {};
    }
    const std::optional<std::int64_t> seconds = platform::fromLocalDateTime(*local);
    if (!seconds) {
        return {std::nullopt, true};
    }
    return {platform::FileTime{*seconds, 0}, false};
}

} // namespace

ChangeRunResult runTimestampChange(const FileTable& before, const FileTable& after, std::string_view folder,
                                   const TimestampOptions& options, platform::FileSystem& fileSystem,
                                   UndoSnapshot& snapshot, const RunProgress& progress, RunRecorder* recorder)
{
    ChangeRunResult result;
    UndoSnapshot run;
    if (const std::error_code error = run.take(before, after, folder, fileSystem)) {
        result.refusal = error;
        result.message = folderChangedMessage(folder);
        return result;
    }
    const ChosenTime modified = chosenTime(options.modified);
    const ChosenTime accessed = chosenTime(options.accessed);
    if (recorder != nullptr) {
        run.identifyUnknown(fileSystem);
        recorder->begin(RunKind::Timestamp, run);
    }
    result.failures = changeEachFile(
        run, fileSystem, recordedProgress(recorder, progress), [&](const std::string& path, std::size_t k) {
            if (modified.unusable || accessed.unusable) {
                return makeError(RunError::UnusableTime);
            }
            if (!modified.time && !accessed.time) {
                return std::error_code(); // nothing chosen, nothing to change
            }
            const std::error_code error = fileSystem.setTimes(path, accessed.time, modified.time);
            run.readAfterState(fileSystem, path, k);
            return error;
        });
    if (recorder != nullptr) {
        recorder->finish(run, result.failures.size());
    }
    snapshot = std::move(run);
    result.message = withFailureList(translate("Runs", timestampCompletedMessage),
                                     translate("Runs", "日付を変更できませんでした"), result.failures);
    return result;
}

} // namespace quorvane::core
