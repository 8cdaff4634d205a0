// Every run and the undo act only on the files the listing showed, in the folder it listed: a name
// that leads to another file now, or to none, and a folder that is gone or is another one now, are
// failures that the messages count, never a reason to act on whatever holds the name.

#include "RunSupport.h"
#include "core/listing/Identity.h"
#include "core/listing/Listing.h"
#include "core/listing/RowOrder.h"
#include "core/runs/AttributeChange.h"
#include "core/runs/RenameRun.h"
#include "core/runs/TimestampChange.h"
#include "core/runs/Undo.h"
#include "platform/Locale.h"
#include "support/CaseName.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace quorvane::core {
namespace {

using testing::DiskFile;
using testing::diskFiles;
using testing::FaultyFileSystem;
using testing::TempFolder;

const std::error_code gone = platform::errorFromErrno(ENOENT);
const std::error_code another = makeError(IdentityError::FileChanged);

// Another program puts a new file in place of name, as an editor saving a copy does.
void replaceWithAnother(const TempFolder& folder, const std::string& name)
{
    folder.writeFile(".replacement", "newcomer");
    ASSERT_EQ(rename(folder.pathOf(".replacement").c_str(), folder.pathOf(name).c_str()), 0);
}

void removeFile(const TempFolder& folder, const std::string& name)
{
    ASSERT_EQ(unlink(folder.pathOf(name).c_str()), 0);
}

std::map<std::string, std::string> contents(const TempFolder& folder)
{
    std::map<std::string, std::string> names;
    for (const auto& [name, file] : diskFiles(folder)) {
        names.emplace(name, file.content);
    }
    return names;
}

enum class RunKind
{
    Rename,
    Timestamps,
    Attributes,
    UndoOfRename,
};

struct EntryCase
{
    const char* says;
    RunKind run;
    std::vector<std::string> planned; // the after-names of a and b
    std::function<void(const TempFolder&)> meanwhile;
    std::vector<std::pair<std::string, std::error_code>> failed;
    std::map<std::string, std::string> disk; // name -> content at the end
};

void PrintTo(const EntryCase& c, std::ostream* out)
{
    *out << c.says;
}

const EntryCase entryCases[] = {
    {"a file deleted after the listing never makes another file be renamed twice",
     RunKind::Rename,
     {"b", "c"},
     [](const TempFolder& folder) { removeFile(folder, "b"); },
     {{"b", another}},
     {{"b", "a"}}},
    {"a file replaced after the listing keeps the newcomer's name",
     RunKind::Rename,
     {"x", "y"},
     [](const TempFolder& folder) { replaceWithAnother(folder, "a"); },
     {{"a", another}},
     {{"a", "newcomer"}, {"y", "b"}}},
    {"a file deleted after the listing fails with the system's text",
     RunKind::Rename,
     {"x", "y"},
     [](const TempFolder& folder) { removeFile(folder, "a"); },
     {{"a", gone}},
     {{"y", "b"}}},
    {"the timestamp run leaves a newcomer's times alone",
     RunKind::Timestamps,
     {"a", "b"},
     [](const TempFolder& folder) { replaceWithAnother(folder, "a"); },
     {{"a", another}},
     {{"a", "newcomer"}, {"b", "b"}}},
    {"the attribute run leaves a newcomer's mode alone",
     RunKind::Attributes,
     {"a", "b"},
     [](const TempFolder& folder) { replaceWithAnother(folder, "a"); },
     {{"a", another}},
     {{"a", "newcomer"}, {"b", "b"}}},
    {"the undo never renames a newcomer that took a renamed file's name",
     RunKind::UndoOfRename,
     {"x", "y"},
     [](const TempFolder& folder) { replaceWithAnother(folder, "x"); },
     {{"a", another}},
     {{"x", "newcomer"}, {"b", "b"}}},
};

class ListedEntries : public ::testing::TestWithParam<EntryCase>
{};

TEST_P(ListedEntries, AreTheOnlyFilesARunChanges)
{
    const EntryCase& c = GetParam();
    const TempFolder folder;
    folder.writeFile("a", "a");
    folder.writeFile("b", "b");
    FaultyFileSystem fileSystem;
    FileTable before;
    FileTable after;
    listFolder(fileSystem, {folder.path(), "*", false, false}, before, after);
    gridSort(before, NameColumn, platform::SortCollator());
    FileTable planned = before;
    for (int row = 1; row <= 2; ++row) {
        planned.setCell(NameColumn, row, c.planned[static_cast<std::size_t>(row - 1)]);
        planned.setCell(AttributesColumn, row, "R---");
    }
    UndoSnapshot snapshot;
    if (c.run == RunKind::UndoOfRename) {
        ASSERT_TRUE(runRenames(before, planned, folder.path(), fileSystem, snapshot, {}).failures.empty());
    }
    c.meanwhile(folder);
    const auto startingNewcomer = diskFiles(folder);

    std::vector<RunFailure> failures;
    switch (c.run) {
    case RunKind::Rename:
        failures = runRenames(before, planned, folder.path(), fileSystem, snapshot, {}).failures;
        break;
    case RunKind::Timestamps:
        failures = runTimestampChange(before, planned, folder.path(),
                                      {platform::LocalDateTime{2006, 5, 4, 9, 5, 7},
                                       platform::LocalDateTime{2007, 1, 1, 0, 0, 0}},
                                      fileSystem, snapshot)
                       .failures;
        break;
    case RunKind::Attributes:
        failures = runAttributeChange(before, planned, folder.path(), fileSystem, snapshot).failures;
        break;
    case RunKind::UndoOfRename:
        failures = undoLastRun(snapshot, fileSystem).failures;
        break;
    }
    std::vector<std::pair<std::string, std::error_code>> failed;
    for (const RunFailure& failure : failures) {
        failed.emplace_back(failure.name, failure.error);
    }
    EXPECT_EQ(failed, c.failed);
    EXPECT_EQ(contents(folder), c.disk);
    for (const auto& [name, file] : diskFiles(folder)) {
        if (file.content == "newcomer") {
            EXPECT_TRUE(file.sameTimesAndMode(startingNewcomer.at(name))) << "the newcomer is untouched";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Runs, ListedEntries, ::testing::ValuesIn(entryCases), testing::SaysName());

struct FolderCase
{
    const char* says;
    std::function<void(const TempFolder&)> meanwhile; // done to the listed folder "listed"
};

void PrintTo(const FolderCase& c, std::ostream* out)
{
    *out << c.says;
}

const FolderCase folderCases[] = {
    {"a listed folder deleted",
     [](const TempFolder& root) {
         std::filesystem::remove_all(root.pathOf("listed"));
     }},
    {"a listed folder moved away and another put in its place",
     [](const TempFolder& root) {
         ASSERT_EQ(rename(root.pathOf("listed").c_str(), root.pathOf("moved").c_str()), 0);
         root.makeFolder("listed");
         root.writeFile("listed/1.txt", "another folder's file");
     }},
};

class ListedFolder_ : public ::testing::TestWithParam<FolderCase>
{};

TEST_P(ListedFolder_, GoneOrReplacedMakesEveryRunAndTheUndoChangeNothingAndSaySo)
{
    const FolderCase& c = GetParam();
    for (const RunKind run :
         {RunKind::Rename, RunKind::Timestamps, RunKind::Attributes, RunKind::UndoOfRename}) {
        SCOPED_TRACE(static_cast<int>(run));
        const TempFolder root;
        root.makeFolder("listed");
        root.writeFile("listed/1.txt", "1");
        const std::string folder = root.pathOf("listed");
        FaultyFileSystem fileSystem;
        FileTable before;
        FileTable planned;
        listFolder(fileSystem, {folder, "*", false, false}, before, planned);
        planned = before;
        planned.setCell(NameColumn, 1, "2.txt");
        UndoSnapshot snapshot;
        if (run == RunKind::UndoOfRename) {
            runRenames(before, planned, folder, fileSystem, snapshot, {});
            ASSERT_EQ(snapshot.size(), 1u);
        }
        c.meanwhile(root);
        const auto starting = diskFiles(root, "listed");

        std::error_code refusal;
        std::string message;
        const auto keep = [&](const auto& result) {
            refusal = result.refusal;
            message = result.message;
        };
        switch (run) {
        case RunKind::Rename:
            keep(runRenames(before, planned, folder, fileSystem, snapshot, {}));
            break;
        case RunKind::Timestamps:
            keep(runTimestampChange(
                before, planned, folder,
                {platform::LocalDateTime{2006, 5, 4, 9, 5, 7}, platform::LocalDateTime{2007, 1, 1, 0, 0, 0}},
                fileSystem, snapshot));
            break;
        case RunKind::Attributes:
            keep(runAttributeChange(before, planned, folder, fileSystem, snapshot));
            break;
        case RunKind::UndoOfRename:
            keep(undoLastRun(snapshot, fileSystem));
            break;
        }
        EXPECT_EQ(refusal, makeError(IdentityError::FolderChanged));
        EXPECT_EQ(
            message,
            "一覧のフォルダが削除されたか、別のフォルダに変わっています。何も変更しませんでした\r\n\r\n" +
                folder);
        EXPECT_EQ(diskFiles(root, "listed").size(), starting.size());
        for (const auto& [name, file] : diskFiles(root, "listed")) {
            EXPECT_TRUE(file.sameTimesAndMode(starting.at(name))) << name;
        }
        EXPECT_EQ(snapshot.size(), run == RunKind::UndoOfRename ? 1u : 0u)
            << "the snapshot is kept as it was";
    }
}

INSTANTIATE_TEST_SUITE_P(Folders, ListedFolder_, ::testing::ValuesIn(folderCases), testing::SaysName());

} // namespace
} // namespace quorvane::core
