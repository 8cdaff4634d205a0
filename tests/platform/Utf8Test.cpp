#include "platform/Utf8.h"

#include "support/CaseName.h"

#include <gtest/gtest.h>

namespace quorvane::platform {
namespace {

struct Case
{
    const char* says;
    std::string text;
    std::size_t length;
    bool valid;
};

const Case cases[] = {
    {"an ASCII letter is one byte", "a", 1, true},
    {"a Japanese character is three bytes", "日", 3, true},
    {"an emoji is four bytes", "\xF0\x9F\x98\x80", 4, true},
    {"a stray continuation byte is a character of its own", "\x80", 1, false},
    {"a truncated sequence gives up its lead byte alone", "\xE6\x97", 1, false},
    {"an overlong encoding is not a character", "\xC0\xAF", 1, false},
    {"an encoded surrogate is not a character", "\xED\xA0\x80", 1, false},
    {"a Shift-JIS lead byte is a character of its own", "\x83\x5C", 1, false},
};

class Utf8Test : public ::testing::TestWithParam<Case>
{};

TEST_P(Utf8Test, DecodesOneCharacter)
{
    const Case& c = GetParam();
    const Utf8Char decoded = decodeUtf8(c.text, 0);
    EXPECT_EQ(decoded.length, c.length) << c.says;
    EXPECT_EQ(decoded.valid, c.valid) << c.says;
}

INSTANTIATE_TEST_SUITE_P(Characters, Utf8Test, ::testing::ValuesIn(cases), testing::SaysName());

TEST(Utf8, EncodingGivesBackTheDecodedBytes)
{
    for (const std::string text : {"a", "é", "日", "\xF0\x9F\x98\x80"}) {
        std::string encoded;
        appendUtf8(encoded, decodeUtf8(text, 0).codePoint);
        EXPECT_EQ(encoded, text);
    }
}

} // namespace
} // namespace quorvane::platform
