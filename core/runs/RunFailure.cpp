#include "RunFailure.h"

#include "UndoSnapshot.h"
#include "core/listing/Identity.h"
#include "core/listing/Path.h"
#include "core/text/Translation.h"
#include "platform/ErrorCode.h"

#include <algorithm>

namespace quorvane::core {
namespace {

class RunErrorCategory : public std::error_category
{
public:
    const char* name() const noexcept override { return "quorvane-run"; }

    std::string message(int value) const override
    {
        switch (static_cast<RunError>(value)) {
        case RunError::UnusableName:
            return translate("RunError", "ファイル名に使えない名前です");
        case RunError::UnusableTime:
            return translate("RunError", "指定された日時は現地時刻に存在しません");
        case RunError::UnreadableRecord:
            return translate("RunError", "元の日時と属性の記録を読めません");
        }
        return translate("RunError", "不明なエラーです");
    }
};

} // namespace

const std::error_category& runErrorCategory()
{
    static const RunErrorCategory category;
    return category;
}

std::error_code makeError(RunError error)
{
    return {static_cast<int>(error), runErrorCategory()};
}

bool isUsableName(std::string_view name)
{
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string_view::npos &&
           name.find('\0') == std::string_view::npos;
}

std::string withFailureList(std::string message, std::string_view what,
                            const std::vector<RunFailure>& failures)
{
    if (failures.empty()) {
        return message;
    }
    message += "\r\n\r\n";
    const int failed = static_cast<int>(failures.size());
    message += withArguments(translate("Runs", "次の %n 個のファイルは%1：", nullptr, failed), {what});
    const std::size_t listed = std::min(failures.size(), listedFailureCount);
    for (std::size_t i = 0; i < listed; ++i) {
        message += "\r\n";
        message += failures[i].name;
    }
    if (failures.size() > listed) {
        message += "\r\n";
        const int unlisted = failed - static_cast<int>(listed);
        message += translate("Runs", "ほか %n 個", nullptr, unlisted);
    }
    return message;
}

std::vector<RunFailure> changeEachFile(const UndoSnapshot& snapshot, platform::FileSystem& fileSystem,
                                       const RunProgress& progress, const FileChange& change)
{
    std::vector<RunFailure> failures;
    std::string path = folderPrefix(snapshot.Folder.path);
    const std::size_t prefixLength = path.size();
    const std::size_t count = snapshot.size();
    ProgressTicker ticker(progress, count);
    for (std::size_t k = 0; k < count; ++k) {
        const std::string_view name = snapshot.BeforeRows[k][NameColumn];
        std::error_code error;
        if (!isUsableName(name)) {
            error = makeError(RunError::UnusableName);
        } else {
            path.resize(prefixLength);
            path.append(name);
            error = checkEntry(fileSystem, path, snapshot.Identities[k]);
            if (!error) {
                error = change(path, k);
            }
        }
        if (error) {
            failures.push_back({static_cast<int>(k + 1), std::string(name), error});
        }
        ticker.advance(k + 1);
    }
    return failures;
}

std::string withSyncFailure(std::string message, std::error_code error)
{
    if (error) {
        message += "\r\n\r\n";
        message += withArguments(translate("Runs", "フォルダの変更をディスクに書き込めませんでした：%1"),
                                 {platform::errorText(error)});
    }
    return message;
}

} // namespace quorvane::core
