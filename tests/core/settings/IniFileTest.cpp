#include "core/settings/IniFile.h"

#include "support/CaseName.h"

#include <gtest/gtest.h>
#include <optional>
#include <random>
#include <string>

namespace quorvane::core {
namespace {

struct ReadCase
{
    const char* says;
    std::string text;
    std::string section;
    std::string key;
    std::optional<std::string> expected;
};

const ReadCase readCases[] = {
    {"a key is read from its section", "[A]\nk=v\n", "A", "k", "v"},
    {"section and key names compare without case", "[WindowState]\nWidth=1\n", "windowSTATE", "wIDTH", "1"},
    {"blanks around names and values are trimmed", "  [ A ]  \n \t k \t=  v v \t\n", "A", "k", "v v"},
    {"one pair of double quotes is stripped", "[A]\nk=\"  v \"\n", "A", "k", "  v "},
    {"one pair of single quotes is stripped", "[A]\nk='v'\n", "A", "k", "v"},
    {"only the outer pair of quotes is stripped", "[A]\nk=\"\"v\"\"\n", "A", "k", "\"v\""},
    {"quotes that do not match stay", "[A]\nk=\"v'\n", "A", "k", "\"v'"},
    {"a lone quote stays", "[A]\nk=\"\n", "A", "k", "\""},
    {"the first of duplicate sections wins", "[A]\nk=1\n[B]\n[a]\nk=2\n", "A", "k", "1"},
    {"keys of a later duplicate section are not read", "[A]\nk=1\n[A]\nj=2\n", "A", "j", std::nullopt},
    {"the first of duplicate keys wins", "[A]\nk=1\nK=2\n", "A", "k", "1"},
    {"a line without an equals sign is no key", "[A]\nk\nk 5\n", "A", "k", std::nullopt},
    {"a comment line is no key", "[A]\n;k=1\n#j=2\n", "A", ";k", std::nullopt},
    {"keys before the first section belong to no section", "k=1\n[A]\n", "A", "k", std::nullopt},
    {"an empty value is an empty text", "[A]\nk=\n", "A", "k", ""},
    {"a value keeps everything after the first equals sign", "[A]\nk=a=b\n", "A", "k", "a=b"},
    {"a key of another section is not found", "[A]\nk=1\n[B]\n", "B", "k", std::nullopt},
    {"a missing section reads nothing", "[A]\nk=1\n", "C", "k", std::nullopt},
    {"CR LF line ends are not part of the value", "[A]\r\nk=v\r\n", "A", "k", "v"},
    {"a byte order mark does not hide the first section", "\xEF\xBB\xBF[A]\nk=v\n", "A", "k", "v"},
    {"a last line without a line end is read", "[A]\nk=v", "A", "k", "v"},
    {"a section line without a closing bracket names the rest of the line", "[A\nk=v\n", "A", "k", "v"},
    {"text after the closing bracket is not part of the name", "[A] ; note\nk=v\n", "A", "k", "v"},
    {"bytes beyond ASCII are compared as they are", "[\xC3\x84]\nk=v\n", "\xC3\xA4", "k", std::nullopt},
    {"multi-byte names are found", "[\x95\x5C]\n\x83\x5C=v\n", "\x95\x5C", "\x83\x5C", "v"},
};

class IniFileReadTest : public ::testing::TestWithParam<ReadCase>
{};

TEST_P(IniFileReadTest, ReadsAsPrivateProfileStrings)
{
    const ReadCase& c = GetParam();
    const IniFile file = IniFile::parse(c.text);
    EXPECT_EQ(file.value(c.section, c.key), c.expected);
    EXPECT_EQ(file.hasKey(c.section, c.key), c.expected.has_value());
}

INSTANTIATE_TEST_SUITE_P(Reading, IniFileReadTest, ::testing::ValuesIn(readCases), testing::SaysName());

struct TextCase
{
    const char* says;
    std::string text;
};

const TextCase keptCases[] = {
    {"an empty file", ""},
    {"comments, blank lines and unknown keys",
     "; made by hand\n\n[A]\nunknown = 1 \n# note\n\n[B]\nk=\"q\"\n"},
    {"CR LF line ends", "[A]\r\nk=1\r\n\r\n"},
    {"mixed line ends", "[A]\r\nk=1\nj=2\r\n"},
    {"a byte order mark", "\xEF\xBB\xBF[A]\nk=1\n"},
    {"no line end after the last line", "[A]\nk=1"},
    {"lines that are neither sections nor keys", "[A]\nnonsense\n  ]\n=\n[\n"},
    {"NUL and control bytes", std::string("[A]\0\x01\nk=\0\xff\n\0", 11)},
    {"a lone carriage return inside a line", "[A]\nk=a\rb\n"},
    {"blank lines at the end", "[A]\nk=1\n\n\n"},
};

class IniFileKeepTest : public ::testing::TestWithParam<TextCase>
{};

TEST_P(IniFileKeepTest, GivesBackTheTextByteForByte)
{
    EXPECT_EQ(IniFile::parse(GetParam().text).text(), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Keeping, IniFileKeepTest, ::testing::ValuesIn(keptCases), testing::SaysName());

struct WriteCase
{
    const char* says;
    std::string before;
    std::string section;
    std::string key;
    std::string value;
    std::string after;
    std::string readBack;
};

const WriteCase writeCases[] = {
    {"replacing a value keeps the rest of the file byte for byte", "; c\n[A]\nx=1\nk=old\n\n[B]\ny=2\n", "A",
     "k", "new", "; c\n[A]\nx=1\nk=new\n\n[B]\ny=2\n", "new"},
    {"replacing keeps the key's spelling and the blanks before the equals sign", "[A]\n  Key = old\n", "a",
     "KEY", "9", "[A]\n  Key =9\n", "9"},
    {"a new key goes after the last key of its section", "[A]\nx=1\n\n; about B\n[B]\n", "A", "k", "v",
     "[A]\nx=1\nk=v\n\n; about B\n[B]\n", "v"},
    {"a new key in a section without keys follows its section line", "[A]\n[B]\n", "a", "k", "v",
     "[A]\nk=v\n[B]\n", "v"},
    {"a new section is appended at the end", "[A]\nx=1\n", "B", "k", "v", "[A]\nx=1\n[B]\nk=v\n", "v"},
    {"a missing last line end is added before an appended section", "[A]\nx=1", "B", "k", "v",
     "[A]\nx=1\n[B]\nk=v\n", "v"},
    {"a missing last line end is added before an appended key", "[A]\nx=1", "A", "k", "v", "[A]\nx=1\nk=v\n",
     "v"},
    {"a section line without a line end gets one before its first key", "[A]", "A", "k", "v", "[A]\nk=v\n",
     "v"},
    {"a CR LF file gets CR LF lines", "[A]\r\nx=1\r\n", "B", "k", "v", "[A]\r\nx=1\r\n[B]\r\nk=v\r\n", "v"},
    {"a replaced value keeps its line's CR LF", "[A]\r\nk=1\r\n", "A", "k", "2", "[A]\r\nk=2\r\n", "2"},
    {"writing changes the first of duplicate sections", "[A]\nk=1\n[A]\nk=2\n", "A", "k", "9",
     "[A]\nk=9\n[A]\nk=2\n", "9"},
    {"writing changes the first of duplicate keys", "[A]\nk=1\nk=2\n", "A", "k", "9", "[A]\nk=9\nk=2\n", "9"},
    {"a key of the first duplicate section is added there", "[A]\nx=1\n[A]\nk=2\n", "A", "k", "9",
     "[A]\nx=1\nk=9\n[A]\nk=2\n", "9"},
    {"an empty file gets the section and the key", "", "A", "k", "v", "[A]\nk=v\n", "v"},
    {"a value with blanks at its ends is written in quotes", "[A]\n", "A", "k", " v ", "[A]\nk=\" v \"\n",
     " v "},
    {"a value in quotes is written in one more pair", "[A]\n", "A", "k", "'v'", "[A]\nk=\"'v'\"\n", "'v'"},
    {"an empty value is written as nothing", "[A]\nk=1\n", "A", "k", "", "[A]\nk=\n", ""},
    {"a value ends before its first line end", "[A]\n", "A", "k", "a\r\nb", "[A]\nk=a\n", "a"},
    {"a key before the first section is left alone", "k=1\n[A]\n", "A", "k", "2", "k=1\n[A]\nk=2\n", "2"},
    {"a byte order mark stays in front", "\xEF\xBB\xBF[A]\nk=1\n", "A", "k", "2", "\xEF\xBB\xBF[A]\nk=2\n",
     "2"},
    {"a line without an equals sign is not taken for the key", "[A]\nk\n", "A", "k", "1", "[A]\nk=1\nk\n",
     "1"},
};

class IniFileWriteTest : public ::testing::TestWithParam<WriteCase>
{};

TEST_P(IniFileWriteTest, ChangesOnlyTheKey)
{
    const WriteCase& c = GetParam();
    IniFile file = IniFile::parse(c.before);
    file.setValue(c.section, c.key, c.value);
    EXPECT_EQ(file.text(), c.after);
    EXPECT_EQ(file.value(c.section, c.key), c.readBack);
    EXPECT_EQ(IniFile::parse(file.text()).value(c.section, c.key), c.readBack);
}

INSTANTIATE_TEST_SUITE_P(Writing, IniFileWriteTest, ::testing::ValuesIn(writeCases), testing::SaysName());

TEST(IniFileTest, KeysAddedOneAfterAnotherKeepTheirOrder)
{
    IniFile file = IniFile::parse("[A]\nx=1\n\n[B]\n");
    file.setValue("A", "k", "1");
    file.setValue("A", "j", "2");
    file.setValue("C", "m", "3");
    file.setValue("C", "n", "4");
    file.setValue("A", "k", "5");
    EXPECT_EQ(file.text(), "[A]\nx=1\nk=5\nj=2\n\n[B]\n[C]\nm=3\nn=4\n");
}

TEST(IniFileTest, ALineOfOneMegabyteIsReadWhole)
{
    const std::string longValue(1 << 20, 'x');
    const std::string text = "[A]\n" + std::string(1 << 20, ';') + "\nk=" + longValue + "\nj=2\n";
    IniFile file = IniFile::parse(text);
    EXPECT_EQ(file.value("A", "k"), longValue);
    EXPECT_EQ(file.value("A", "j"), "2");
    EXPECT_EQ(file.text(), text);
}

TEST(IniFileTest, BinaryGarbageIsKeptAndReadWithoutHarm)
{
    std::mt19937 random(20261208);
    for (int round = 0; round < 50; ++round) {
        std::string garbage(4096, '\0');
        for (char& c : garbage) {
            // Brackets, equals signs and line ends often enough to make sections and keys.
            const char specials[] = {'[', ']', '=', '\n', '\r', '"'};
            const unsigned roll = random() % 16;
            c = roll < 6 ? specials[roll] : static_cast<char>(random() % 256);
        }
        IniFile file = IniFile::parse(garbage);
        EXPECT_EQ(file.text(), garbage);
        file.value("WindowState", "Width");
        file.setValue("WindowState", "Width", "800");
        EXPECT_EQ(IniFile::parse(file.text()).value("WindowState", "Width"), "800");
    }
}

} // namespace
} // namespace quorvane::core
