#include "Undo.h"

#include "core/listing/FileTable.h"
#include "core/listing/Identity.h"
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

// Whether the file was changed since the run left it: its modification time, its permission bits
// or its DOS bits. Reading it does not count, though it may move the access time.
bool changedSince(const platform::FileState& now, const platform::FileState& left)
{
    return now.modified != left.modified || now.mode != left.mode || now.dosAttributes != left.dosAttributes;
}

} // namespace

UndoResult undoLastRun(UndoSnapshot& snapshot, platform::FileSystem& fileSystem, const RunProgress& progress)
{
    UndoResult result;
    if (snapshot.empty()) {
        result.message = nothingToUndoMessage;
        return result;
    }
    platform::FileIdentity folderIdentity;
    if (const std::error_code error =
            checkFolder(fileSystem, snapshot.Folder.path, snapshot.Folder.identity, folderIdentity)) {
        result.refusal = error;
        result.message = folderChangedMessage(snapshot.Folder.path);
        return result;
    }
    const std::string prefix = folderPrefix(snapshot.Folder.path);
    std::string from = prefix;
    std::string to = prefix;
    const std::size_t count = snapshot.size();
    ProgressTicker ticker(progress, count);
    std::vector<RunFailure> edited; // renamed back, state kept as a later edit left it
    std::size_t undone = 0;

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
        const bool renamed = snapshot.Renamed[k] && planned != original;
        if (!renamed && !snapshot.StatesChanged) {
            ticker.advance(done); // the run did nothing to this file
            continue;
        }
        // The name the file really has now: its after-name until it is renamed back.
        std::string_view current = renamed ? planned : original;
        from.resize(prefix.size());
        from.append(current);
        // What the name leads to now. The whole state is read only where the undo may put one back;
        // after a rename run, the file's stamp tells its identity and any edit since.
        platform::FileState now;
        std::error_code failure;
        if (snapshot.StatesChanged) {
            failure = fileSystem.readState(from, now);
        } else {
            platform::EntryStamp stamp;
            failure = fileSystem.identify(from, stamp);
            now.identity = stamp.identity;
            now.modified = stamp.modified;
            now.mode = stamp.mode;
        }
        if (!failure && snapshot.Identities[k].known() && now.identity != snapshot.Identities[k]) {
            failure = makeError(IdentityError::FileChanged);
        }
        const auto row = static_cast<int>(k + 1);
        if (failure) {
            result.failures.push_back({row, std::string(original), failure});
            ticker.advance(done);
            continue;
        }
        bool changed = false;
        if (renamed) {
            to.resize(prefix.size());
            to.append(original);
            failure = fileSystem.renameNoReplace(from, to);
            if (!failure) {
                current = original;
                changed = true;
            }
        }
        const std::optional<platform::FileState>& left = snapshot.AfterStates[k];
        if (left && changedSince(now, *left)) {
            edited.push_back({row, std::string(original), {}});
        } else if (snapshot.StatesChanged) {
            to.resize(prefix.size());
            to.append(current);
            const std::optional<platform::FileState>& state = snapshot.BeforeStates[k];
            const std::error_code restored = state ? fileSystem.restoreState(to, *state)
                                                   : restoreFromTexts(fileSystem, to, snapshot.BeforeRows[k]);
            changed = changed || !restored;
            if (!failure) {
                failure = restored;
            }
        }
        if (failure) {
            result.failures.push_back({row, std::string(original), failure});
        } else if (changed) {
            ++undone;
        }
        ticker.advance(done);
    }
    const std::error_code synced = fileSystem.syncFolder(snapshot.Folder.path);
    snapshot.clear();
    // The files were met last first; the user reads them in list order.
    std::reverse(result.failures.begin(), result.failures.end());
    std::reverse(edited.begin(), edited.end());
    std::string message = translate("Runs", undoCompletedMessage);
    if (undone == 0) {
        message = translate("Runs", result.failures.empty() && edited.empty() ? nothingToUndoMessage
                                                                              : undoFailedMessage);
    }
    message = withFailureList(std::move(message), translate("Runs", "元に戻せませんでした"), result.failures);
    message = withFailureList(std::move(message),
                              translate("Runs", "実行の後で変更されていたため、日時と属性を戻しませんでした"),
                              edited);
    result.message = withSyncFailure(std::move(message), synced);
    return result;
}

} // namespace quorvane::core
