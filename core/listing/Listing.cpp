#include "Listing.h"

#include "Identity.h"
#include "RowOrder.h"
#include "TextForms.h"
#include "core/text/Translation.h"
#include "platform/ErrorCode.h"
#include "platform/Locale.h"

namespace quorvane::core {

FileRow listingRow(const platform::DirectoryEntry& entry, std::string_view thousandsSeparator,
                   platform::LocalTimeConverter& toLocal)
{
    TimestampChars created;
    if (entry.created) {
        created = timestampChars(toLocal(entry.created->seconds));
    }
    const TimestampChars modified = timestampChars(toLocal(entry.modified.seconds));
    const TimestampChars accessed = timestampChars(toLocal(entry.accessed.seconds));
    FileRow row(entry.name, sizeText(entry.size, thousandsSeparator), created.view(), modified.view(),
                accessed.view(), attributeText(entry.attributes));
    row.setIdentity(entry.identity);
    row.setListedModified(entry.modified);
    return row;
}

std::string fileCountText(int count)
{
    return translate("Listing", "%n File(s)", nullptr, count);
}

namespace {

ListingResult showRows(std::vector<FileRow>&& rows, FileTable& before, FileTable& after)
{
    ListingResult result;
    result.fileCount = static_cast<int>(rows.size());
    result.operationsEnabled = !rows.empty();
    result.statusText = fileCountText(static_cast<int>(rows.size()));

    before.replaceFileRows(std::move(rows));
    after.clearFileRows(before.rowCount());
    const Selection selection = before.selection();
    after.setSelection(selection.first, selection.last);
    return result;
}

} // namespace

ListingResult listFolder(platform::FileSystem& fileSystem, const ListingOptions& options, FileTable& before,
                         FileTable& after)
{
    const std::string pattern = options.pattern.empty() ? std::string("*.*") : options.pattern;
    std::uint32_t extraAttributes = 0;
    if (!options.hideHidden) {
        extraAttributes |= platform::AttributeBit::Hidden;
    }
    if (!options.hideSystem) {
        extraAttributes |= platform::AttributeBit::System;
    }
    const std::string separator = platform::thousandsSeparator();
    platform::LocalTimeConverter toLocal;

    // A folder that is not there lists as empty, as it always has.
    ListedFolder listed{options.folder, {}};
    if (options.folder.empty() || fileSystem.identifyFolder(options.folder, listed.identity)) {
        return clearLists(before, after);
    }
    std::vector<FileRow> rows;
    const std::error_code error = fileSystem.enumerate(
        options.folder, pattern, extraAttributes, [&](const platform::DirectoryEntry& entry) {
            rows.push_back(listingRow(entry, separator, toLocal));
        });
    if (error) {
        // The rows read before the failure are not the folder: the user sees none of them and why.
        ListingResult result = clearLists(before, after);
        result.statusText = translate("Listing", readFailureStatus);
        result.errorMessage =
            withArguments(translate("Listing", "フォルダを最後まで読み込めませんでした：%1"),
                          {options.folder}) +
            "\r\n\r\n" + platform::errorText(error);
        return result;
    }
    // The system returns entries in the order its directory index keeps them, which on Linux is a
    // hash order; the lists show them as a press on the name column's header sorts them.
    platform::SortCollator collator;
    collator.setNumericDigits(options.numericDigits);
    sortRows(rows, NameColumn, collator);
    before.setListedFolder(std::move(listed));
    return showRows(std::move(rows), before, after);
}

ListingResult clearLists(FileTable& before, FileTable& after)
{
    before.setListedFolder({});
    return showRows({}, before, after);
}

std::string lostFolderMessage(std::string_view folder)
{
    std::string message = withArguments(translate("Listing", "%1。一覧を空にしました"),
                                        {makeError(IdentityError::FolderChanged).message()});
    message += "\r\n\r\n";
    message += folder;
    return message;
}

} // namespace quorvane::core
