#include "Recovery.h"

#include "ConversionUndo.h"
#include "core/listing/FileTable.h"
#include "core/listing/Identity.h"
#include "core/listing/Path.h"
#include "core/listing/TextForms.h"
#include "core/runs/PlanApplier.h"
#include "core/runs/RenamePlanner.h"
#include "platform/LocalTime.h"

#include <algorithm>
#include <unordered_map>

namespace quorvane::core {
namespace {

struct IdentityHash
{
    std::size_t operator()(const platform::FileIdentity& identity) const
    {
        return std::hash<std::uint64_t>()(identity.inode * 0x9E3779B97F4A7C15ull ^ identity.device);
    }
};

std::optional<platform::FileTime> timeOfText(std::string_view text)
{
    const std::optional<platform::LocalDateTime> local = parseTimestampText(text);
    const std::optional<std::int64_t> seconds = local ? platform::fromLocalDateTime(*local) : std::nullopt;
    return seconds ? std::optional<platform::FileTime>(platform::FileTime{*seconds, 0}) : std::nullopt;
}

// Gives the file at path the times and attributes of row where they differ from those of other;
// the texts are all a record holds of a state that the run had not read yet.
std::error_code applyTexts(platform::FileSystem& fileSystem, const std::string& path, const FileRow& row,
                           const FileRow& other)
{
    const auto changed = [&](int column) {
        return row[column] != other[column] ? timeOfText(row[column]) : std::nullopt;
    };
    const std::optional<platform::FileTime> modified = changed(ModifiedColumn);
    const std::optional<platform::FileTime> accessed = changed(AccessedColumn);
    std::error_code first;
    if (modified || accessed) {
        first = fileSystem.setTimes(path, accessed, modified);
    }
    if (row[AttributesColumn] != other[AttributesColumn]) {
        const std::error_code error = fileSystem.setAttributes(path, attributeValue(row[AttributesColumn]));
        first = first ? first : error;
    }
    return first;
}

} // namespace

std::string runKindText(RunKind kind)
{
    switch (kind) {
    case RunKind::Rename:
        return translate("Journal", "リネーム");
    case RunKind::Timestamp:
        return translate("Journal", "日付変更");
    case RunKind::Attribute:
        return translate("Journal", "属性変更");
    case RunKind::Conversion:
        return translate("Journal", "画像変換");
    case RunKind::Undo:
        return translate("Journal", "取り消し");
    }
    return {};
}

std::string unfinishedRunMessage(const RunSummary& run)
{
    return withArguments(translate("Journal", unfinishedRunQuestion), {run.folder, runKindText(run.kind)});
}

RecoveryResult recoverRun(Journal& journal, std::int64_t id, RecoveryChoice choice,
                          platform::FileSystem& fileSystem)
{
    if (const std::optional<RunSummary> summary = journal.run(id); summary && journal.holdsImages(id)) {
        return recoverConversion(journal, *summary, choice, fileSystem);
    }
    RecoveryResult result;
    UndoSnapshot record;
    const bool putBack = choice == RecoveryChoice::PutBack;
    // Offered once: whatever the outcome, the run is no longer unfinished.
    const auto close = [&] {
        journal.setState(id, putBack ? RunState::Undone : RunState::Finished);
    };
    if (!journal.loadRun(id, record)) {
        result.message = translate("Journal", "前回の処理の記録を読めませんでした");
        close();
        return result;
    }
    platform::FileIdentity folderIdentity;
    if (checkFolder(fileSystem, record.Folder.path, record.Folder.identity, folderIdentity)) {
        result.message = folderChangedMessage(record.Folder.path);
        close();
        return result;
    }

    // Where every file of the folder is now, by identity.
    std::unordered_map<platform::FileIdentity, std::string, IdentityHash> where;
    const std::error_code listed = fileSystem.enumerate(
        record.Folder.path, "*", platform::Hidden | platform::System,
        [&](const platform::DirectoryEntry& entry) { where.emplace(entry.identity, entry.name); });
    if (listed) {
        result.message = translate("Journal", "前回の処理のフォルダを読めませんでした");
        return result;
    }

    std::vector<std::size_t> entries; // the entries whose file recovery moves or restores
    std::vector<std::string> nowNames;
    std::vector<std::string_view> current, planned;
    for (std::size_t k = 0; k < record.size(); ++k) {
        const std::string_view before = record.BeforeRows[k][NameColumn];
        const std::string_view after = record.AfterRows[k][NameColumn];
        const auto found = record.Identities[k].known() ? where.find(record.Identities[k]) : where.end();
        if (found == where.end() ||
            (found->second != before && found->second != after && !isTemporaryName(found->second))) {
            result.leftAlone.push_back({static_cast<int>(k + 1), std::string(before), {}});
            continue;
        }
        entries.push_back(k);
        nowNames.push_back(found->second);
    }
    for (std::size_t i = 0; i < entries.size(); ++i) {
        current.push_back(nowNames[i]);
        const std::size_t k = entries[i];
        planned.push_back(putBack ? record.BeforeRows[k][NameColumn] : record.AfterRows[k][NameColumn]);
    }

    bool ignoresCase = false;
    const NameMatching matching =
        !fileSystem.ignoresLetterCase(record.Folder.path, ignoresCase) && ignoresCase
            ? NameMatching::IgnoreCase
            : NameMatching::Exact;
    const std::string prefix = folderPrefix(record.Folder.path);
    std::string from = prefix;
    std::string to = prefix;
    const auto renameTo = [&](std::size_t i, std::string_view name, std::string_view target) {
        if (!isUsableName(name) || !isUsableName(target)) {
            return makeError(RunError::UnusableName);
        }
        from.resize(prefix.size());
        from.append(name);
        if (const std::error_code error = checkEntry(fileSystem, from, record.Identities[entries[i]])) {
            return error;
        }
        to.resize(prefix.size());
        to.append(target);
        return fileSystem.renameNoReplace(from, to);
    };
    const PlanOutcome moved =
        applyRenamePlan(planRenames(current, planned, matching), current, planned, renameTo, {});
    std::vector<bool> failed(entries.size());
    for (const RowError& failure : moved.failures) {
        failed[failure.row] = true;
    }
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (!failed[i]) {
            continue;
        }
        const std::size_t k = entries[i];
        std::error_code error = moved.failures.front().error;
        for (const RowError& failure : moved.failures) {
            if (failure.row == i) {
                error = failure.error;
            }
        }
        // A file still parked under a temporary name takes its other name where that is free, so
        // that no file stays hidden under a name nobody gave it.
        if (isTemporaryName(current[i])) {
            const std::string_view other =
                putBack ? record.AfterRows[k][NameColumn] : record.BeforeRows[k][NameColumn];
            if (!renameTo(i, current[i], other)) {
                result.failures.push_back({static_cast<int>(k + 1), std::string(other), error});
                continue;
            }
        }
        result.failures.push_back({static_cast<int>(k + 1), std::string(current[i]), error});
    }

    if (record.StatesChanged) {
        for (std::size_t i = 0; i < entries.size(); ++i) {
            const std::size_t k = entries[i];
            if (failed[i]) {
                continue;
            }
            to.resize(prefix.size());
            to.append(planned[i]);
            const std::optional<platform::FileState>& state =
                putBack ? record.BeforeStates[k] : record.AfterStates[k];
            const FileRow& row = putBack ? record.BeforeRows[k] : record.AfterRows[k];
            const FileRow& other = putBack ? record.AfterRows[k] : record.BeforeRows[k];
            if (const std::error_code error =
                    state ? fileSystem.restoreState(to, *state) : applyTexts(fileSystem, to, row, other)) {
                result.failures.push_back({static_cast<int>(k + 1), std::string(planned[i]), error});
            }
        }
    }
    const std::error_code synced = fileSystem.syncFolder(record.Folder.path);
    close();

    const auto byRow = [](const RunFailure& a, const RunFailure& b) {
        return a.row < b.row;
    };
    std::sort(result.failures.begin(), result.failures.end(), byRow);
    std::string message = putBack ? translate("Journal", "前回の処理の前の状態に戻しました")
                                  : translate("Journal", "前回の処理を最後まで実行しました");
    message = withFailureList(std::move(message),
                              translate("Journal", "処理の後で別に変更されていたため、そのままにしました"),
                              result.leftAlone);
    message = withFailureList(std::move(message), translate("Journal", "戻せませんでした"), result.failures);
    result.message = withSyncFailure(std::move(message), synced);
    return result;
}

} // namespace quorvane::core
