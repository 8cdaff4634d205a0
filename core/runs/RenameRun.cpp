#include "RenameRun.h"

#include "core/listing/Identity.h"
#include "core/listing/Path.h"
#include "platform/ErrorCode.h"

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

std::error_code renameIfUsable(platform::FileSystem& fileSystem, PathPair& paths, std::string_view from,
                               std::string_view to, UndoSnapshot& run, std::size_t k)
{
    if (!isUsableName(from) || !isUsableName(to)) {
        return makeError(RunError::UnusableName);
    }
    paths.set(from, to);
    return renameChecked(fileSystem, paths, run, k);
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

RenameRunResult runRenames(const FileTable& before, const FileTable& after, std::string_view folder,
                           platform::FileSystem& fileSystem, UndoSnapshot& snapshot,
                           const FailureQuestion& question, const RunProgress& progress)
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
    PathPair paths(run.Folder.path);
    std::vector<std::size_t> renamed; // entries renamed by this run, in the order they were
    const std::size_t count = run.size();
    ProgressTicker ticker(progress, count);

    for (std::size_t k = 0; k < count; ++k) {
        const std::string_view from = run.BeforeRows[k][NameColumn];
        const std::string_view to = run.AfterRows[k][NameColumn];
        const std::error_code error = renameIfUsable(fileSystem, paths, from, to, run, k);
        if (!error) {
            run.Renamed[k] = true;
            renamed.push_back(k);
            ticker.advance(k + 1);
            continue;
        }
        result.failures.push_back({static_cast<int>(k + 1), std::string(from), error});
        const Answer answer =
            question ? question(renameFailureMessage(platform::errorText(error), from, to)) : Answer::No;
        if (answer != Answer::Yes) {
            ticker.advance(k + 1);
            continue;
        }

        // Undoing the renames last first puts back a chain such as a -> x, b -> a: b's file
        // leaves a before a's file needs it again.
        for (auto it = renamed.rbegin(); it != renamed.rend(); ++it) {
            const std::string_view original = run.BeforeRows[*it][NameColumn];
            const std::string_view planned = run.AfterRows[*it][NameColumn];
            if (original == planned) {
                run.Renamed[*it] = false;
                continue;
            }
            paths.set(planned, original);
            if (const std::error_code back = renameChecked(fileSystem, paths, run, *it)) {
                result.rollbackFailures.push_back({static_cast<int>(*it + 1), std::string(original), back});
            } else {
                run.Renamed[*it] = false;
            }
        }
        result.rolledBack = true;
        // The names are back as they were; a failed flush changes nothing the user could act on.
        (void)fileSystem.syncFolder(run.Folder.path);
        // A rollback that failed somewhere leaves an undo of exactly the files still renamed.
        if (!result.rollbackFailures.empty()) {
            run.keepOnly([&](std::size_t entry) { return run.Renamed[entry]; });
            snapshot = std::move(run);
        }
        if (progress) {
            progress(count, count);
        }
        return result;
    }
    const std::error_code synced = fileSystem.syncFolder(run.Folder.path);
    snapshot = std::move(run);
    result.message =
        withSyncFailure(withFailureList(translate("Runs", renameCompletedMessage),
                                        translate("Runs", "名前を変更できませんでした"), result.failures),
                        synced);
    return result;
}

} // namespace quorvane::core
