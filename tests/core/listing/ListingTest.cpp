#include "core/listing/Listing.h"

#include "core/listing/RowOrder.h"
#include "core/listing/TextForms.h"
#include "platform/ErrorCode.h"
#include "platform/Locale.h"
#include "platform/posix/PosixFileSystem.h"
#include "support/TempFolder.h"
#include "support/UnreadableFolder.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <random>

namespace quorvane::core {
namespace {

using testing::TempFolder;
using testing::TimeZone;

struct Lists
{
    FileTable before;
    FileTable after;
    ListingResult result;
};

Lists list(const ListingOptions& options)
{
    platform::PosixFileSystem fileSystem;
    Lists lists;
    lists.before.setRow(0, beforeListHeader());
    lists.after.setRow(0, afterListHeader());
    lists.result = listFolder(fileSystem, options, lists.before, lists.after);
    return lists;
}

std::vector<std::string> names(const FileTable& table)
{
    std::vector<std::string> column = table.column(NameColumn);
    column.erase(column.begin());
    std::sort(column.begin(), column.end());
    return column;
}

void expectEmptyFolder(const Lists& lists)
{
    EXPECT_EQ(lists.result.statusText, "0 File(s)");
    EXPECT_FALSE(lists.result.operationsEnabled);
    EXPECT_EQ(lists.before.rowCount(), 2);
    EXPECT_EQ(lists.after.rowCount(), 2);
    EXPECT_TRUE(lists.before.row(1).blank());
    EXPECT_TRUE(lists.after.row(1).blank());
}

TEST(Listing, AFolderWithOnlySubfoldersListsAsEmpty)
{
    const TempFolder folder;
    folder.makeFolder("one");
    folder.makeFolder("two");
    expectEmptyFolder(list({folder.path(), "", false, false}));
}

TEST(Listing, WhatCannotBeListedListsAsEmptyWithoutComplaint)
{
    const TempFolder folder;
    folder.writeFile("file.txt");
    for (const ListingOptions& options : {
             ListingOptions{folder.pathOf("missing"), "*.*", false, false},
             ListingOptions{folder.pathOf("file.txt"), "*.*", false, false},
             ListingOptions{"", "*.*", false, false},
             ListingOptions{folder.path(), "sub/*.txt", false, false},
             ListingOptions{folder.path(), "[f]ile.txt", false, false},
         }) {
        SCOPED_TRACE(options.folder + " " + options.pattern);
        expectEmptyFolder(list(options));
    }
}

TEST(Listing, AFolderThatFailsPartWayListsAsEmptyAndSaysWhyInsteadOfShowingPartOfIt)
{
    const testing::UnreadableFolder unreadable;
    const Lists lists = list({unreadable.path(), "*", false, false});
    EXPECT_EQ(lists.result.statusText, "読込エラー");
    EXPECT_EQ(lists.result.errorMessage, "フォルダを最後まで読み込めませんでした：" + unreadable.path() +
                                             "\r\n\r\n" +
                                             platform::errorText(platform::errorFromErrno(EINVAL)));
    EXPECT_FALSE(lists.result.operationsEnabled);
    EXPECT_TRUE(lists.before.row(1).blank());
    EXPECT_TRUE(lists.before.listedFolder().path.empty());
}

TEST(Listing, RecordsTheFolderAndEachFileByIdentity)
{
    const TempFolder folder;
    folder.writeFile("a.txt");
    const Lists lists = list({folder.path(), "", false, false});
    platform::PosixFileSystem fileSystem;
    platform::EntryStamp file;
    platform::FileIdentity listedFolder;
    ASSERT_FALSE(fileSystem.identify(folder.pathOf("a.txt"), file));
    ASSERT_FALSE(fileSystem.identifyFolder(folder.path(), listedFolder));
    EXPECT_EQ(lists.before.row(1).identity(), file.identity);
    EXPECT_EQ(lists.before.listedFolder(), (ListedFolder{folder.path(), listedFolder}));
    EXPECT_TRUE(lists.result.errorMessage.empty());
}

TEST(Listing, OneMatchingFileFillsRowOne)
{
    const TempFolder folder;
    folder.writeFile("only.txt", std::string(1536, 'x'));
    folder.writeFile("other.log");
    const Lists lists = list({folder.path(), "*.txt", false, false});
    EXPECT_EQ(lists.result.statusText, "1 File(s)");
    EXPECT_TRUE(lists.result.operationsEnabled);
    ASSERT_EQ(lists.before.rowCount(), 2);
    EXPECT_EQ(lists.before.cell(NameColumn, 1), "only.txt");
    EXPECT_EQ(lists.before.cell(SizeColumn, 1), "2 KB");
    EXPECT_EQ(lists.before.cell(AttributesColumn, 1), "----");
}

TEST(Listing, AnEmptyPatternListsEveryFile)
{
    const TempFolder folder;
    for (const char* name : {"a.txt", "README", ".hidden", "b.tar.gz"}) {
        folder.writeFile(name);
    }
    const Lists lists = list({folder.path(), "", false, false});
    EXPECT_EQ(lists.result.statusText, "4 File(s)");
    EXPECT_EQ(names(lists.before), (std::vector<std::string>{".hidden", "README", "a.txt", "b.tar.gz"}));
}

TEST(Listing, PatternsOfOnlyWildcardsListAsTheySay)
{
    const TempFolder folder;
    for (const char* name : {"a", "bb", "ccc.txt"}) {
        folder.writeFile(name);
    }
    EXPECT_EQ(list({folder.path(), "*", false, false}).result.fileCount, 3);
    EXPECT_EQ(names(list({folder.path(), "?", false, false}).before), (std::vector<std::string>{"a"}));
    EXPECT_EQ(names(list({folder.path(), "??", false, false}).before), (std::vector<std::string>{"bb"}));
}

TEST(Listing, HideOptionsLeaveOutHiddenAndSystemFiles)
{
    const TempFolder folder;
    folder.writeFile("plain.txt");
    folder.writeFile(".dotfile");
    folder.writeFile("hidden.txt");
    folder.setDosAttrib("hidden.txt", "0x22");
    folder.writeFile("system.txt");
    folder.setDosAttrib("system.txt", "0x4");
    folder.writeFile("both.txt");
    folder.setDosAttrib("both.txt", "0x6");

    EXPECT_EQ(names(list({folder.path(), "", true, true}).before), (std::vector<std::string>{"plain.txt"}));
    EXPECT_EQ(names(list({folder.path(), "", true, false}).before),
              (std::vector<std::string>{"plain.txt", "system.txt"}));
    EXPECT_EQ(names(list({folder.path(), "", false, true}).before),
              (std::vector<std::string>{".dotfile", "hidden.txt", "plain.txt"}));

    const Lists all = list({folder.path(), "", false, false});
    EXPECT_EQ(all.result.statusText, "5 File(s)");
    for (int row = 1; row < all.before.rowCount(); ++row) {
        if (all.before.cell(NameColumn, row) == "hidden.txt") {
            EXPECT_EQ(all.before.cell(AttributesColumn, row), "-H-A");
        }
        if (all.before.cell(NameColumn, row) == ".dotfile") {
            EXPECT_EQ(all.before.cell(AttributesColumn, row), "-H--");
        }
    }
}

TEST(Listing, NamesThatAreNotUtf8AreKeptByteForByte)
{
    const TempFolder folder;
    const std::string shiftJis = "\x83\x5C\x83\x74\x83\x67.txt";
    const std::string latin1 = "caf\xe9.txt";
    folder.writeFile(shiftJis);
    folder.writeFile(latin1);
    EXPECT_EQ(names(list({folder.path(), "*.txt", false, false}).before),
              (std::vector<std::string>{latin1, shiftJis}));
}

TEST(Listing, RowsComeInTheOrderAPressOnTheNameHeaderGivesWhateverOrderTheFolderKeeps)
{
    const TempFolder folder;
    std::vector<std::string> expected = {".directory",   "10 KB.txt",    "9 KB.txt",    "apple.txt",
                                         "Banana.txt",   "cherry.txt",   "co-op.txt",   "coop.txt",
                                         "IMG_0009.jpg", "IMG_0010.jpg", "img_0011.jpg"};
    for (int i = 0; i < 300; ++i) {
        expected.push_back("scan" +
                           std::string(i < 10    ? "00"
                                       : i < 100 ? "0"
                                                 : "") +
                           std::to_string(i) + ".png");
    }
    // Created in a shuffled order, so neither the creation order nor the folder's own order is the
    // name order by chance.
    std::vector<std::string> creation = expected;
    std::mt19937 shuffle(20240607);
    std::shuffle(creation.begin(), creation.end(), shuffle);
    for (const std::string& name : creation) {
        folder.writeFile(name);
    }
    const Lists lists = list({folder.path(), "", false, false});
    std::vector<std::string> listed = lists.before.column(NameColumn);
    listed.erase(listed.begin());
    EXPECT_EQ(listed, expected);

    FileTable pressed = lists.before;
    gridSort(pressed, NameColumn, platform::SortCollator());
    EXPECT_EQ(pressed.column(NameColumn), lists.before.column(NameColumn))
        << "a press on the name header finds the rows already in its order";
}

TEST(Listing, TheAfterListMatchesInSizeAndIsEmpty)
{
    const TempFolder folder;
    for (const char* name : {"a", "b", "c"}) {
        folder.writeFile(name);
    }
    platform::PosixFileSystem fileSystem;
    FileTable before;
    FileTable after;
    after.setRow(0, afterListHeader());
    after.setRowCount(9);
    after.setCell(NameColumn, 2, "left over from a preview");
    before.setRowCount(9);
    before.setSelection(4, 6);
    listFolder(fileSystem, {folder.path(), "", false, false}, before, after);

    EXPECT_EQ(after.rowCount(), 4);
    EXPECT_EQ(after.row(0), afterListHeader());
    for (int row = 1; row < after.rowCount(); ++row) {
        EXPECT_TRUE(after.row(row).blank()) << row;
    }
    EXPECT_EQ(before.selection(), (Selection{1, 1}));
    EXPECT_EQ(after.selection(), (Selection{1, 1}));
}

TEST(Listing, TimesAreShownInTheLocalZoneOfTheirInstant)
{
    const TempFolder folder;
    folder.writeFile("winter.txt");
    folder.writeFile("summer.txt");
    folder.setTimes("winter.txt", {1073001599, 500000000}, {1078783500, 0});
    folder.setTimes("summer.txt", {1625133600, 0}, {1625133600, 999999999});

    const auto cellsOf = [&](const Lists& lists, const char* name) {
        for (int row = 1; row < lists.before.rowCount(); ++row) {
            if (lists.before.cell(NameColumn, row) == name) {
                return lists.before.row(row);
            }
        }
        return FileRow();
    };
    {
        const TimeZone zone("Asia/Tokyo");
        const Lists lists = list({folder.path(), "", false, false});
        EXPECT_EQ(cellsOf(lists, "winter.txt")[ModifiedColumn], "2004/03/09 07:05:00");
        EXPECT_EQ(cellsOf(lists, "winter.txt")[AccessedColumn], "2004/01/02 08:59:59");
        EXPECT_EQ(cellsOf(lists, "summer.txt")[ModifiedColumn], "2021/07/01 19:00:00");
        EXPECT_EQ(cellsOf(lists, "summer.txt")[CreatedColumn].size(), 19u);
    }
    {
        const TimeZone zone("Europe/Berlin");
        const Lists lists = list({folder.path(), "", false, false});
        EXPECT_EQ(cellsOf(lists, "winter.txt")[AccessedColumn], "2004/01/02 00:59:59");
        EXPECT_EQ(cellsOf(lists, "summer.txt")[ModifiedColumn], "2021/07/01 12:00:00");
    }
}

TEST(Listing, ABirthTimeTheFileSystemDoesNotReportGivesAnEmptyCell)
{
    platform::DirectoryEntry entry;
    entry.name = "x";
    entry.size = 10;
    platform::LocalTimeConverter toLocal;
    const FileRow row = listingRow(entry, ",", toLocal);
    EXPECT_EQ(row[CreatedColumn], "");
    EXPECT_EQ(row[ModifiedColumn].size(), 19u);
}

} // namespace
} // namespace quorvane::core
