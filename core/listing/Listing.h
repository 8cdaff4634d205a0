#pragma once

#include "FileTable.h"
#include "core/text/Translation.h"
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
    bool numericDigits = false; // the name sort weighs runs of digits by their value
};

struct ListingResult
{
    int fileCount = 0;
    // "0 File(s)", "1 File(s)", "25 File(s)"; "読込エラー" for a failed read; in the user's language
    std::string statusText;
    bool operationsEnabled = false; // the operation controls are on when a file was found
    std::string errorMessage;       // why a folder could not be read to its end; empty when it was
};

inline constexpr const char* readFailureStatus = QT_TRANSLATE_NOOP("Listing", "読込エラー");

// Lists the folder into the before list, one row per entry in the order a press on the name
// column's header gives (gridSort), with each file's identity and the folder's own, sizes the after
// list to match with every file-row cell empty, and selects row 1 in both. A folder that does not
// exist, or an unusable pattern, lists as empty without a message; a folder that exists but cannot
// be read to its end lists as empty with the error, never as a shorter folder.
ListingResult listFolder(platform::FileSystem& fileSystem, const ListingOptions& options, FileTable& before,
                         FileTable& after);

// Empties both lists as a listing of nothing does, and forgets the listed folder.
ListingResult clearLists(FileTable& before, FileTable& after);

// What the window says when the listed folder is deleted or moved away: its rows name nothing any
// more, so the lists are emptied rather than filled with a neighbouring folder.
std::string lostFolderMessage(std::string_view folder);

// The status text of a listing of count files, in the user's language: "25 File(s)".
std::string fileCountText(int count);

// The row the listing writes for one entry.
FileRow listingRow(const platform::DirectoryEntry& entry, std::string_view thousandsSeparator,
                   platform::LocalTimeConverter& toLocal);

} // namespace quorvane::core
