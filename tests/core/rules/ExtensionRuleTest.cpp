#include "core/rules/ExtensionRule.h"

#include "RuleTables.h"
#include "support/CaseName.h"

#include <gtest/gtest.h>

namespace quorvane::core {
namespace {

struct Case
{
    const char* says;
    std::string name;
    std::string text;
    std::string expected;
};

const Case cases[] = {
    {"replaces the extension", "photo.jpg", "txt", "photo.txt"},
    {"replaces only the last extension", "archive.tar.gz", "txt", "archive.tar.txt"},
    {"adds an extension to a name without one", "notes", "txt", "notes.txt"},
    {"replaces a lone trailing period", "memo.", "txt", "memo.txt"},
    {"a name of only an extension keeps its empty stem", ".profile", "txt", ".txt"},
    {"an empty text removes the extension", "photo.jpg", "", "photo"},
    {"an empty text removes only the last extension", "archive.tar.gz", "", "archive.tar"},
    {"an empty text leaves a name without extension alone", "notes", "", "notes"},
    {"an empty text removes a lone trailing period", "memo.", "", "memo"},
    {"removing the extension of a name of only an extension empties it", ".profile", "", ""},
    {"a leading period in the text gives two periods", "photo.jpg", ".txt", "photo..txt"},
    {"blanks in the text stay", "photo.jpg", " txt", "photo. txt"},
    {"the text's case is kept and the old case plays no part", "PHOTO.JPG", "Txt", "PHOTO.Txt"},
    {"a backslash is an ordinary character", "a.b\\c", "txt", "a.txt"},
    {"a colon is an ordinary character", "a.b:c", "txt", "a.txt"},
    {"a multi-byte stem keeps its bytes", "写真.jpg", "png", "写真.png"},
    {"a stem that is not UTF-8 keeps its bytes", "\x83\x5C\xFF.jpg", "png", "\x83\x5C\xFF.png"},
    {"a name of 255 bytes keeps its stem", std::string(251, 'a') + ".jpg", "jpeg",
     std::string(251, 'a') + ".jpeg"},
    {"a 100000-character text is used whole", "a.b", std::string(100000, 'x'),
     "a." + std::string(100000, 'x')},
};

class ExtensionRuleTest : public ::testing::TestWithParam<Case>
{};

TEST_P(ExtensionRuleTest, PlansTheNewName)
{
    const Case& c = GetParam();
    const FileTable before = beforeListOf({c.name});
    FileTable after;
    planExtensionChange(before, after, {c.text});
    EXPECT_EQ(afterNames(after), std::vector<std::string>{c.expected}) << c.says;
}

INSTANTIATE_TEST_SUITE_P(Extensions, ExtensionRuleTest, ::testing::ValuesIn(cases), testing::SaysName());

TEST(ExtensionRule, CopiesTheOtherColumnsAndMatchesTheRowCount)
{
    const FileTable before = beforeListOf({"a.jpg", "b.jpg", "c"});
    FileTable after;
    after.setRowCount(10);
    planExtensionChange(before, after, {"png"});
    ASSERT_EQ(after.rowCount(), before.rowCount());
    for (int r = 1; r < before.rowCount(); ++r) {
        for (int column = SizeColumn; column <= AttributesColumn; ++column) {
            EXPECT_EQ(after.cell(column, r), before.cell(column, r));
        }
    }
}

} // namespace
} // namespace quorvane::core
