#include "core/settings/WindowSettings.h"

#include "support/CaseName.h"

#include <climits>
#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace quorvane::core {
namespace {

struct IntegerCase
{
    const char* says;
    std::string text;
    int expected;
};

constexpr int fallback = 4242;

const IntegerCase integerCases[] = {
    {"a plain number is read", "1024", 1024},
    {"a minus sign makes it negative", "-5", -5},
    {"a plus sign is allowed", "+7", 7},
    {"blanks around the number are allowed", " \t12 ", 12},
    {"leading zeros are decimal, not octal", "010", 10},
    {"the largest int is read", "2147483647", INT_MAX},
    {"the smallest int is read", "-2147483648", INT_MIN},
    {"trailing letters give the fallback", "12abc", fallback},
    {"an empty text gives the fallback", "", fallback},
    {"a number beyond int gives the fallback", "99999999999999999999", fallback},
    {"one more than the largest int gives the fallback", "2147483648", fallback},
    {"a hexadecimal number gives the fallback", "0x10", fallback},
    {"a fraction gives the fallback", "1.5", fallback},
    {"a blank between sign and digits gives the fallback", "- 5", fallback},
    {"two signs give the fallback", "+-5", fallback},
    {"a sign alone gives the fallback", "-", fallback},
    {"full-width digits give the fallback", "\xEF\xBC\x91\xEF\xBC\x92", fallback},
    {"a blank inside the number gives the fallback", "1 2", fallback},
};

class ReadIntegerValueTest : public ::testing::TestWithParam<IntegerCase>
{};

TEST_P(ReadIntegerValueTest, ReadsOnlyPlainDecimalIntegers)
{
    EXPECT_EQ(readIntegerValue(GetParam().text, fallback), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Integers, ReadIntegerValueTest, ::testing::ValuesIn(integerCases),
                         testing::SaysName());

struct SettingsCase
{
    const char* says;
    std::string text;
    // What differs from the defaults.
    std::function<void(WindowSettings&)> expected = [](WindowSettings&) {
    };
};

const SettingsCase settingsCases[] = {
    {"an empty file gives every default", ""},
    {"every key is read from its section",
     "[WindowState]\nWidth=1024\nHeight=768\nDirWidth=200\nDivMode=1\nPreMode=1\nFilesWidth=300\nFilesHeight="
     "250\n"
     "[ExtList]\n0=*.jpg\n1=*.png\n[Options]\nViewMode=3\nAutoPlay=1\n",
     [](WindowSettings& s) {
         s = {1024, 768, 200, 1, 1, 300, 250, {"*.jpg", "*.png"}, 3, 1};
     }},
    {"names compare without case", "[windowstate]\nWIDTH=900\n[OPTIONS]\nviewmode=2\n",
     [](WindowSettings& s) {
         s.Width = 900;
         s.ViewMode = 2;
     }},
    {"values that are no integers give the defaults",
     "[WindowState]\nWidth=12abc\nHeight=99999999999999999999\nDirWidth=\nFilesWidth=x\nFilesHeight=1e3\n"},
    {"a negative value is read as it is", "[WindowState]\nWidth=-5\nDirWidth=-1\n",
     [](WindowSettings& s) {
         s.Width = -5;
         s.DirWidth = -1;
     }},
    {"keys without an equals sign are not read", "[WindowState]\nWidth\nHeight 700\n[ExtList]\n0\n"},
    {"keys in the wrong section are not read", "[Options]\nWidth=1000\n[WindowState]\nViewMode=3\n"},
    {"the first of duplicate sections gives the values",
     "[WindowState]\nWidth=1000\n[WindowState]\nWidth=1200\nHeight=900\n",
     [](WindowSettings& s) {
         s.Width = 1000;
     }},
    {"the pattern list ends at the first missing key", "[ExtList]\n0=*.a\n1=*.b\n3=*.d\n",
     [](WindowSettings& s) {
         s.extList = {"*.a", "*.b"};
     }},
    {"a pattern list starting at key 1 gives no pattern", "[ExtList]\n1=*.b\n2=*.c\n"},
    {"an empty pattern value is an empty pattern", "[ExtList]\n0=\n1=*.b\n",
     [](WindowSettings& s) {
         s.extList = {"", "*.b"};
     }},
    {"pattern keys are found in any order in the file", "[ExtList]\n1=*.b\n0=*.a\n",
     [](WindowSettings& s) {
         s.extList = {"*.a", "*.b"};
     }},
    {"a pattern key with a leading zero is another key", "[ExtList]\n00=*.a\n"},
    {"a signed pattern key is another key", "[ExtList]\n+0=*.a\n-0=*.b\n"},
    {"the first of duplicate pattern keys is read, blanks around its name trimmed",
     "[ExtList]\n 0 =*.a\n0=*.x\n1=*.b\n",
     [](WindowSettings& s) {
         s.extList = {"*.a", "*.b"};
     }},
    {"a pattern key far beyond the list does not extend it",
     "[ExtList]\n0=*.a\n2=*.c\n99999999999999999999=*.y\n18446744073709551615=*.z\n",
     [](WindowSettings& s) {
         s.extList = {"*.a"};
     }},
    {"pattern keys of a later duplicate section are not read", "[ExtList]\n0=*.a\n[extlist]\n1=*.b\n",
     [](WindowSettings& s) {
         s.extList = {"*.a"};
     }},
    {"quotes around a pattern are stripped", "[ExtList]\n0=\" *.a\"\n",
     [](WindowSettings& s) {
         s.extList = {" *.a"};
     }},
    {"view mode values beyond three are read as they are", "[Options]\nViewMode=5\nAutoPlay=2\n",
     [](WindowSettings& s) {
         s.ViewMode = 5;
         s.AutoPlay = 2;
     }},
    {"CR LF lines and a byte order mark are read", "\xEF\xBB\xBF[WindowState]\r\nWidth=640\r\n",
     [](WindowSettings& s) {
         s.Width = 640;
     }},
};

class ReadWindowSettingsTest : public ::testing::TestWithParam<SettingsCase>
{};

TEST_P(ReadWindowSettingsTest, GivesTheValuesOrTheirDefaults)
{
    WindowSettings e;
    GetParam().expected(e);
    const WindowSettings s = readWindowSettings(IniFile::parse(GetParam().text));
    EXPECT_EQ(s.Width, e.Width);
    EXPECT_EQ(s.Height, e.Height);
    EXPECT_EQ(s.DirWidth, e.DirWidth);
    EXPECT_EQ(s.DivMode, e.DivMode);
    EXPECT_EQ(s.PreMode, e.PreMode);
    EXPECT_EQ(s.FilesWidth, e.FilesWidth);
    EXPECT_EQ(s.FilesHeight, e.FilesHeight);
    EXPECT_EQ(s.extList, e.extList);
    EXPECT_EQ(s.ViewMode, e.ViewMode);
    EXPECT_EQ(s.AutoPlay, e.AutoPlay);
}

INSTANTIATE_TEST_SUITE_P(Reading, ReadWindowSettingsTest, ::testing::ValuesIn(settingsCases),
                         testing::SaysName());

struct SwitchCase
{
    const char* says;
    int value;
    bool on;
};

const SwitchCase switchCases[] = {
    {"one switches on", 1, true},
    {"zero switches off", 0, false},
    {"two switches off", 2, false},
    {"minus one switches off", -1, false},
};

class OneMeansOnTest : public ::testing::TestWithParam<SwitchCase>
{};

TEST_P(OneMeansOnTest, AppliesToArrangementPreviewAndAutoPlay)
{
    WindowSettings s;
    s.DivMode = s.PreMode = s.AutoPlay = GetParam().value;
    EXPECT_EQ(s.stacked(), GetParam().on);
    EXPECT_EQ(s.previewPressed(), GetParam().on);
    EXPECT_EQ(s.autoPlay(), GetParam().on);
}

INSTANTIATE_TEST_SUITE_P(Switches, OneMeansOnTest, ::testing::ValuesIn(switchCases), testing::SaysName());

struct ViewModeCase
{
    const char* says;
    int viewMode;
    bool applies;
    bool hideHidden;
    bool hideSystem;
};

const ViewModeCase viewModeCases[] = {
    {"zero shows every file", 0, true, false, false},
    {"one hides hidden files", 1, true, true, false},
    {"two hides system files", 2, true, false, true},
    {"three hides both", 3, true, true, true},
    {"four leaves the options", 4, false, false, false},
    {"five leaves the options", 5, false, false, false},
    {"minus one leaves the options", -1, false, false, false},
};

class ViewModeTest : public ::testing::TestWithParam<ViewModeCase>
{};

TEST_P(ViewModeTest, SetsTheHideOptionsOnlyForZeroToThree)
{
    const ViewModeCase& c = GetParam();
    WindowSettings s;
    s.ViewMode = c.viewMode;
    const auto options = s.hideOptions();
    ASSERT_EQ(options.has_value(), c.applies);
    if (options) {
        EXPECT_EQ(options->hideHidden, c.hideHidden);
        EXPECT_EQ(options->hideSystem, c.hideSystem);
        EXPECT_EQ(WindowSettings::viewModeFor(options->hideHidden, options->hideSystem), c.viewMode);
    }
}

INSTANTIATE_TEST_SUITE_P(ViewModes, ViewModeTest, ::testing::ValuesIn(viewModeCases), testing::SaysName());

TEST(WindowSettingsTest, TheNineKeysAreWrittenInTheSavingOrder)
{
    IniFile file = IniFile::parse({});
    WindowSettings s;
    s.Width = 1024;
    s.Height = 768;
    s.DirWidth = 200;
    s.FilesWidth = 300;
    s.FilesHeight = 400;
    s.DivMode = WindowSettings::divModeFor(true);
    s.PreMode = WindowSettings::preModeFor(false);
    s.ViewMode = WindowSettings::viewModeFor(true, true);
    s.AutoPlay = WindowSettings::autoPlayFor(true);
    writeWindowSettings(file, s);
    EXPECT_EQ(file.text(),
              "[WindowState]\nWidth=1024\nHeight=768\nDirWidth=200\nFilesWidth=300\nFilesHeight=400\n"
              "DivMode=1\nPreMode=0\n[Options]\nViewMode=3\nAutoPlay=1\n");
}

TEST(WindowSettingsTest, WritingKeepsUnknownKeysCommentsAndOrder)
{
    const std::string before =
        "; my settings\r\n[Options]\r\nAutoPlay=0\r\nTheme=dark\r\n\r\n"
        "[WindowState]\r\nheight = 600 ; tall\r\nWidth=\"800\"\r\n[ExtList]\r\n0=*.jpg\r\n";
    IniFile file = IniFile::parse(before);
    WindowSettings s = readWindowSettings(file);
    s.Width = 1000;
    s.FilesWidth = 500;
    s.FilesHeight = 300;
    s.ViewMode = 1;
    writeWindowSettings(file, s);
    EXPECT_EQ(file.text(), "; my settings\r\n[Options]\r\nAutoPlay=0\r\nTheme=dark\r\nViewMode=1\r\n\r\n"
                           "[WindowState]\r\nheight =600\r\nWidth=1000\r\nDirWidth=161\r\nFilesWidth=500\r\n"
                           "FilesHeight=300\r\nDivMode=0\r\nPreMode=0\r\n[ExtList]\r\n0=*.jpg\r\n");
}

TEST(WindowSettingsTest, EmptyPanelSizesLeaveTheirKeysAlone)
{
    IniFile file = IniFile::parse("[WindowState]\nFilesWidth=x\n");
    writeWindowSettings(file, WindowSettings{});
    EXPECT_EQ(file.value("WindowState", "FilesWidth"), "x");
    EXPECT_FALSE(file.hasKey("WindowState", "FilesHeight"));
}

TEST(WindowSettingsTest, WrittenSettingsReadBackTheSame)
{
    WindowSettings s;
    s.Width = -5;
    s.Height = INT_MAX;
    s.DirWidth = 0;
    s.FilesWidth = INT_MIN;
    s.FilesHeight = 7;
    s.DivMode = 1;
    s.PreMode = 1;
    s.ViewMode = 2;
    s.AutoPlay = 1;
    IniFile file = IniFile::parse({});
    writeWindowSettings(file, s);
    const WindowSettings r = readWindowSettings(IniFile::parse(file.text()));
    EXPECT_EQ(r.Width, s.Width);
    EXPECT_EQ(r.Height, s.Height);
    EXPECT_EQ(r.DirWidth, s.DirWidth);
    EXPECT_EQ(r.FilesWidth, s.FilesWidth);
    EXPECT_EQ(r.FilesHeight, s.FilesHeight);
    EXPECT_EQ(r.DivMode, s.DivMode);
    EXPECT_EQ(r.PreMode, s.PreMode);
    EXPECT_EQ(r.ViewMode, s.ViewMode);
    EXPECT_EQ(r.AutoPlay, s.AutoPlay);
    EXPECT_TRUE(r.extList.empty());
}

TEST(WindowSettingsTest, TheBuiltInPatternsAreWrittenUnderKeysZeroToTwentyNine)
{
    const std::vector<std::string> patterns = builtInPatterns();
    ASSERT_EQ(patterns.size(), 30u);
    EXPECT_EQ(patterns.front(), "*.*");
    EXPECT_EQ(patterns[17], "*.jpeg");
    EXPECT_EQ(patterns.back(), "*.xls");
    IniFile file = IniFile::parse("[ExtList]\n1=*.b\n");
    writeExtList(file, patterns);
    EXPECT_TRUE(file.text().starts_with("[ExtList]\n1=*.exe\n0=*.*\n2=*.zip\n"));
    EXPECT_EQ(file.value("ExtList", "29"), "*.xls");
    EXPECT_FALSE(file.hasKey("ExtList", "30"));
    EXPECT_EQ(readWindowSettings(IniFile::parse(file.text())).extList, patterns);
}

struct StartCase
{
    const char* says;
    std::string text;
    std::vector<std::string> patterns;
    bool written;
};

const StartCase startCases[] = {
    {"no file gets the built-in patterns written", "", builtInPatterns(), true},
    {"a section without keys gets the built-in patterns written", "[ExtList]\n; mine\n", builtInPatterns(),
     true},
    {"a list without key 0 offers the built-in patterns and keeps its keys",
     "[ExtList]\n1=*.mine\n2=*.other\n", builtInPatterns(), false},
    {"a section of keys that are no numbers keeps them", "[ExtList]\nmine=*.b\n", builtInPatterns(), false},
    {"a list of one empty pattern is kept", "[ExtList]\n0=\n", {""}, false},
    {"a list of the file is kept", "[ExtList]\n0=*.a\n1=*.b\n", {"*.a", "*.b"}, false},
};

class StartPatternsTest : public ::testing::TestWithParam<StartCase>
{};

TEST_P(StartPatternsTest, UsesTheFilesPatternsOrTheBuiltInOnesWrittenOnlyWhereNoKeyIs)
{
    const StartCase& c = GetParam();
    IniFile file = IniFile::parse(c.text);
    WindowSettings s = readWindowSettings(file);
    EXPECT_EQ(addBuiltInPatternsWhenNone(s, file), c.written);
    EXPECT_EQ(s.extList, c.patterns);
    EXPECT_EQ(file.text() == c.text, !c.written);
    if (c.written) {
        EXPECT_EQ(readWindowSettings(IniFile::parse(file.text())).extList, c.patterns);
    }
}

INSTANTIATE_TEST_SUITE_P(StartUp, StartPatternsTest, ::testing::ValuesIn(startCases), testing::SaysName());

TEST(WindowSettingsTest, APatternListOfAHundredThousandKeysIsReadWhole)
{
    std::string text = "[ExtList]\n";
    for (int n = 0; n < 100000; ++n) {
        text += std::to_string(n) + "=*." + std::to_string(n) + "\n";
    }
    text += "100001=*.after-a-gap\n";
    const WindowSettings s = readWindowSettings(IniFile::parse(text));
    ASSERT_EQ(s.extList.size(), 100000u);
    EXPECT_EQ(s.extList.front(), "*.0");
    EXPECT_EQ(s.extList.back(), "*.99999");
}

} // namespace
} // namespace quorvane::core
