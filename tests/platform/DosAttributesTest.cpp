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
    {"the text followed by Samba's binary record", "0x22\0\x03\x00\x03\x00\x22\x00\x00\x00"sv, 0x22},
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

} // namespace
} // namespace quorvane::platform::posix
