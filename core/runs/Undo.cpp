#include "Undo.h"

#include "core/listing/FileTable.h"
#include "core/listing/Path.h"
#include "core/listing/TextForms.h"
#include "platform/LocalTime.h"

#include <algorithm>
#include <optional>

namespace quorvane::core {
namespace {

std::optional<platform::FileTime> fileTimeOfText(std::string_view text)
{
    const std::optional<platform::LocalDateTime> local = parseTimestampText(text);
    if (!local) {
        return std::nullopt;
    }
    const std::optional<std::int64_t> seconds = platform::fromLocalDateTime(*local);
    if (!seconds) {
        return std::nullopt;
    }
    return platform::FileTime{*seconds, 0};
}

// Writes the times and attributes of the before list's texts: what the undo can do for a file whose
// exact state could not be read when the snapshot was taken.
std::error_code restoreFromTexts(platform::FileSystem& fileSystem, const std::string& path,
                                 const FileRow& row)
{
    std::error_code first;
    const std::optional<platform::FileTime> modified = fileTimeOfText(row[ModifiedColumn]);
    const std::optional<platform::FileTime> accessed = fileTimeOfText(row[AccessedColumn]);
    if (modified && accessed) {
        first = fileSystem.setTimes(path, *accessed, *modified);
    } else {
        first = makeError(RunError::UnreadableRecord);
    }
    const std::error_code attributes = fileSystem.setAttributes(path, attributeValue(row[AttributesColumn]));
    return first ? first : attributes;
}

} // namespace

UndoResult undoLastRun(UndoSnapshot& snapshot, std::string_view folder, platform::FileSystem& fileSystem,
                       const RunProgress& progress)
{
    UndoResult result;
    const std::string prefix = folderPrefix(folder);
    std::string from = prefix;
    std::string to = prefix;
    const std::size_t count = snapshot.size();
    ProgressTicker ticker(progress, count);

    // Last entry first, so that a chain the run built (a -> x, then b -> a) comes apart in the
    // opposite order and every name is free again when its file needs it.
    for (std::size_t done = 1; done <= count; ++done) {
        const std::size_t k = count - done;
        const std::string_view original = snapshot.BeforeRows[k][NameColumn];
        const std::string_view planned = snapshot.AfterRows[k][NameColumn];
        if (!isUsableName(original)) {
            ticker.advance(done);
            continue;
        }
        std::error_code failure;
        // The name the file really has now: its after-name when the rename back fails.
        std::string_view current = original;
        if (snapshot.Renamed[k] && planned != original) {
            from.resize(prefix.size());
            from.append(planned);
            to.resize(prefix.size());
            to.append(original);
            failure = fileSystem.renameNoReplace(from, to);
            if (failure) {
                current = planned;
            }
        }
        to.resize(prefix.size());
        to.append(current);
        const std::optional<platform::FileState>& state = snapshot.BeforeStates[k];
        const std::error_code restored = state ? fileSystem.restoreState(to, *state)
                                               : restoreFromTexts(fileSystem, to, snapshot.BeforeRows[k]);
        if (!failure) {
            failure = restored;
        }
        if (failure) {
            result.failures.push_back({static_cast<int>(k + 1), std::string(original), failure});
        }
        ticker.advance(done);
    }
    snapshot.clear();
    // The failures were found last first; the user reads them in list order.
    std::reverse(result.failures.begin(), result.failures.end());
    result.message = withFailureList(translate("Runs", undoCompletedMessage),
                                     translate("Runs", "元に戻せませんでした"), result.failures);
    return result;
}

} // namespace quorvane::core
