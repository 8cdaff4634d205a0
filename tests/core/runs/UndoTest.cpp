#include "core/runs/Undo.h"

#include "RunSupport.h"
#include "core/listing/Listing.h"
#include "core/listing/RowOrder.h"
#include "core/listing/TextForms.h"
#include "core/runs/AttributeChange.h"
#include "core/runs/RenameRun.h"
#include "core/runs/TimestampChange.h"
#include "platform/Locale.h"
#include "support/CaseName.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sys/xattr.h>

namespace quorvane::core {
namespace {

using testing::at;
using testing::DiskFile;
using testing::diskFiles;
using testing::FaultyFileSystem;
using testing::TempFolder;
using testing::WriteCall;

Answer answerNo(const std::string&)
{
    return Answer::No;
}

// Writes files whose times carry nanoseconds and whose modes differ, so that an undo that restores
// anything less than the exact state shows.
void writeStampedFiles(const TempFolder& folder, const std::vector<std::string>& names)
{
    for (std::size_t i = 0; i < names.size(); ++i) {
        folder.writeFile(names[i], "content of " + names[i]);
        const auto n = static_cast<long>(i);
        folder.setTimes(names[i], at(1'300'000'000 + n * 1000, 123'456'789 - n),
                        at(1'200'000'000 + n * 1000, 987'654'321 - n));
        chmod(folder.pathOf(names[i]).c_str(), i % 2 == 0 ? 0640 : 0444);
    }
}

std::map<std::string, std::string> contentsByName(const TempFolder& folder)
{
    std::map<std::string, std::string> files;
    for (const auto& [name, file] : diskFiles(folder)) {
        files.emplace(name, file.content);
    }
    return files;
}

// The disk as a map from each file's content to its name and state.
std::map<std::string, std::pair<std::string, DiskFile>> byContent(const TempFolder& folder)
{
    std::map<std::string, std::pair<std::string, DiskFile>> files;
    for (const auto& [name, file] : diskFiles(folder)) {
        files.emplace(file.content, std::make_pair(name, file));
    }
    return files;
}

void expectRestored(const std::map<std::string, std::pair<std::string, DiskFile>>& expected,
                    const TempFolder& folder)
{
    const auto now = byContent(folder);
    ASSERT_EQ(now.size(), expected.size());
    for (const auto& [content, place] : expected) {
        SCOPED_TRACE(place.first);
        ASSERT_TRUE(now.count(content));
        EXPECT_EQ(now.at(content).first, place.first);
        EXPECT_TRUE(now.at(content).second.sameTimesAndMode(place.second));
    }
}

struct UndoCase
{
    const char* says;
    std::vector<std::string> names;
    std::vector<std::string> planned;
};

void PrintTo(const UndoCase& c, std::ostream* out)
{
    *out << c.says;
}

const UndoCase renameUndoCases[] = {
    {"undo after a rename run restores names times and modes exactly",
     {"a.txt", "b.txt"},
     {"1.txt", "2.txt"}},
    {"undo of a chain restores both files", {"a.txt", "b.txt"}, {"x.txt", "a.txt"}},
    {"undo of a longer chain restores every file", {"a", "b", "c", "d"}, {"z", "a", "b", "c"}},
    {"undo after a failed duplicate writes nothing onto the renamed file",
     {"a.txt", "b.txt"},
     {"x.txt", "x.txt"}},
    {"undo after an unusable name leaves that file as it was", {"a.txt", "b.txt"}, {"", "c.txt"}},
};

class UndoOfRenames : public ::testing::TestWithParam<UndoCase>
{};

TEST_P(UndoOfRenames, PutsEveryFileBack)
{
    const UndoCase& c = GetParam();
    const TempFolder folder;
    writeStampedFiles(folder, c.names);
    const auto starting = byContent(folder);
    FaultyFileSystem fileSystem;
    UndoSnapshot snapshot;
    const RenameRunResult run = runRenames(testing::tableOfNames(c.names), testing::tableOfNames(c.planned),
                                           folder.path(), fileSystem, snapshot, answerNo);
    ASSERT_FALSE(run.rolledBack);

    const UndoResult undo = undoLastRun(snapshot, fileSystem);
    EXPECT_EQ(undo.message, "変更の取り消しが完了しました");
    EXPECT_TRUE(snapshot.empty());
    expectRestored(starting, folder);
}

INSTANTIATE_TEST_SUITE_P(Plans, UndoOfRenames, ::testing::ValuesIn(renameUndoCases), testing::SaysName());

TEST(Undo, ARenameBackThatFailsLeavesTheFileUnderItsNewNameAsItIsAndSparesTheNameHolder)
{
    const TempFolder folder;
    writeStampedFiles(folder, {"a.txt"});
    FaultyFileSystem fileSystem;
    UndoSnapshot snapshot;
    runRenames(testing::tableOfNames({"a.txt"}), testing::tableOfNames({"x.txt"}), folder.path(), fileSystem,
               snapshot, answerNo);
    const DiskFile original = byContent(folder).at("content of a.txt").second;
    // Another file takes the old name, and the renamed file is read (its access time moves), before
    // the undo.
    folder.writeFile("a.txt", "newcomer");
    folder.setTimes("a.txt", at(5, 5), at(6, 6));
    folder.setTimes("x.txt", at(7, 7), original.modified);
    const DiskFile newcomer = diskFiles(folder).at("a.txt");
    const DiskFile read = diskFiles(folder).at("x.txt");

    const UndoResult undo = undoLastRun(snapshot, fileSystem);
    EXPECT_EQ(undo.message,
              "変更を取り消せませんでした\r\n\r\n次の 1 個のファイルは元に戻せませんでした：\r\na.txt");
    const auto files = diskFiles(folder);
    EXPECT_EQ(files.at("x.txt").content, "content of a.txt");
    EXPECT_TRUE(files.at("x.txt").sameTimesAndMode(read)) << "a rename changed no time, so none is written";
    EXPECT_EQ(files.at("a.txt").content, "newcomer");
    EXPECT_TRUE(files.at("a.txt").sameTimesAndMode(newcomer));
}

TEST(Undo, AfterATimestampRunRestoresNanosecondsAlsoOfReadOnlyFiles)
{
    const TempFolder folder;
    writeStampedFiles(folder, {"a.txt", "b.txt", "c.txt"});
    const auto starting = byContent(folder);
    FaultyFileSystem fileSystem;
    FileTable before;
    FileTable after;
    listFolder(fileSystem, {folder.path(), "*.*", false, false}, before, after);
    const TimestampOptions options{platform::LocalDateTime{2006, 5, 4, 9, 5, 7},
                                   platform::LocalDateTime{2007, 6, 5, 10, 6, 8}};
    planTimestampChange(before, after, options);
    UndoSnapshot snapshot;
    const ChangeRunResult run =
        runTimestampChange(before, after, folder.path(), options, fileSystem, snapshot);
    ASSERT_EQ(run.message, "ファイル日付の変更が完了しました");
    for (const auto& [name, file] : diskFiles(folder)) {
        EXPECT_EQ(timestampText(platform::FileTime{file.modified.tv_sec, 0}), "2006/05/04 09:05:07") << name;
        EXPECT_EQ(file.modified.tv_nsec, 0) << name;
    }

    EXPECT_EQ(undoLastRun(snapshot, fileSystem).message, "変更の取り消しが完了しました");
    expectRestored(starting, folder);
}

TEST(Undo, AfterAnAttributeRunRestoresModesAndDosBits)
{
    const TempFolder folder;
    writeStampedFiles(folder, {"a.txt", "b.txt"});
    folder.setDosAttrib("a.txt", "0x22");
    const auto starting = byContent(folder);
    FaultyFileSystem fileSystem;
    platform::FileState stateOfA;
    ASSERT_FALSE(fileSystem.readState(folder.pathOf("a.txt"), stateOfA));
    FileTable before;
    FileTable after;
    listFolder(fileSystem, {folder.path(), "*.*", false, false}, before, after);
    planAttributeChange(before, after, {true, false, true, false, AttributeMode::Replace});
    UndoSnapshot snapshot;
    const ChangeRunResult run = runAttributeChange(before, after, folder.path(), fileSystem, snapshot);
    ASSERT_EQ(run.message, "属性変更が完了しました");
    for (const auto& [name, file] : diskFiles(folder)) {
        EXPECT_EQ(file.mode & 0222, 0u) << name;
    }

    EXPECT_EQ(undoLastRun(snapshot, fileSystem).message, "変更の取り消しが完了しました");
    expectRestored(starting, folder);
    platform::FileState restored;
    ASSERT_FALSE(fileSystem.readState(folder.pathOf("a.txt"), restored));
    EXPECT_EQ(restored, stateOfA);
}

TEST(Undo, WithoutARecordedStateWritesTheListedTimesAndAttributes)
{
    const TempFolder folder;
    writeStampedFiles(folder, {"a.txt"});
    FaultyFileSystem fileSystem;
    FileTable before;
    FileTable after;
    listFolder(fileSystem, {folder.path(), "*.*", false, false}, before, after);
    const TimestampOptions options{platform::LocalDateTime{2006, 5, 4, 9, 5, 7},
                                   platform::LocalDateTime{2007, 6, 5, 10, 6, 8}};
    planTimestampChange(before, after, options);
    fileSystem.fault = FaultyFileSystem::failing(WriteCall::ReadState, "a.txt");
    UndoSnapshot snapshot;
    runTimestampChange(before, after, folder.path(), options, fileSystem, snapshot);
    ASSERT_FALSE(snapshot.BeforeStates[0]);
    fileSystem.fault = {};

    EXPECT_EQ(undoLastRun(snapshot, fileSystem).message, "変更の取り消しが完了しました");
    const DiskFile file = diskFiles(folder).at("a.txt");
    EXPECT_EQ(timestampText(platform::FileTime{file.modified.tv_sec, 0}), before.cell(ModifiedColumn, 1));
    EXPECT_EQ(timestampText(platform::FileTime{file.accessed.tv_sec, 0}), before.cell(AccessedColumn, 1));
    EXPECT_EQ(file.mode, 0640u); // listed without "R", so writable
}

TEST(Undo, AFailedRestoreIsNamedAndTheOthersAreStillRestored)
{
    const TempFolder folder;
    writeStampedFiles(folder, {"a.txt", "b.txt", "c.txt"});
    const auto starting = byContent(folder);
    FaultyFileSystem fileSystem;
    UndoSnapshot snapshot;
    const FileTable files = testing::tableOfNames({"a.txt", "b.txt", "c.txt"});
    runTimestampChange(
        files, files, folder.path(),
        {platform::LocalDateTime{2006, 5, 4, 9, 5, 7}, platform::LocalDateTime{2007, 6, 5, 10, 6, 8}},
        fileSystem, snapshot);
    fileSystem.fault = FaultyFileSystem::failing(WriteCall::RestoreState, "b.txt");
    const UndoResult undo = undoLastRun(snapshot, fileSystem);
    EXPECT_EQ(undo.message,
              "変更の取り消しが完了しました\r\n\r\n次の 1 個のファイルは元に戻せませんでした：\r\nb.txt");
    const auto now = byContent(folder);
    EXPECT_EQ(now.at("content of b.txt").first, "b.txt");
    for (const char* name : {"a.txt", "c.txt"}) {
        const std::string content = std::string("content of ") + name;
        EXPECT_EQ(now.at(content).first, name);
        EXPECT_TRUE(now.at(content).second.sameTimesAndMode(starting.at(content).second));
    }
}

TEST(Undo, AfterARunRolledBackCompletelyUndoesTheRunBeforeIt)
{
    const TempFolder folder;
    writeStampedFiles(folder, {"a.txt", "b.txt"});
    FaultyFileSystem fileSystem;
    UndoSnapshot snapshot;
    runRenames(testing::tableOfNames({"a.txt"}), testing::tableOfNames({"x.txt"}), folder.path(), fileSystem,
               snapshot, answerNo);
    const RenameRunResult second =
        runRenames(testing::tableOfNames({"x.txt", "b.txt"}), testing::tableOfNames({"y.txt", "y.txt"}),
                   folder.path(), fileSystem, snapshot, [](const std::string&) { return Answer::Yes; });
    ASSERT_TRUE(second.rolledBack);
    EXPECT_EQ(undoLastRun(snapshot, fileSystem).message, "変更の取り消しが完了しました");
    EXPECT_EQ(contentsByName(folder), (std::map<std::string, std::string>{{"a.txt", "content of a.txt"},
                                                                          {"b.txt", "content of b.txt"}}));
}

TEST(Undo, AfterAPartialRollbackPutsBackExactlyTheFilesStillRenamed)
{
    const TempFolder folder;
    writeStampedFiles(folder, {"a", "b", "c"});
    FaultyFileSystem fileSystem;
    UndoSnapshot snapshot;
    const RenameRunResult run =
        runRenames(testing::tableOfNames({"a", "b", "c"}), testing::tableOfNames({"x", "y", "x"}),
                   folder.path(), fileSystem, snapshot, [&](const std::string&) {
                       fileSystem.fault = FaultyFileSystem::failing(WriteCall::Rename, "x");
                       return Answer::Yes;
                   });
    ASSERT_EQ(run.rollbackFailures.size(), 1u);
    ASSERT_EQ(snapshot.size(), 1u);
    fileSystem.fault = {};
    EXPECT_EQ(undoLastRun(snapshot, fileSystem).message, "変更の取り消しが完了しました");
    EXPECT_EQ(contentsByName(folder),
              (std::map<std::string, std::string>{
                  {"a", "content of a"}, {"b", "content of b"}, {"c", "content of c"}}));
}

TEST(Undo, WithNothingRecordedSaysSoInsteadOfCompletion)
{
    FaultyFileSystem fileSystem;
    UndoSnapshot snapshot;
    EXPECT_EQ(undoLastRun(snapshot, fileSystem).message, "取り消す変更はありませんでした");
}

struct EditCase
{
    const char* says;
    std::function<void(const FileTable& before, const std::string& folder, platform::FileSystem& fileSystem,
                       UndoSnapshot& snapshot)>
        run;
    std::string nameAfterUndo; // of the edited file, whose run renamed it from a.txt if at all
};

void PrintTo(const EditCase& c, std::ostream* out)
{
    *out << c.says;
}

const EditCase editCases[] = {
    {"a file edited after a rename run gets its name back and keeps the edit's time",
     [](const FileTable& before, const std::string& folder, platform::FileSystem& fileSystem,
        UndoSnapshot& snapshot) {
         FileTable after = before;
         after.setCell(NameColumn, 1, "x.txt");
         after.setCell(NameColumn, 2, "y.txt");
         runRenames(before, after, folder, fileSystem, snapshot, answerNo);
     },
     "x.txt"},
    {"a file edited after a timestamp run keeps the edit's times",
     [](const FileTable& before, const std::string& folder, platform::FileSystem& fileSystem,
        UndoSnapshot& snapshot) {
         const TimestampOptions options{platform::LocalDateTime{2006, 5, 4, 9, 5, 7},
                                        platform::LocalDateTime{2007, 6, 5, 10, 6, 8}};
         FileTable after;
         planTimestampChange(before, after, options);
         runTimestampChange(before, after, folder, options, fileSystem, snapshot);
     },
     "a.txt"},
    {"a file edited after an attribute run keeps the edit's mode",
     [](const FileTable& before, const std::string& folder, platform::FileSystem& fileSystem,
        UndoSnapshot& snapshot) {
         FileTable after;
         planAttributeChange(before, after, {true, false, false, false, AttributeMode::Replace});
         runAttributeChange(before, after, folder, fileSystem, snapshot);
     },
     "a.txt"},
};

class UndoAfterAnEdit : public ::testing::TestWithParam<EditCase>
{};

TEST_P(UndoAfterAnEdit, KeepsTheEditedFilesStateAndNamesIt)
{
    const EditCase& c = GetParam();
    const TempFolder folder;
    writeStampedFiles(folder, {"a.txt", "b.txt"});
    const auto starting = byContent(folder);
    FaultyFileSystem fileSystem;
    FileTable before;
    FileTable after;
    listFolder(fileSystem, {folder.path(), "*.*", false, false}, before, after);
    gridSort(before, NameColumn, platform::SortCollator());
    UndoSnapshot snapshot;
    c.run(before, folder.path(), fileSystem, snapshot);
    // Someone edits the first file, as a tool that keeps the file's inode would.
    const std::string edited = folder.pathOf(c.nameAfterUndo == "x.txt" ? "x.txt" : "a.txt");
    chmod(edited.c_str(), 0600);
    std::ofstream(edited, std::ios::app) << " and an edit";
    const timespec editTimes[2] = {at(1'600'000'000, 1), at(1'600'000'000, 2)};
    utimensat(AT_FDCWD, edited.c_str(), editTimes, 0);
    const DiskFile editedState = diskFiles(folder).at(std::string(edited.substr(folder.path().size() + 1)));

    const UndoResult undo = undoLastRun(snapshot, fileSystem);
    EXPECT_EQ(undo.message,
              "変更の取り消しが完了しました\r\n\r\n次の 1 個のファイルは実行の後で変更されていた"
              "ため、日時と属性を戻しませんでした：\r\na.txt");
    const auto files = diskFiles(folder);
    ASSERT_TRUE(files.count("a.txt"));
    EXPECT_EQ(files.at("a.txt").content, "content of a.txt and an edit");
    EXPECT_TRUE(files.at("a.txt").sameTimesAndMode(editedState));
    ASSERT_TRUE(files.count("b.txt"));
    EXPECT_TRUE(files.at("b.txt").sameTimesAndMode(starting.at("content of b.txt").second));
}

INSTANTIATE_TEST_SUITE_P(Runs, UndoAfterAnEdit, ::testing::ValuesIn(editCases), testing::SaysName());

} // namespace
} // namespace quorvane::core
