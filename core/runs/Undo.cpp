#include "Undo.h"

#include "core/listing/FileTable.h"
#include "core/listing/Identity.h"
#include "core/listing/Path.h"
#include "core/listing/TextForms.h"
#include "core/runs/PlanApplier.h"
#include "core/runs/RenamePlanner.h"
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

UndoSnapshot reversed(const UndoSnapshot& snapshot)
{
    UndoSnapshot undo;
    undo.Folder = snapshot.Folder;
    undo.StatesChanged = snapshot.StatesChanged;
    undo.BeforeRows = snapshot.AfterRows;
    undo.AfterRows = snapshot.BeforeRows;
    undo.BeforeStates = snapshot.AfterStates;
    undo.AfterStates = snapshot.BeforeStates;
    undo.Identities = snapshot.Identities;
    undo.Renamed.assign(snapshot.size(), false);
    for (std::size_t k = 0; k < snapshot.size(); ++k) {
        // A file the run did not rename is still under its own name, and the undo leaves it there.
        if (!snapshot.Renamed[k]) {
            undo.BeforeRows[k].set(NameColumn, snapshot.BeforeRows[k][NameColumn]);
        }
    }
    return undo;
}

UndoResult undoLastRun(UndoSnapshot& snapshot, platform::FileSystem& fileSystem, const RunProgress& given,
                       RunRecorder* recorder)
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
    UndoSnapshot record;
    if (recorder != nullptr) {
        record = reversed(snapshot);
        recorder->begin(RunKind::Undo, record);
    }
    const RunProgress progress = recordedProgress(recorder, given);
    const std::string prefix = folderPrefix(snapshot.Folder.path);
    std::string from = prefix;
    std::string to = prefix;
    const std::size_t count = snapshot.size();
    std::vector<RunFailure> edited; // renamed back, state kept as a later edit left it
    std::size_t undone = 0;
    const auto fail = [&](std::size_t k, const std::error_code& error) {
        result.failures.push_back(
            {static_cast<int>(k + 1), std::string(snapshot.BeforeRows[k][NameColumn]), error});
    };

    // Names first, through the same planner as the run, so that a chain or a cycle the run made
    // comes apart in an order where every name is free when its file needs it.
    std::vector<std::size_t> entries; // the entries whose file the run renamed
    std::vector<std::string_view> renamedTo, original;
    for (std::size_t k = 0; k < count; ++k) {
        const std::string_view before = snapshot.BeforeRows[k][NameColumn];
        const std::string_view planned = snapshot.AfterRows[k][NameColumn];
        if (snapshot.Renamed[k] && planned != before && isUsableName(before)) {
            entries.push_back(k);
            renamedTo.push_back(planned);
            original.push_back(before);
        }
    }
    bool ignoresCase = false;
    const NameMatching matching =
        !fileSystem.ignoresLetterCase(snapshot.Folder.path, ignoresCase) && ignoresCase
            ? NameMatching::IgnoreCase
            : NameMatching::Exact;
    std::vector<bool> editedSince(entries.size());
    const RowRename renameBack = [&](std::size_t i, std::string_view name, std::string_view target) {
        const std::size_t k = entries[i];
        from.resize(prefix.size());
        from.append(name);
        platform::EntryStamp stamp;
        if (const std::error_code error = fileSystem.identify(from, stamp)) {
            return error;
        }
        if (snapshot.Identities[k].known() && stamp.identity != snapshot.Identities[k]) {
            return makeError(IdentityError::FileChanged);
        }
        // Seen under the name the run gave it: whether it was edited since the run.
        if (name == renamedTo[i]) {
            const std::optional<platform::FileState>& left = snapshot.AfterStates[k];
            editedSince[i] = left && (stamp.modified != left->modified || stamp.mode != left->mode);
        }
        to.resize(prefix.size());
        to.append(target);
        return fileSystem.renameNoReplace(from, to);
    };
    const PlanOutcome names =
        applyRenamePlan(planRenames(renamedTo, original, matching), renamedTo, original, renameBack, {},
                        snapshot.StatesChanged ? RunProgress() : progress);
    std::vector<bool> nameFailed(count);
    for (const RowError& failure : names.failures) {
        fail(entries[failure.row], failure.error);
        nameFailed[entries[failure.row]] = true;
    }
    for (const std::size_t i : names.renamed) {
        ++undone;
        if (recorder != nullptr) {
            record.Renamed[entries[i]] = true;
        }
        if (editedSince[i]) {
            edited.push_back({static_cast<int>(entries[i] + 1), std::string(original[i]), {}});
        }
    }

    // Then the times, permission bits and DOS bits a timestamp or attribute run changed, on files
    // still as the run left them.
    if (snapshot.StatesChanged) {
        ProgressTicker ticker(progress, count);
        for (std::size_t k = 0; k < count; ++k) {
            ticker.advance(k + 1);
            const std::string_view name = snapshot.BeforeRows[k][NameColumn];
            if (nameFailed[k] || !isUsableName(name)) {
                continue;
            }
            to.resize(prefix.size());
            to.append(name);
            platform::FileState now;
            std::error_code failure = fileSystem.readState(to, now);
            if (!failure && snapshot.Identities[k].known() && now.identity != snapshot.Identities[k]) {
                failure = makeError(IdentityError::FileChanged);
            }
            if (failure) {
                fail(k, failure);
                continue;
            }
            const std::optional<platform::FileState>& left = snapshot.AfterStates[k];
            if (left && changedSince(now, *left)) {
                edited.push_back({static_cast<int>(k + 1), std::string(name), {}});
                continue;
            }
            const std::optional<platform::FileState>& state = snapshot.BeforeStates[k];
            if (const std::error_code restored =
                    state ? fileSystem.restoreState(to, *state)
                          : restoreFromTexts(fileSystem, to, snapshot.BeforeRows[k])) {
                fail(k, restored);
            } else {
                ++undone;
            }
        }
    }

    const std::error_code synced = fileSystem.syncFolder(snapshot.Folder.path);
    snapshot.clear();
    if (recorder != nullptr) {
        recorder->finish(record, result.failures.size());
    }
    // Chains and cycles come apart out of list order; the user reads the files in list order.
    const auto byRow = [](const RunFailure& a, const RunFailure& b) {
        return a.row < b.row;
    };
    std::stable_sort(result.failures.begin(), result.failures.end(), byRow);
    std::stable_sort(edited.begin(), edited.end(), byRow);
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
