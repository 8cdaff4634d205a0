#pragma once

#include "core/listing/FileTable.h"
#include "core/runs/RunFailure.h"
#include "core/runs/RunRecorder.h"
#include "core/runs/UndoSnapshot.h"
#include "core/text/Translation.h"
#include "platform/FileSystem.h"
#include "platform/LocalTime.h"

#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace quorvane::core {

// The chosen times, local; an empty one is left as each file has it. The creation time is not
// among them: Linux cannot set it, so the window leaves its pickers disabled and the preview shows
// each file's listed creation time.
struct TimestampOptions
{
    std::optional<platform::LocalDateTime> modified;
    std::optional<platform::LocalDateTime> accessed;
    // When set, each file row's own time (row 1 first), such as when it was taken, replaces the
    // value of each chosen time; a row without one keeps its times.
    std::optional<std::vector<std::optional<platform::FileTime>>> ownTimes = {};
};

inline constexpr const char* timestampCompletedMessage =
    QT_TRANSLATE_NOOP("Runs", "ファイル日付の変更が完了しました");

// Sets the after list's row count to the before list's and copies every file row, with the chosen
// modified and accessed times in columns 3 and 4 in the timestamp text form; a time not chosen
// keeps the file's listed one. A chosen time that the local clock never shows (skipped when the
// clocks go forward) is refused with UnusableTime, the after list left as it was.
std::error_code planTimestampChange(const FileTable& before, FileTable& after,
                                    const TimestampOptions& options);

// Takes a snapshot of both lists, then sets the chosen access and modification times on the
// file of every before-list row, read-only files included, each checked to be the file listed,
// leaving a time not chosen exactly as the file has it. Every file is tried; a chosen time that
// the clock never shows fails every file with UnusableTime. With own times, the files without one
// are left alone and counted in the message. Nothing changes, and the snapshot stays
// as it was, when the folder is gone or is another folder now.
ChangeRunResult runTimestampChange(const FileTable& before, const FileTable& after, std::string_view folder,
                                   const TimestampOptions& options, platform::FileSystem& fileSystem,
                                   UndoSnapshot& snapshot, const RunProgress& progress = {},
                                   RunRecorder* recorder = nullptr);

} // namespace quorvane::core
