#include "Listing.h"

#include "RowOrder.h"
#include "TextForms.h"
#include "core/text/Translation.h"
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
    return FileRow(entry.name, sizeText(entry.size, thousandsSeparator), created.view(), modified.view(),
                   accessed.view(), attributeText(entry.attributes));
}

std::string fileCountText(int count)
{
    return translate("Listing", "%n File(s)", nullptr, count);
}

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

    std::vector<FileRow> rows;
    // A failure to read the folder shows as an empty folder, whatever rows came before it.
    const std::error_code error = fileSystem.enumerate(
        options.folder, pattern, extraAttributes, [&](const platform::DirectoryEntry& entry) {
            rows.push_back(listingRow(entry, separator, toLocal));
        });
    if (error) {
        rows.clear();
    }
    // The system returns entries in the order its directory index keeps them, which on Linux is a
    // hash order; the lists show them as a press on the name column's header sorts them.
    sortRows(rows, NameColumn, platform::SortCollator());

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

} // namespace quorvane::core
