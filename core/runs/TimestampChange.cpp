#include "TimestampChange.h"

#include "core/listing/Identity.h"
#include "core/listing/TextForms.h"

#include <optional>
#include <vector>

namespace quorvane::core {

namespace {

bool showable(const TimestampOptions& options)
{
    return options.ownTimes || ((!options.modified || platform::fromLocalDateTime(*options.modified)) &&
                                (!options.accessed || platform::fromLocalDateTime(*options.accessed)));
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
        if (options.ownTimes) {
            const std::size_t k = static_cast<std::size_t>(row - 1);
            if (k < options.ownTimes->size() && (*options.ownTimes)[k]) {
                const std::string own = timestampText(*(*options.ownTimes)[k]);
                if (options.modified) {
                    planned.set(ModifiedColumn, own);
                }
                if (options.accessed) {
                    planned.set(AccessedColumn, own);
                }
            }
        } else if (modified) {
            planned.set(ModifiedColumn, *modified);
        }
        if (accessed && !options.ownTimes) {
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
    ChosenTime modified = chosenTime(options.ownTimes ? std::nullopt : options.modified);
    ChosenTime accessed = chosenTime(options.ownTimes ? std::nullopt : options.accessed);
    if (recorder != nullptr) {
        run.identifyUnknown(fileSystem);
        recorder->begin(RunKind::Timestamp, run);
    }
    int withoutOwnTime = 0;
    result.failures = changeEachFile(
        run, fileSystem, recordedProgress(recorder, progress), [&](const std::string& path, std::size_t k) {
            if (options.ownTimes) {
                const std::optional<platform::FileTime> own =
                    k < options.ownTimes->size() ? (*options.ownTimes)[k] : std::nullopt;
                if (!own) {
                    ++withoutOwnTime;
                    return std::error_code();
                }
                modified.time = options.modified ? own : std::nullopt;
                accessed.time = options.accessed ? own : std::nullopt;
            }
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
    if (withoutOwnTime > 0) {
        result.message += "\r\n\r\n";
        result.message +=
            translate("Runs", "撮影日時のない %n 個のファイルは変更しませんでした", nullptr, withoutOwnTime);
    }
    return result;
}

} // namespace quorvane::core
