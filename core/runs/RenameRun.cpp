#include "RenameRun.h"

#include "core/listing/Identity.h"
#include "core/listing/Path.h"
#include "core/runs/PlanApplier.h"
#include "core/runs/RenamePlanner.h"
#include "platform/ErrorCode.h"

#include <algorithm>
#include <span>

namespace quorvane::core {
namespace {

// Two full paths in one folder, built in place so that a run of many rows allocates little.
class PathPair
{
public:
    explicit PathPair(std::string_view folder)
        : from_(folderPrefix(folder)), to_(from_), prefix_(from_.size())
    {}

    void set(std::string_view from, std::string_view to)
    {
        from_.resize(prefix_);
        from_.append(from);
        to_.resize(prefix_);
        to_.append(to);
    }
    const std::string& from() const { return from_; }
    const std::string& to() const { return to_; }

private:
    std::string from_;
    std::string to_;
    std::size_t prefix_;
};

// Renames the file of entry k, checking first that its name still leads to it. What the name led
// to is kept for the undo: the file, where the row carried no identity, and the modification time
// and permission bits that the rename leaves as they are, so that the undo can tell a later edit.
std::error_code renameChecked(platform::FileSystem& fileSystem, const PathPair& paths, UndoSnapshot& run,
                              std::size_t k)
{
    platform::EntryStamp found;
    if (const std::error_code error = checkEntry(fileSystem, paths.from(), run.Identities[k], found)) {
        return error;
    }
    run.Identities[k] = found.identity;
    platform::FileState& left = run.AfterStates[k].emplace();
    left.identity = found.identity;
    left.modified = found.modified;
    left.mode = found.mode;
    return fileSystem.renameNoReplace(paths.from(), paths.to());
}

// How the run's folder compares names; a folder whose rules cannot be read is taken as exact,
// which at worst orders a case-only chain less well, never unsafely.
NameMatching matchingOf(platform::FileSystem& fileSystem, std::string_view folder)
{
    bool ignores = false;
    return !fileSystem.ignoresLetterCase(folder, ignores) && ignores ? NameMatching::IgnoreCase
                                                                     : NameMatching::Exact;
}

std::vector<RunFailure> failuresOf(const std::vector<RowError>& errors,
                                   std::span<const std::string_view> names)
{
    std::vector<RunFailure> failures;
    failures.reserve(errors.size());
    for (const RowError& error : errors) {
        failures.push_back({static_cast<int>(error.row + 1), std::string(names[error.row]), error.error});
    }
    // Chains and cycles fail out of list order; the user reads them in list order.
    std::stable_sort(failures.begin(), failures.end(),
                     [](const RunFailure& a, const RunFailure& b) { return a.row < b.row; });
    return failures;
}

} // namespace

std::string renameFailureMessage(const std::string& errorText, std::string_view beforeName,
                                 std::string_view afterName)
{
    std::string message = errorText;
    message += "\r\n\r\n";
    message += translate("Runs", "変換前ファイル名：");
    message += beforeName;
    message += "\r\n";
    message += translate("Runs", "変換後ファイル名：");
    message += afterName;
    message += "\r\n\r\n";
    message += translate("Runs", "ファイル名の変更を取り消しますか？");
    message += "\r\n";
    return message;
}

std::string withStrandedFiles(std::string message, const std::vector<RunFailure>& stranded)
{
    return withFailureList(std::move(message),
                           translate("Runs", "一時的な名前のまま残りました（元に戻すで戻せます）"), stranded);
}

RenameRunResult runRenames(const FileTable& before, const FileTable& after, std::string_view folder,
                           platform::FileSystem& fileSystem, UndoSnapshot& snapshot,
                           const FailureQuestion& question, const RunProgress& progress,
                           RunRecorder* recorder)
{
    RenameRunResult result;
    // The run's own record replaces the snapshot only when it leaves something to undo, so that a
    // run rolled back completely leaves the earlier run's undo as it was.
    UndoSnapshot run;
    if (const std::error_code error = run.takeRows(before, after, folder, fileSystem)) {
        result.refusal = error;
        result.message = folderChangedMessage(folder);
        return result;
    }
    const std::size_t count = run.size();
    std::vector<std::string_view> current(count), planned(count);
    for (std::size_t k = 0; k < count; ++k) {
        current[k] = run.BeforeRows[k][NameColumn];
        planned[k] = run.AfterRows[k][NameColumn];
    }
    const RenamePlan plan = planRenames(current, planned, matchingOf(fileSystem, run.Folder.path));

    PathPair paths(run.Folder.path);
    const RowRename rename = [&](std::size_t k, std::string_view from, std::string_view to) {
        if (!isUsableName(from) || !isUsableName(to)) {
            return makeError(RunError::UnusableName);
        }
        paths.set(from, to);
        return renameChecked(fileSystem, paths, run, k);
    };
    const RowFailureAnswer rollBack = [&](std::size_t k, const std::error_code& error) {
        return question && question(renameFailureMessage(platform::errorText(error), current[k],
                                                         planned[k])) == Answer::Yes;
    };
    if (recorder != nullptr) {
        run.identifyUnknown(fileSystem);
        recorder->begin(RunKind::Rename, run);
    }
    const PlanOutcome outcome =
        applyRenamePlan(plan, current, planned, rename, rollBack, recordedProgress(recorder, progress));

    for (const std::size_t k : outcome.renamed) {
        run.Renamed[k] = true;
    }
    // A file that someone else's change left under a temporary name is recorded under that name, so
    // the undo can still give it its own name back.
    for (const AppliedRename& parked : outcome.stranded) {
        run.AfterRows[parked.row].set(NameColumn, parked.to);
        run.Renamed[parked.row] = true;
        result.strandedFiles.push_back({static_cast<int>(parked.row + 1), parked.to, {}});
    }
    result.failures = failuresOf(outcome.failures, current);
    const std::error_code synced = fileSystem.syncFolder(run.Folder.path);
    if (outcome.rolledBack) {
        result.rolledBack = true;
        result.rollbackFailures = failuresOf(outcome.rollbackFailures, current);
        // A rollback that failed somewhere leaves an undo of exactly the files still renamed.
        if (!outcome.renamed.empty() || !outcome.stranded.empty()) {
            run.keepOnly([&](std::size_t entry) { return run.Renamed[entry]; });
            if (recorder != nullptr) {
                recorder->finish(run, result.failures.size());
            }
            snapshot = std::move(run);
        } else if (recorder != nullptr) {
            recorder->finish(UndoSnapshot(), 0);
        }
        return result;
    }
    if (recorder != nullptr) {
        recorder->finish(run, result.failures.size());
    }
    snapshot = std::move(run);
    result.message = withSyncFailure(
        withStrandedFiles(withFailureList(translate("Runs", renameCompletedMessage),
                                          translate("Runs", "名前を変更できませんでした"), result.failures),
                          result.strandedFiles),
        synced);
    return result;
}

} // namespace quorvane::core
