#pragma once

#include "FileTable.h"
#include "platform/FileSystem.h"
#include "platform/LocalTime.h"

#include <string>

namespace quorvane::core {

struct ListingOptions
{
    std::string folder;  // the selected folder's path
    std::string pattern; // as typed; empty lists with "*.*"
    bool hideHidden = false;
    bool hideSystem = false;
};

struct ListingResult
{
    int fileCount = 0;
    std::string statusText;         // "0 File(s)", "1 File(s)", "25 File(s)" in the user's language
    bool operationsEnabled = false; // the operation controls are on when a file was found
};

// Lists the folder into the before list, one row per entry in the order a press on the name
// column's header gives (gridSort), sizes the after list to match with every file-row cell empty,
// and selects row 1 in both. A folder that cannot be read, or an unusable pattern, lists as empty
// without a message.
ListingResult listFolder(platform::FileSystem& fileSystem, const ListingOptions& options, FileTable& before,
                         FileTable& after);

// The status text of a listing of count files, in the user's language: "25 File(s)".
std::string fileCountText(int count);

// The row the listing writes for one entry.
FileRow listingRow(const platform::DirectoryEntry& entry, std::string_view thousandsSeparator,
                   platform::LocalTimeConverter& toLocal);

} // namespace quorvane::core
