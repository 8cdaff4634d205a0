#include "core/runs/TimestampChange.h"

#include "RunSupport.h"
#include "core/listing/TextForms.h"
#include "support/CaseName.h"

#include <gtest/gtest.h>

namespace quorvane::core {
namespace {

using testing::DiskFile;
using testing::diskFiles;
using testing::FaultyFileSystem;
using testing::TempFolder;
using testing::WriteCall;

const TimestampOptions chosen{platform::LocalDateTime{2006, 5, 4, 9, 5, 7},
                              platform::LocalDateTime{2007, 12, 31, 23, 59, 58}};

TEST(TimestampPreview, WritesTheChosenTimesAndKeepsNameSizeCreatedAndAttributes)
{
    FileTable before;
    before.setRowCount(3);
    before.setRow(1, FileRow("a.txt", "1 KB", "2001/01/01 01:01:01", "2002/02/02 02:02:02",
                             "2003/03/03 03:03:03", "R---"));
    before.setRow(2, FileRow("b.txt", "2 KB", "", "2004/04/04 04:04:04", "2005/05/05 05:05:05", "-H-A"));
    FileTable after;
    planTimestampChange(before, after, chosen);
    ASSERT_EQ(after.rowCount(), 3);
    EXPECT_EQ(after.row(1), FileRow("a.txt", "1 KB", "2001/01/01 01:01:01", "2006/05/04 09:05:07",
                                    "2007/12/31 23:59:58", "R---"));
    EXPECT_EQ(after.row(2),
              FileRow("b.txt", "2 KB", "", "2006/05/04 09:05:07", "2007/12/31 23:59:58", "-H-A"));
}

TEST(TimestampRun, SetsTheChosenTimesOnEveryFileReadOnlyOnesToo)
{
    const TempFolder folder;
    folder.writeFile("a.txt");
    folder.writeFile("locked.txt");
    chmod(folder.pathOf("locked.txt").c_str(), 0444);
    FaultyFileSystem fileSystem;
    UndoSnapshot snapshot;
    const FileTable before = testing::tableOfNames({"a.txt", "locked.txt"});
    const ChangeRunResult result =
        runTimestampChange(before, before, folder.path(), chosen, fileSystem, snapshot);
    EXPECT_EQ(result.message, "ファイル日付の変更が完了しました");
    EXPECT_TRUE(result.failures.empty());
    EXPECT_EQ(snapshot.size(), 2u);
    for (const auto& [name, file] : diskFiles(folder)) {
        EXPECT_EQ(timestampText(platform::FileTime{file.modified.tv_sec, 0}), "2006/05/04 09:05:07") << name;
        EXPECT_EQ(timestampText(platform::FileTime{file.accessed.tv_sec, 0}), "2007/12/31 23:59:58") << name;
    }
}

TEST(TimestampRun, AFileThatCannotBeChangedIsNamedAndTheOthersAreStillChanged)
{
    const TempFolder folder;
    for (const char* name : {"a.txt", "b.txt", "c.txt"}) {
        folder.writeFile(name);
    }
    FaultyFileSystem fileSystem;
    fileSystem.fault = FaultyFileSystem::failing(WriteCall::SetTimes, "b.txt");
    UndoSnapshot snapshot;
    const FileTable before = testing::tableOfNames({"a.txt", "b.txt", "gone.txt", "c.txt"});
    const ChangeRunResult result =
        runTimestampChange(before, before, folder.path(), chosen, fileSystem, snapshot);
    EXPECT_EQ(result.message, "ファイル日付の変更が完了しました\r\n\r\n"
                              "次の 2 個のファイルは日付を変更できませんでした：\r\nb.txt\r\ngone.txt");
    const auto files = diskFiles(folder);
    EXPECT_EQ(timestampText(platform::FileTime{files.at("a.txt").modified.tv_sec, 0}), "2006/05/04 09:05:07");
    EXPECT_EQ(timestampText(platform::FileTime{files.at("c.txt").modified.tv_sec, 0}), "2006/05/04 09:05:07");
    EXPECT_NE(timestampText(platform::FileTime{files.at("b.txt").modified.tv_sec, 0}), "2006/05/04 09:05:07");
}

TEST(TimestampRun, ADateTheCalendarLacksFailsEveryFileWithOurOwnText)
{
    const TempFolder folder;
    folder.writeFile("a.txt");
    FaultyFileSystem fileSystem;
    UndoSnapshot snapshot;
    const TimestampOptions skipped{platform::LocalDateTime{2021, 2, 31, 2, 30, 0},
                                   platform::LocalDateTime{2021, 3, 1, 2, 30, 0}};
    const ChangeRunResult result =
        runTimestampChange(testing::tableOfNames({"a.txt"}), testing::tableOfNames({"a.txt"}), folder.path(),
                           skipped, fileSystem, snapshot);
    ASSERT_EQ(result.failures.size(), 1u);
    EXPECT_EQ(platform::errorText(result.failures[0].error), "指定された日時は現地時刻に存在しません");
}

struct ChosenTimesCase
{
    const char* says;
    bool modified;
    bool accessed;
};

const ChosenTimesCase chosenTimes[] = {
    {"only the modified time is set", true, false},
    {"only the accessed time is set", false, true},
    {"with neither chosen both stay", false, false},
};

class TimeNotChosen : public ::testing::TestWithParam<ChosenTimesCase>
{};

TEST_P(TimeNotChosen, IsLeftAsTheFileHasItInThePreviewAndTheRun)
{
    const ChosenTimesCase& c = GetParam();
    const TimestampOptions options{c.modified ? chosen.modified : std::nullopt,
                                   c.accessed ? chosen.accessed : std::nullopt};
    FileTable before;
    before.setRowCount(2);
    before.setRow(1, FileRow("a.txt", "1 KB", "", "2002/02/02 02:02:02", "2003/03/03 03:03:03", "----"));
    FileTable after;
    planTimestampChange(before, after, options);
    EXPECT_EQ(after.cell(ModifiedColumn, 1), c.modified ? "2006/05/04 09:05:07" : "2002/02/02 02:02:02");
    EXPECT_EQ(after.cell(AccessedColumn, 1), c.accessed ? "2007/12/31 23:59:58" : "2003/03/03 03:03:03");

    const TempFolder folder;
    folder.writeFile("a.txt");
    const timespec ownAccessed{1'100'000'000, 123'456'789};
    const timespec ownModified{1'200'000'000, 987'654'321};
    folder.setTimes("a.txt", ownAccessed, ownModified);
    FaultyFileSystem fileSystem;
    UndoSnapshot snapshot;
    const ChangeRunResult result =
        runTimestampChange(before, after, folder.path(), options, fileSystem, snapshot);
    EXPECT_TRUE(result.failures.empty());
    const DiskFile file = diskFiles(folder).at("a.txt");
    if (c.modified) {
        EXPECT_EQ(timestampText(platform::FileTime{file.modified.tv_sec, 0}), "2006/05/04 09:05:07");
    } else {
        EXPECT_EQ(file.modified.tv_sec, ownModified.tv_sec);
        EXPECT_EQ(file.modified.tv_nsec, ownModified.tv_nsec);
    }
    if (c.accessed) {
        EXPECT_EQ(timestampText(platform::FileTime{file.accessed.tv_sec, 0}), "2007/12/31 23:59:58");
    } else {
        EXPECT_EQ(file.accessed.tv_sec, ownAccessed.tv_sec);
        EXPECT_EQ(file.accessed.tv_nsec, ownAccessed.tv_nsec);
    }
}

INSTANTIATE_TEST_SUITE_P(TimestampChange, TimeNotChosen, ::testing::ValuesIn(chosenTimes),
                         testing::SaysName());

TEST(TimestampPreviewAndRun, RefuseALocalTimeThatTheClocksSkipAlike)
{
    const testing::TimeZone zone("Europe/Berlin");
    const TempFolder folder;
    folder.writeFile("a.txt");
    const auto starting = diskFiles(folder);
    const TimestampOptions skipped{platform::LocalDateTime{2021, 3, 28, 2, 30, 0},
                                   platform::LocalDateTime{2021, 3, 1, 12, 0, 0}};
    const FileTable before = testing::tableOfNames({"a.txt"});
    FileTable after = testing::tableOfNames({"the earlier plan"});
    EXPECT_EQ(planTimestampChange(before, after, skipped), makeError(RunError::UnusableTime));
    EXPECT_EQ(after.cell(NameColumn, 1), "the earlier plan");

    FaultyFileSystem fileSystem;
    UndoSnapshot snapshot;
    const ChangeRunResult result =
        runTimestampChange(before, before, folder.path(), skipped, fileSystem, snapshot);
    ASSERT_EQ(result.failures.size(), 1u);
    EXPECT_EQ(result.failures[0].error, makeError(RunError::UnusableTime));
    EXPECT_TRUE(diskFiles(folder).at("a.txt").sameTimesAndMode(starting.at("a.txt")));
}

} // namespace
} // namespace quorvane::core
