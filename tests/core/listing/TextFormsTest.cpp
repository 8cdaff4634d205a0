#include "core/listing/TextForms.h"

#include "support/CaseName.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace quorvane::core {
namespace {

struct SizeCase
{
    const char* says;
    std::uint64_t bytes;
    const char* separator;
    std::string text;
};

const SizeCase sizeCases[] = {
    {"an empty file is 1 KB", 0, ",", "1 KB"},
    {"anything below a kilobyte is 1 KB", 1023, ",", "1 KB"},
    {"one kilobyte exactly", 1024, ",", "1 KB"},
    {"just under one and a half rounds down", 1535, ",", "1 KB"},
    {"one and a half rounds up", 1536, ",", "2 KB"},
    {"a megabyte groups its digits", 1048576, ",", "1,024 KB"},
    {"ten million bytes", 10000000, ",", "9,766 KB"},
    {"the locale's own separator is used", 1048576, ".", "1.024 KB"},
    {"a multi-byte separator is used whole", 123456789012, "\u202f", "120\u202f563\u202f271 KB"},
    {"two gibibytes are shown in full", 2147483648ULL, ",", "2,097,152 KB"},
    {"five gibibytes are shown in full", 5ULL << 30, ",", "5,242,880 KB"},
    {"the largest size does not overflow", UINT64_MAX, ",", "18,014,398,509,481,984 KB"},
};

class SizeTextTest : public ::testing::TestWithParam<SizeCase>
{};

TEST_P(SizeTextTest, WritesKilobytes)
{
    const SizeCase& c = GetParam();
    EXPECT_EQ(sizeText(c.bytes, c.separator), c.text) << c.says;
}

INSTANTIATE_TEST_SUITE_P(Sizes, SizeTextTest, ::testing::ValuesIn(sizeCases), testing::SaysName());

TEST(TimestampText, PadsEveryField)
{
    EXPECT_EQ(timestampText(platform::LocalDateTime{2004, 3, 9, 7, 5, 0}), "2004/03/09 07:05:00");
    EXPECT_EQ(timestampText(platform::LocalDateTime{2004, 3, 9, 23, 59, 59}), "2004/03/09 23:59:59");
}

TEST(TimestampText, ShowsAFileTimeInTheLocalZoneOfItsInstant)
{
    const platform::FileTime stamped{1078783500, 999999999}; // 2004-03-08 22:05:00.999 UTC
    {
        const testing::TimeZone zone("Asia/Tokyo");
        EXPECT_EQ(timestampText(stamped), "2004/03/09 07:05:00");
    }
    {
        const testing::TimeZone zone("Europe/Berlin");
        EXPECT_EQ(timestampText(stamped), "2004/03/08 23:05:00");
        EXPECT_EQ(timestampText(platform::FileTime{1625133600, 0}), "2021/07/01 12:00:00");
    }
}

TEST(TimestampText, ReadsBackWhatItWrites)
{
    const platform::LocalDateTime local{2006, 5, 4, 9, 5, 7};
    EXPECT_EQ(parseTimestampText(timestampText(local)), local);
}

TEST(TimestampText, RefusesTextsOfAnotherForm)
{
    for (const char* text : {"", "2006/05/04", "2006-05-04 09:05:07", "2006/05/04 09:05:7 ",
                             "2006/05/04 09:05:0x", "２００６/05/04 09:05:07"}) {
        EXPECT_FALSE(parseTimestampText(text).has_value()) << text;
    }
}

struct AttributeCase
{
    const char* says;
    std::uint32_t value;
    std::string text;
};

const AttributeCase attributeCases[] = {
    {"no attribute", 0, "----"},
    {"archive only", 0x20, "---A"},
    {"read-only and archive", 0x21, "R--A"},
    {"hidden and system", 0x06, "-HS-"},
    {"read-only, hidden and system", 0x07, "RHS-"},
    {"all four", 0x27, "RHSA"},
};

class AttributeTextTest : public ::testing::TestWithParam<AttributeCase>
{};

TEST_P(AttributeTextTest, WritesFourPlaces)
{
    const AttributeCase& c = GetParam();
    EXPECT_EQ(attributeText(c.value), c.text) << c.says;
    EXPECT_EQ(attributeValue(c.text), c.value) << c.says;
}

INSTANTIATE_TEST_SUITE_P(Attributes, AttributeTextTest, ::testing::ValuesIn(attributeCases),
                         testing::SaysName());

TEST(AttributeValue, FindsEachLetterAnywhere)
{
    EXPECT_EQ(attributeValue("AR"), 0x21u);
    EXPECT_EQ(attributeValue("x"), 0u);
    EXPECT_EQ(attributeValue("rhsa"), 0u);
}

} // namespace
} // namespace quorvane::core
