#include "Identity.h"

namespace quorvane::core {
namespace {

class IdentityErrorCategory : public std::error_category
{
public:
    const char* name() const noexcept override { return "quorvane-identity"; }

    std::string message(int value) const override
    {
        switch (static_cast<IdentityError>(value)) {
        case IdentityError::FolderChanged:
            return "一覧のフォルダが削除されたか、別のフォルダに変わっています";
        case IdentityError::FileChanged:
            return "一覧に表示した後で、別のファイルに置き換えられています";
        }
        return "不明なエラーです";
    }
};

} // namespace

const std::error_category& identityErrorCategory()
{
    static const IdentityErrorCategory category;
    return category;
}

std::error_code makeError(IdentityError error)
{
    return {static_cast<int>(error), identityErrorCategory()};
}

std::error_code checkFolder(platform::FileSystem& fileSystem, std::string_view folder,
                            const platform::FileIdentity& expected, platform::FileIdentity& found)
{
    if (folder.empty() || fileSystem.identifyFolder(folder, found) ||
        (expected.known() && found != expected)) {
        return makeError(IdentityError::FolderChanged);
    }
    return {};
}

std::error_code checkEntry(platform::FileSystem& fileSystem, std::string_view path,
                           const platform::FileIdentity& expected, platform::EntryStamp& found)
{
    if (const std::error_code error = fileSystem.identify(path, found)) {
        return error;
    }
    if (expected.known() && found.identity != expected) {
        return makeError(IdentityError::FileChanged);
    }
    return {};
}

std::error_code checkEntry(platform::FileSystem& fileSystem, std::string_view path,
                           const platform::FileIdentity& expected)
{
    platform::EntryStamp found;
    return checkEntry(fileSystem, path, expected, found);
}

std::string folderChangedMessage(std::string_view folder)
{
    std::string message = makeError(IdentityError::FolderChanged).message();
    message += "。何も変更しませんでした\r\n\r\n";
    message += folder;
    return message;
}

} // namespace quorvane::core
