#include "Identity.h"

#include "core/text/Translation.h"

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
            return translate("IdentityError", "一覧のフォルダが削除されたか、別のフォルダに変わっています");
        case IdentityError::FileChanged:
            return translate("IdentityError", "一覧に表示した後で、別のファイルに置き換えられています");
        }
        return translate("IdentityError", "不明なエラーです");
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
    std::string message = withArguments(translate("Listing", "%1。何も変更しませんでした"),
                                        {makeError(IdentityError::FolderChanged).message()});
    message += "\r\n\r\n";
    message += folder;
    return message;
}

} // namespace quorvane::core
