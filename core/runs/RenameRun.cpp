#include "RenameRun.h"

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

std::error_code renameIfUsable(platform::FileSystem& fileSystem, PathPair& paths, std::string_view from,
                               std::string_view to)
{
    if (!isUsableName(from) || !isUsableName(to)) {
        return makeError(RunError::UnusableName);
    }
    paths.set(from, to);
    return fileSystem.renameNoReplace(paths.from(), paths.to());
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
    snapshot.take(before, after, folder, fileSystem);
    RenameRunResult result;
    PathPair paths(folder);
    std::vector<std::size_t> renamed; // entries renamed by this run, in the order they were
    const std::size_t count = snapshot.size();
    ProgressTicker ticker(progress, count);

    for (std::size_t k = 0; k < count; ++k) {
        const std::string_view from = snapshot.BeforeRows[k][NameColumn];
        const std::string_view to = snapshot.AfterRows[k][NameColumn];
        const std::error_code error = renameIfUsable(fileSystem, paths, from, to);
        if (!error) {
            snapshot.Renamed[k] = true;
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
            const std::string_view original = snapshot.BeforeRows[*it][NameColumn];
            const std::string_view planned = snapshot.AfterRows[*it][NameColumn];
            if (original == planned) {
                snapshot.Renamed[*it] = false;
                continue;
            }
            paths.set(planned, original);
            if (const std::error_code back = fileSystem.renameNoReplace(paths.from(), paths.to())) {
                result.rollbackFailures.push_back({static_cast<int>(*it + 1), std::string(original), back});
            } else {
                snapshot.Renamed[*it] = false;
            }
        }
        result.rolledBack = true;
        if (progress) {
            progress(count, count);
        }
        return result;
    }
    result.message = withFailureList(translate("Runs", renameCompletedMessage),
                                     translate("Runs", "名前を変更できませんでした"), result.failures);
    return result;
}

} // namespace quorvane::core
