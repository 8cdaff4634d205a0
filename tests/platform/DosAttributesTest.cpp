#include "platform/posix/DosAttributes.h"

#include "support/CaseName.h"

#include <gtest/gtest.h>

namespace quorvane::platform::posix {
namespace {

using namespace std::string_view_literals;

struct Case
{
    const char* says;
    std::string_view value;
    std::uint32_t attributes;
};

const Case cases[] = {
    {"the archive bit alone", "0x20\0"sv, 0x20},
    {"hidden and system", "0x6\0"sv, 0x06},
    {"upper-case hexadecimal digits", "0X2A\0"sv, 0x2A},
    {"the text followed by a record that does not hold the attributes",
     "0x22\0\0\x09\x00\x09\x00\0\0\x01\0\0\0"sv, 0x22},
    // Samba's record: the text's zero, padding to an even offset, the version twice as 16-bit
    // numbers, padding to a multiple of four, then the version's fields.
    {"a version 4 record under an empty text holds the attributes",
     "\0\0\x04\0\x04\0\0\0\x01\0\0\0\x22\0\0\0\1\2\3\4\5\6\7\x08\1\2\3\4\5\6\7\x08"sv, 0x22},
    {"the record's copy is the one read", "0x20\0\0\x03\0\x03\0\0\0\x01\0\0\0\x06\0\0\0"sv, 0x06},
    {"a record whose attributes are not marked valid leaves the text",
     "0x20\0\0\x03\0\x03\0\0\0\0\0\0\0\x06\0\0\0"sv, 0x20},
    {"a version 1 record begins with the attributes", "0x1\0\x01\0\x01\0\x04\0\0\0"sv, 0x04},
    {"a record cut short leaves the text", "0x20\0\0\x04\0\x04\0\0\0\x01\0\0\0\x06\0"sv, 0x20},
    {"a value without its terminating zero", "0x2"sv, 0x02},
    {"a value that is not hexadecimal text", "junk\0"sv, 0},
    {"digits that are not hexadecimal", "0x2g\0"sv, 0},
    {"an empty value", ""sv, 0},
};

class SambaDosAttribTest : public ::testing::TestWithParam<Case>
{};

TEST_P(SambaDosAttribTest, ReadsTheAttributeText)
{
    const Case& c = GetParam();
    EXPECT_EQ(parseSambaDosAttrib(c.value), c.attributes) << c.says;
}

INSTANTIATE_TEST_SUITE_P(Values, SambaDosAttribTest, ::testing::ValuesIn(cases), testing::SaysName());

struct UpdateCase
{
    const char* says;
    std::string_view oldValue;
    std::uint32_t attributes;
    std::string_view newValue;
};

// Version 4 fields after the flags: the attributes, then two time stamps whose bytes must survive.
const UpdateCase updateCases[] = {
    {"no value gets the text alone", ""sv, 0x06, "0x6\0"sv},
    {"a text without a record is replaced", "0x20\0"sv, 0x02, "0x2\0"sv},
    {"other bits of the text are written as given", "0x80\0"sv, 0xa2, "0xa2\0"sv},
    {"a record under an empty text gets the attributes and keeps every other byte",
     "\0\0\x04\0\x04\0\0\0\x01\0\0\0\x20\0\0\0\1\2\3\4\5\6\7\x08\x11\x12\x13\x14\x15\x16\x17\x18"sv, 0x27,
     "0x27\0\0\x04\0\x04\0\0\0\x01\0\0\0\x27\0\0\0\1\2\3\4\5\6\7\x08\x11\x12\x13\x14\x15\x16\x17\x18"sv},
    {"a longer text moves the record to its new place",
     "0x2\0\x04\0\x04\0\x01\0\0\0\x02\0\0\0\1\2\3\4\5\6\7\x08"sv, 0x22,
     "0x22\0\0\x04\0\x04\0\0\0\x01\0\0\0\x22\0\0\0\1\2\3\4\5\6\7\x08"sv},
    {"attributes not marked valid become valid", "0x20\0\0\x03\0\x03\0\0\0\x10\0\0\0\x20\0\0\0"sv, 0x02,
     "0x2\0\x03\0\x03\0\x11\0\0\0\x02\0\0\0"sv},
    {"a version 1 record gets them at its start", "0x1\0\x01\0\x01\0\x01\0\0\0\x09\0\0\0"sv, 0x20,
     "0x20\0\0\x01\0\x01\0\0\0\x20\0\0\0\x09\0\0\0"sv},
    {"a record of an unknown version is kept", "0x2\0\x09\0\x09\0\x05\0\0\0"sv, 0x20,
     "0x20\0\0\x09\0\x09\0\0\0\x05\0\0\0"sv},
    {"bytes that are no record are kept after the text", "0x20\0junk"sv, 0x02, "0x2\0junk"sv},
};

class SambaDosAttribUpdateTest : public ::testing::TestWithParam<UpdateCase>
{};

TEST_P(SambaDosAttribUpdateTest, WritesTheAttributesWhereSambaReadsThem)
{
    const UpdateCase& c = GetParam();
    const std::string value = updateSambaDosAttrib(c.oldValue, c.attributes);
    EXPECT_EQ(value, c.newValue) << c.says;
    EXPECT_EQ(parseSambaDosAttrib(value), c.attributes) << c.says;
}

INSTANTIATE_TEST_SUITE_P(Values, SambaDosAttribUpdateTest, ::testing::ValuesIn(updateCases),
                         testing::SaysName());

} // namespace
} // namespace quorvane::platform::posix
