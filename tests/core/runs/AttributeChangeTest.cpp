#include "core/runs/AttributeChange.h"

#include "RunSupport.h"
#include "support/CaseName.h"

#include <gtest/gtest.h>

namespace quorvane::core {
namespace {

using testing::diskFiles;
using testing::FaultyFileSystem;
using testing::TempFolder;
using testing::WriteCall;

struct PlanCase
{
    const char* says;
    AttributeOptions options;
    std::string before;
    std::string planned;
};

void PrintTo(const PlanCase& c, std::ostream* out)
{
    *out << c.says;
}

const PlanCase planCases[] = {
    {"adding read-only to none gives R---", {true, false, false, false, AttributeMode::Add}, "----", "R---"},
    {"adding read-only keeps hidden and archive",
     {true, false, false, false, AttributeMode::Add},
     "-H-A",
     "RH-A"},
    {"removing hidden keeps archive", {false, true, false, false, AttributeMode::Remove}, "-H-A", "---A"},
    {"removing hidden keeps the other three",
     {false, true, false, false, AttributeMode::Remove},
     "RHSA",
     "R-SA"},
    {"replacing with read-only and archive ignores the before text",
     {true, false, false, true, AttributeMode::Replace},
     "-HS-",
     "R--A"},
    {"adding nothing keeps the text", {false, false, false, false, AttributeMode::Add}, "-HS-", "-HS-"},
    {"removing nothing keeps the text", {false, false, false, false, AttributeMode::Remove}, "R--A", "R--A"},
    {"replacing with nothing clears everything",
     {false, false, false, false, AttributeMode::Replace},
     "RHSA",
     "----"},
    {"a letter counts wherever it stands in the before text",
     {false, false, false, false, AttributeMode::Add},
     "A R",
     "R--A"},
};

class AttributePlan : public ::testing::TestWithParam<PlanCase>
{};

TEST_P(AttributePlan, FollowsTheCharacterRule)
{
    const PlanCase& c = GetParam();
    EXPECT_EQ(plannedAttributeText(c.before, c.options), c.planned);
}

INSTANTIATE_TEST_SUITE_P(Modes, AttributePlan, ::testing::ValuesIn(planCases), testing::SaysName());

TEST(AttributePreview, CopiesColumnsZeroToFourAndPlansColumnFive)
{
    FileTable before;
    before.setRowCount(2);
    before.setRow(1, FileRow("a.txt", "1 KB", "", "2002/02/02 02:02:02", "2003/03/03 03:03:03", "-H-A"));
    FileTable after;
    planAttributeChange(before, after, {true, false, false, false, AttributeMode::Add});
    EXPECT_EQ(after.row(1),
              FileRow("a.txt", "1 KB", "", "2002/02/02 02:02:02", "2003/03/03 03:03:03", "RH-A"));
}

TEST(AttributeRun, MakesFilesReadOnlyAndWritableAgain)
{
    const TempFolder folder;
    folder.writeFile("a.txt");
    folder.writeFile("b.txt");
    chmod(folder.pathOf("b.txt").c_str(), 0444);
    FaultyFileSystem fileSystem;
    UndoSnapshot snapshot;
    FileTable before = testing::tableOfNames({"a.txt", "b.txt"});
    before.setCell(AttributesColumn, 2, "R---");
    FileTable after;
    planAttributeChange(before, after, {true, false, false, false, AttributeMode::Replace});
    EXPECT_EQ(runAttributeChange(before, after, folder.path(), fileSystem, snapshot).message,
              "属性変更が完了しました");
    EXPECT_EQ(diskFiles(folder).at("a.txt").mode & 0222, 0u);

    planAttributeChange(before, after, {true, false, false, false, AttributeMode::Remove});
    EXPECT_EQ(runAttributeChange(before, after, folder.path(), fileSystem, snapshot).message,
              "属性変更が完了しました");
    EXPECT_NE(diskFiles(folder).at("a.txt").mode & 0200, 0u);
    EXPECT_NE(diskFiles(folder).at("b.txt").mode & 0200, 0u);
}

TEST(AttributeRun, AnAttributeTheFileSystemCannotStoreIsReportedAndEveryFileIsTried)
{
    const TempFolder folder;
    for (const char* name : {"a.txt", "b.txt", "c.txt"}) {
        folder.writeFile(name);
    }
    FaultyFileSystem fileSystem;
    fileSystem.fault = FaultyFileSystem::failing(WriteCall::SetAttributes, "a.txt", ENOTSUP);
    UndoSnapshot snapshot;
    const FileTable before = testing::tableOfNames({"a.txt", "b.txt", "c.txt"});
    FileTable after;
    planAttributeChange(before, after, {true, false, false, false, AttributeMode::Add});
    const ChangeRunResult result = runAttributeChange(before, after, folder.path(), fileSystem, snapshot);
    EXPECT_EQ(result.message,
              "属性変更が完了しました\r\n\r\n次の 1 個のファイルは属性を変更できませんでした：\r\na.txt");
    EXPECT_EQ(diskFiles(folder).at("b.txt").mode & 0222, 0u);
    EXPECT_EQ(diskFiles(folder).at("c.txt").mode & 0222, 0u);
}

} // namespace
} // namespace quorvane::core
