#include "core/runs/RenameRun.h"

#include "RunSupport.h"
#include "core/runs/Undo.h"
#include "support/CaseName.h"

#include <gtest/gtest.h>

namespace quorvane::core {
namespace {

using testing::diskFiles;
using testing::FaultyFileSystem;
using testing::TempFolder;

const std::string existsText = platform::errorText(platform::errorFromErrno(EEXIST));
const std::string unusableText = "ファイル名に使えない名前です";

TEST(RenameFailureMessage, LaysOutTheErrorTheTwoNamesAndTheQuestionWithCrLf)
{
    EXPECT_EQ(renameFailureMessage("File exists", "IMG_0001.jpg", "写真.jpg"),
              "File exists\r\n\r\n変換前ファイル名：IMG_0001.jpg\r\n変換後ファイル名：写真.jpg\r\n\r\n"
              "ファイル名の変更を取り消しますか？\r\n");
}

struct Step
{
    std::string from;
    std::string to;
};

struct RunCase
{
    const char* says;
    std::vector<std::string> files;
    std::vector<Step> plan;
    std::vector<Answer> answers;                               // one per failure, in order
    std::vector<std::string> asked;                            // the first line of each failure message
    std::vector<std::pair<std::string, std::string>> expected; // name on disk -> its original name
    bool rolledBack = false;
    std::string message;
};

void PrintTo(const RunCase& c, std::ostream* out)
{
    *out << c.says;
}

const RunCase runCases[] = {
    {"a plan without clashes renames every file",
     {"a.txt", "b.txt"},
     {{"a.txt", "1.txt"}, {"b.txt", "2.txt"}},
     {},
     {},
     {{"1.txt", "a.txt"}, {"2.txt", "b.txt"}},
     false,
     "リネームが完了しました"},
    {"two rows with the same new name and yes put the first file back",
     {"a.txt", "b.txt"},
     {{"a.txt", "x.txt"}, {"b.txt", "x.txt"}},
     {Answer::Yes},
     {existsText},
     {{"a.txt", "a.txt"}, {"b.txt", "b.txt"}},
     true,
     ""},
    {"two rows with the same new name and no leave the first renamed and name the second",
     {"a.txt", "b.txt"},
     {{"a.txt", "x.txt"}, {"b.txt", "x.txt"}},
     {Answer::No},
     {existsText},
     {{"x.txt", "a.txt"}, {"b.txt", "b.txt"}},
     false,
     "リネームが完了しました\r\n\r\n次の 1 個のファイルは名前を変更できませんでした：\r\nb.txt"},
    {"closing the question goes on like no",
     {"a.txt", "b.txt", "c.txt"},
     {{"a.txt", "x.txt"}, {"b.txt", "x.txt"}, {"c.txt", "y.txt"}},
     {Answer::Closed},
     {existsText},
     {{"x.txt", "a.txt"}, {"b.txt", "b.txt"}, {"y.txt", "c.txt"}},
     false,
     "リネームが完了しました\r\n\r\n次の 1 個のファイルは名前を変更できませんでした：\r\nb.txt"},
    {"a name equal to the old one passes without a question",
     {"a.txt"},
     {{"a.txt", "a.txt"}},
     {},
     {},
     {{"a.txt", "a.txt"}},
     false,
     "リネームが完了しました"},
    {"a name that differs only in letter case is applied",
     {"photo.JPG"},
     {{"photo.JPG", "photo.jpg"}},
     {},
     {},
     {{"photo.jpg", "photo.JPG"}},
     false,
     "リネームが完了しました"},
    {"an empty new name fails with our own text and asks",
     {"a.txt"},
     {{"a.txt", ""}},
     {Answer::No},
     {unusableText},
     {{"a.txt", "a.txt"}},
     false,
     "リネームが完了しました\r\n\r\n次の 1 個のファイルは名前を変更できませんでした：\r\na.txt"},
    {"a chain undone by yes gives both files their names back",
     {"a.txt", "b.txt", "c.txt"},
     {{"a.txt", "x.txt"}, {"b.txt", "a.txt"}, {"c.txt", "x.txt"}},
     {Answer::Yes},
     {existsText},
     {{"a.txt", "a.txt"}, {"b.txt", "b.txt"}, {"c.txt", "c.txt"}},
     true,
     ""},
    {"two files swapping names both fail and keep them",
     {"a.txt", "b.txt"},
     {{"a.txt", "b.txt"}, {"b.txt", "a.txt"}},
     {Answer::No, Answer::No},
     {existsText, existsText},
     {{"a.txt", "a.txt"}, {"b.txt", "b.txt"}},
     false,
     "リネームが完了しました\r\n\r\n次の 2 個のファイルは名前を変更できませんでした：\r\na.txt\r\nb.txt"},
    {"a file that is gone fails with the system's text",
     {"a.txt"},
     {{"gone.txt", "x.txt"}, {"a.txt", "y.txt"}},
     {Answer::No},
     {platform::errorText(platform::errorFromErrno(ENOENT))},
     {{"y.txt", "a.txt"}},
     false,
     "リネームが完了しました\r\n\r\n次の 1 個のファイルは名前を変更できませんでした：\r\ngone.txt"},
};

class RenameRun : public ::testing::TestWithParam<RunCase>
{};

TEST_P(RenameRun, EndsAsTheAnswersDecide)
{
    const RunCase& c = GetParam();
    const TempFolder folder;
    for (const std::string& name : c.files) {
        folder.writeFile(name, "content of " + name);
    }
    std::vector<std::string> from;
    std::vector<std::string> to;
    for (const Step& step : c.plan) {
        from.push_back(step.from);
        to.push_back(step.to);
    }
    FaultyFileSystem fileSystem;
    UndoSnapshot snapshot;
    std::vector<std::string> asked;
    const RenameRunResult result =
        runRenames(testing::tableOfNames(from), testing::tableOfNames(to), folder.path(), fileSystem,
                   snapshot, [&](const std::string& message) {
                       asked.push_back(message.substr(0, message.find("\r\n")));
                       return asked.size() <= c.answers.size() ? c.answers[asked.size() - 1] : Answer::No;
                   });

    EXPECT_EQ(asked, c.asked);
    EXPECT_EQ(result.rolledBack, c.rolledBack);
    EXPECT_EQ(result.message, c.message);
    std::vector<std::pair<std::string, std::string>> onDisk;
    for (const auto& [name, file] : diskFiles(folder)) {
        onDisk.emplace_back(name, file.content.substr(std::string("content of ").size()));
    }
    auto expected = c.expected;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(onDisk, expected);
    // A run rolled back completely leaves the earlier snapshot, here none.
    EXPECT_EQ(snapshot.size(), c.rolledBack ? 0u : c.plan.size());
}

INSTANTIATE_TEST_SUITE_P(Plans, RenameRun, ::testing::ValuesIn(runCases), testing::SaysName());

TEST(RenameRun, TheFailureQuestionNamesBothBareNamesAfterTheSystemsText)
{
    const TempFolder folder;
    folder.writeFile("a.txt");
    folder.writeFile("b.txt");
    FaultyFileSystem fileSystem;
    UndoSnapshot snapshot;
    std::string asked;
    runRenames(testing::tableOfNames({"a.txt", "b.txt"}), testing::tableOfNames({"x.txt", "x.txt"}),
               folder.path(), fileSystem, snapshot, [&](const std::string& message) {
                   asked = message;
                   return Answer::No;
               });
    EXPECT_EQ(asked, existsText + "\r\n\r\n変換前ファイル名：b.txt\r\n変換後ファイル名：x.txt\r\n\r\n"
                                  "ファイル名の変更を取り消しますか？\r\n");
}

TEST(RenameRun, UnusableNewNamesNeverReachTheDiskAndNoFileLeavesTheFolder)
{
    const std::vector<std::string> unusable = {
        "", ".", "..", "sub/a", "../a", "/tmp/a", std::string("a\0b", 3)};
    const TempFolder folder;
    folder.makeFolder("sub");
    std::vector<std::string> names;
    for (std::size_t i = 0; i < unusable.size(); ++i) {
        names.push_back("file" + std::to_string(i));
        folder.writeFile(names.back(), names.back());
    }
    const auto startingState = diskFiles(folder);
    FaultyFileSystem fileSystem;
    UndoSnapshot snapshot;
    int questions = 0;
    const RenameRunResult result =
        runRenames(testing::tableOfNames(names), testing::tableOfNames(unusable), folder.path(), fileSystem,
                   snapshot, [&](const std::string& message) {
                       ++questions;
                       EXPECT_EQ(message.substr(0, message.find("\r\n")), unusableText);
                       return Answer::No;
                   });
    EXPECT_EQ(questions, static_cast<int>(unusable.size()));
    EXPECT_TRUE(fileSystem.renames.empty());
    EXPECT_EQ(diskFiles(folder).size(), startingState.size());
    EXPECT_TRUE(diskFiles(folder, "sub").empty());
    EXPECT_EQ(result.failures.size(), unusable.size());
}

TEST(RenameRun, TheMessageListsFiveFailedNamesAndCountsTheRest)
{
    const TempFolder folder;
    std::vector<std::string> names;
    for (int i = 1; i <= 7; ++i) {
        names.push_back("f" + std::to_string(i));
    }
    FaultyFileSystem fileSystem;
    UndoSnapshot snapshot;
    const RenameRunResult result =
        runRenames(testing::tableOfNames(names), testing::tableOfNames(std::vector<std::string>(7, "x")),
                   folder.path(), fileSystem, snapshot, [](const std::string&) { return Answer::No; });
    EXPECT_EQ(result.message,
              "リネームが完了しました\r\n\r\n次の 7 個のファイルは名前を変更できませんでした："
              "\r\nf1\r\nf2\r\nf3\r\nf4\r\nf5\r\nほか 2 個");
}

TEST(RenameRun, ARollbackRenameThatFailsIsReportedAndTheRestStillGoBack)
{
    const TempFolder folder;
    for (const char* name : {"a", "b", "c"}) {
        folder.writeFile(name, name);
    }
    FaultyFileSystem fileSystem;
    UndoSnapshot snapshot;
    const RenameRunResult result =
        runRenames(testing::tableOfNames({"a", "b", "c"}), testing::tableOfNames({"x", "y", "x"}),
                   folder.path(), fileSystem, snapshot, [&](const std::string&) {
                       fileSystem.fault = FaultyFileSystem::failing(testing::WriteCall::Rename, "x");
                       return Answer::Yes;
                   });
    EXPECT_TRUE(result.rolledBack);
    ASSERT_EQ(result.rollbackFailures.size(), 1u);
    EXPECT_EQ(result.rollbackFailures[0].name, "a");
    const auto files = diskFiles(folder);
    EXPECT_EQ(files.at("x").content, "a");
    EXPECT_EQ(files.at("b").content, "b");
    EXPECT_EQ(files.at("c").content, "c");
}

TEST(RenameRun, ProgressReachesTheTotal)
{
    const TempFolder folder;
    std::vector<std::string> names;
    std::vector<std::string> planned;
    for (int i = 0; i < 600; ++i) {
        names.push_back("n" + std::to_string(i));
        planned.push_back("p" + std::to_string(i));
        folder.writeFile(names.back());
    }
    FaultyFileSystem fileSystem;
    UndoSnapshot snapshot;
    std::vector<std::size_t> reports;
    runRenames(
        testing::tableOfNames(names), testing::tableOfNames(planned), folder.path(), fileSystem, snapshot,
        [](const std::string&) { return Answer::No; },
        [&](std::size_t done, std::size_t total) {
            EXPECT_EQ(total, 600u);
            reports.push_back(done);
        });
    ASSERT_FALSE(reports.empty());
    EXPECT_TRUE(std::is_sorted(reports.begin(), reports.end()));
    EXPECT_EQ(reports.back(), 600u);
    EXPECT_LE(reports.size(), 4u);
}

TEST(RenameRun, AndItsUndoSyncTheFolderOnceAtTheirEnd)
{
    const TempFolder folder;
    folder.writeFile("a");
    folder.writeFile("b");
    FaultyFileSystem fileSystem;
    UndoSnapshot snapshot;
    runRenames(testing::tableOfNames({"a", "b"}), testing::tableOfNames({"x", "y"}), folder.path(),
               fileSystem, snapshot, {});
    EXPECT_EQ(fileSystem.folderSyncs, std::vector<std::size_t>{2});
    undoLastRun(snapshot, fileSystem);
    EXPECT_EQ(fileSystem.folderSyncs, (std::vector<std::size_t>{2, 4}));
}

} // namespace
} // namespace quorvane::core
