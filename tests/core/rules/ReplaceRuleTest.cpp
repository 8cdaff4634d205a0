#include "core/rules/ReplaceRule.h"

#include "RuleTables.h"
#include "platform/posix/PosixFileSystem.h"
#include "support/CaseName.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace quorvane::core {
namespace {

struct Case
{
    const char* says;
    std::vector<std::string> names;
    ReplaceOptions options;
    std::vector<std::string> expected;
};

const std::vector<std::string> worked = {"Report.TXT", "file.txt", "a.b.c"};

ReplaceOptions replacing(std::string search, std::string replacement, bool caseSensitive,
                         bool includeExtension, NameConversion conversion = NameConversion::None)
{
    return {std::move(search), std::move(replacement), caseSensitive, includeExtension, conversion};
}

const Case cases[] = {
    {"ignoring case a small r also matches a capital R",
     worked,
     replacing("r", "_", false, false),
     {"_epo_t.TXT", "file.txt", "a.b.c"}},
    {"with case counting the extension is left alone",
     worked,
     replacing("t", "T", true, false),
     {"ReporT.TXT", "file.txt", "a.b.c"}},
    {"with the extension included it is searched too",
     worked,
     replacing("t", "T", true, true),
     {"ReporT.TXT", "file.TxT", "a.b.c"}},
    {"with the extension included its period is replaced",
     worked,
     replacing(".", "_", false, true),
     {"Report_TXT", "file_txt", "a_b_c"}},
    {"without the extension only periods of the stem are replaced",
     worked,
     replacing(".", "_", false, false),
     {"Report.TXT", "file.txt", "a_b.c"}},
    {"an occurrence spanning the extension's period is never found",
     worked,
     replacing("e.t", "-", false, true),
     {"Report.TXT", "file.txt", "a.b.c"}},
    {"an empty search text lower-cases the stem alone",
     worked,
     replacing("", "", false, false, NameConversion::LowerCase),
     {"report.TXT", "file.txt", "a.b.c"}},
    {"an empty search text capitalises the whole name",
     worked,
     replacing("", "", true, true, NameConversion::Capitalise),
     {"Report.txt", "File.txt", "A.b.c"}},
    {"with case counting a capital R does not match a small r",
     {"rar.txt"},
     replacing("R", "x", true, false),
     {"rar.txt"}},
    {"occurrences never overlap", {"aaa.txt"}, replacing("aa", "X", true, false), {"Xa.txt"}},
    {"the replacement is never searched again", {"banana"}, replacing("a", "aa", true, false), {"baanaanaa"}},
    {"an empty replacement deletes every occurrence",
     {"a-b-c.txt"},
     replacing("-", "", true, false),
     {"abc.txt"}},
    {"the replacement keeps its case", {"abc.txt"}, replacing("B", "XyZ", false, false), {"aXyZc.txt"}},
    {"ignoring case folds letters beyond ASCII",
     {"ÄRGER.txt"},
     replacing("ä", "ae", false, false),
     {"aeRGER.txt"}},
    {"a continuation byte never matches inside a character",
     {"ソ.txt"},
     replacing("\x83", "x", true, false),
     {"ソ.txt"}},
    {"an invalid byte matches the same lone byte",
     {"a\x83z.txt"},
     replacing("\x83", "x", false, false),
     {"axz.txt"}},
    {"a search text that is the start of a character does not match it",
     {"ソ.txt"},
     replacing("\xE3\x82", "x", true, false),
     {"ソ.txt"}},
    {"a multi-byte search text matches whole characters",
     {"写真と写真.jpg"},
     replacing("写真", "photo", false, false),
     {"photoとphoto.jpg"}},
    {"a backslash is searched as an ordinary character",
     {"a\\b.txt"},
     replacing("\\", "-", true, false),
     {"a-b.txt"}},
    {"bytes that are not UTF-8 survive a replacement and a conversion",
     {"\xFFRe\x83.TXT"},
     replacing("re", "Xe", false, false, NameConversion::UpperCase),
     {"\xFFXE\x83.TXT"}},
    {"upper-casing uses the full mapping",
     {"straße.txt"},
     replacing("", "", false, false, NameConversion::UpperCase),
     {"STRASSE.txt"}},
    {"lower-casing converts letters beyond ASCII",
     {"ÀÉÎ.TXT"},
     replacing("", "", false, true, NameConversion::LowerCase),
     {"àéî.txt"}},
    {"capitalising an empty stem leaves the name alone",
     {".profile"},
     replacing("", "", false, false, NameConversion::Capitalise),
     {".profile"}},
    {"capitalising the whole of a name of only an extension leaves it alone",
     {".profile"},
     replacing("", "", false, true, NameConversion::Capitalise),
     {".profile"}},
    {"capitalising upper-cases the first character, not its first byte",
     {"éCOLE.txt"},
     replacing("", "", false, false, NameConversion::Capitalise),
     {"École.txt"}},
    {"capitalising a name that starts with a Japanese character keeps that character",
     {"アBC.txt"},
     replacing("", "", false, false, NameConversion::Capitalise),
     {"アbc.txt"}},
    {"capitalising keeps a leading invalid byte",
     {"\x83"
      "ABC.txt"},
     replacing("", "", false, false, NameConversion::Capitalise),
     {"\x83"
      "abc.txt"}},
    {"full width converts the stem alone",
     {"abC.txt"},
     replacing("", "", false, false, NameConversion::FullWidth),
     {"ａｂＣ.txt"}},
    {"full width with the extension converts its period",
     {"abC.txt"},
     replacing("", "", false, true, NameConversion::FullWidth),
     {"ａｂＣ．ｔｘｔ"}},
    {"half width converts full-width letters and katakana",
     {"ＡＢＣカタ.txt"},
     replacing("", "", false, false, NameConversion::HalfWidth),
     {"ABCｶﾀ.txt"}},
    {"full width is never cut at 255 bytes",
     {std::string(200, 'a') + ".txt"},
     replacing("", "", false, false, NameConversion::FullWidth),
     {[] {
         std::string wide;
         for (int i = 0; i < 200; ++i) {
             wide += "ａ";
         }
         return wide + ".txt";
     }()}},
    {"full width keeps invalid bytes in their places",
     {"a\xFF"
      "b.txt"},
     replacing("", "", false, false, NameConversion::FullWidth),
     {"ａ\xFF"
      "ｂ.txt"}},
    {"half width keeps invalid bytes in their places",
     {"Ａ\xC0Ｂ.txt"},
     replacing("", "", false, true, NameConversion::HalfWidth),
     {"A\xC0"
      "B.txt"}},
    {"lower-casing keeps a truncated sequence as it is",
     {"ÀB\xE3\x81.TXT"},
     replacing("", "", false, true, NameConversion::LowerCase),
     {"àb\xE3\x81.txt"}},
    {"reversal reverses the stem",
     {"abC.txt"},
     replacing("", "", false, false, NameConversion::Reverse),
     {"Cba.txt"}},
    {"reversal with the extension reverses the whole name",
     {"abC.txt"},
     replacing("", "", false, true, NameConversion::Reverse),
     {"txt.Cba"}},
    {"reversal keeps a letter with its combining mark",
     {"e\xCC\x81"
      "a.txt"},
     replacing("", "", false, false, NameConversion::Reverse),
     {"ae\xCC\x81"
      ".txt"}},
    {"reversal moves multi-byte characters whole",
     {"写真x.jpg"},
     replacing("", "", false, false, NameConversion::Reverse),
     {"x真写.jpg"}},
    {"reversal moves each invalid byte as a character of its own",
     {"a\x83\x5C"
      "b.txt"},
     replacing("", "", false, false, NameConversion::Reverse),
     {"b\x5C\x83"
      "a.txt"}},
    {"a search text of 100000 characters finds nothing and changes nothing",
     {"abc.txt"},
     replacing(std::string(100000, 'a'), "x", false, false),
     {"abc.txt"}},
    {"a replacement of 100000 characters is inserted whole",
     {"abc.txt"},
     replacing("b", std::string(100000, 'y'), false, false),
     {"a" + std::string(100000, 'y') + "c.txt"}},
    {"a name of 255 bytes is replaced throughout",
     {std::string(251, 'a') + ".txt"},
     replacing("a", "b", true, false),
     {std::string(251, 'b') + ".txt"}},
    {"a name ending in a period keeps its lone period",
     {"memo."},
     replacing("", "", false, false, NameConversion::UpperCase),
     {"MEMO."}},
};

class ReplaceRuleTest : public ::testing::TestWithParam<Case>
{};

TEST_P(ReplaceRuleTest, PlansTheNewNames)
{
    const Case& c = GetParam();
    const FileTable before = beforeListOf(c.names);
    FileTable after;
    platform::PosixFileSystem fileSystem;
    planReplace(before, after, c.options, fileSystem, "/nonexistent-folder");
    EXPECT_EQ(afterNames(after), c.expected) << c.says;
}

INSTANTIATE_TEST_SUITE_P(Replacements, ReplaceRuleTest, ::testing::ValuesIn(cases), testing::SaysName());

struct ShortNameCase
{
    const char* says;
    std::string name;
    ReplaceOptions options;
    std::string expected;
};

const ShortNameCase shortNameCases[] = {
    {"an existing entry keeps its own name where there are no short names", "Abcdefghij.txt",
     replacing("", "", false, false, NameConversion::ShortName), "Abcdefghij.txt"},
    {"a replaced name that names no entry becomes empty", "Abcdefghij.txt",
     replacing("Abc", "Xyz", false, false, NameConversion::ShortName), ""},
    {"a replaced name that names another entry becomes that entry's name", "Abcdefghij.txt",
     replacing("Abc", "other", true, false, NameConversion::ShortName), "otherdefghij.txt"},
    {"the replaced extension goes into the path when it is included", "Abcdefghij.txt",
     replacing("txt", "log", true, true, NameConversion::ShortName), "Abcdefghij.log"},
    {"the extension stays out of the replacement when it is not included", "Abcdefghij.txt",
     replacing("txt", "log", true, false, NameConversion::ShortName), "Abcdefghij.txt"},
    {"a replaced name reaching into a subfolder is not asked for", "Abcdefghij.txt",
     replacing("Abcdefghij", "sub/inner", true, false, NameConversion::ShortName), ""},
    {"a replaced name that is the parent folder is not asked for", "x",
     replacing("x", "..", true, false, NameConversion::ShortName), ""},
};

class ShortNameTest : public ::testing::TestWithParam<ShortNameCase>
{};

TEST_P(ShortNameTest, AsksTheFileSystemForTheEntryInTheFolder)
{
    const ShortNameCase& c = GetParam();
    const testing::TempFolder folder;
    folder.writeFile(c.name);
    folder.writeFile("otherdefghij.txt");
    folder.writeFile("Abcdefghij.log");
    folder.makeFolder("sub");
    folder.writeFile("sub/inner.txt");
    const FileTable before = beforeListOf({c.name});
    FileTable after;
    platform::PosixFileSystem fileSystem;
    planReplace(before, after, c.options, fileSystem, folder.path());
    EXPECT_EQ(afterNames(after), std::vector<std::string>{c.expected}) << c.says;
}

INSTANTIATE_TEST_SUITE_P(ShortNames, ShortNameTest, ::testing::ValuesIn(shortNameCases), testing::SaysName());

TEST(ReplaceRule, CopiesTheOtherColumnsAndMatchesTheRowCount)
{
    const FileTable before = beforeListOf(worked);
    FileTable after;
    after.setRowCount(9);
    platform::PosixFileSystem fileSystem;
    planReplace(before, after, replacing("r", "_", false, false), fileSystem, "/tmp");
    ASSERT_EQ(after.rowCount(), before.rowCount());
    for (int r = 1; r < before.rowCount(); ++r) {
        for (int column = SizeColumn; column <= AttributesColumn; ++column) {
            EXPECT_EQ(after.cell(column, r), before.cell(column, r));
        }
    }
}

struct HintCase
{
    const char* says;
    int index;
    std::optional<std::string> hint;
};

const HintCase hints[] = {
    {"none shows the name unchanged", 0, "ex) abC.txt -> abC.txt"},
    {"lower case shows the small letters", 1, "ex) abC.txt -> abc.txt"},
    {"upper case shows the capitals", 2, "ex) abC.txt -> ABC.txt"},
    {"capitalising carries no warning of garbling", 3, "ex) abC.txt -> Abc.txt"},
    {"full width leaves the hint as it was", 4, std::nullopt},
    {"half width leaves the hint as it was", 5, std::nullopt},
    {"reversal carries no warning of garbling", 6, "ex) abC.txt -> Cba.txt"},
    {"the short name shows the 8.3 form", 7, "ex) Abcdefghij.txt -> Abcdef~1.txt"},
};

class ReplaceOptionHintTest : public ::testing::TestWithParam<HintCase>
{};

TEST_P(ReplaceOptionHintTest, ShowsTheExample)
{
    const HintCase& c = GetParam();
    const std::optional<std::string_view> hint = replaceOptionHint(c.index);
    EXPECT_EQ(hint.has_value(), c.hint.has_value()) << c.says;
    if (hint && c.hint) {
        EXPECT_EQ(*hint, *c.hint) << c.says;
    }
}

INSTANTIATE_TEST_SUITE_P(Hints, ReplaceOptionHintTest, ::testing::ValuesIn(hints), testing::SaysName());

TEST(ReplaceOptionHint, StartsWithTheUnchangedExample)
{
    EXPECT_EQ(initialReplaceOptionHint(), "ex) AbC.txt -> AbC.txt");
}

} // namespace
} // namespace quorvane::core
