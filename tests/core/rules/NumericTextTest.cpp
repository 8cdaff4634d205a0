#include "core/rules/NumericText.h"

#include "support/CaseName.h"

#include <gtest/gtest.h>

namespace quorvane::core {
namespace {

struct Case
{
    const char* says;
    std::string text;
    NumberPattern pattern;
    std::string shown;      // the normalised text, or the error message
    std::int64_t value = 0; // the committed value times 10 000
    bool ok = true;
};

const NumberPattern plain{};
const NumberPattern twoDecimals{false, 2, ","};
const NumberPattern grouped{true, 0, ","};
const NumberPattern groupedTwo{true, 2, ","};

const Case cases[] = {
    {"leading zeros disappear", "007", plain, "7", 70000},
    {"more leading zeros disappear", "00012", plain, "12", 120000},
    {"an empty text becomes zero", "", plain, "0", 0},
    {"a pasted negative number stays", "-5", plain, "-5", -50000},
    {"letters pasted between digits are dropped", "12ab3", plain, "123", 1230000},
    {"commas are dropped", "1,234", plain, "1234", 12340000},
    {"two decimals round the shown text and the value", "3.14159", twoDecimals, "3.14", 31400},
    {"a half rounds away from zero when shown", "2.5", plain, "3", 30000},
    {"a negative half rounds away from zero when shown", "-2.5", plain, "-3", -30000},
    {"a half of the last decimal rounds away from zero", "0.125", twoDecimals, "0.13", 1300},
    {"thousands separators every three digits", "1234567", grouped, "1,234,567", 12345670000},
    {"separators and decimals together", "-1234.5", groupedTwo, "-1,234.50", -12345000},
    {"a number below a thousand has no separator", "999", grouped, "999", 9990000},
    {"a number rounding to zero shows no minus sign", "-0.4", plain, "0", 0},
    {"a fraction alone gets its integer zero", ".5", twoDecimals, "0.50", 5000},
    {"a trailing period is read as a whole number", "5.", plain, "5", 50000},
    {"a lone minus sign is a conversion error", "-", plain, "'-' は浮動小数点数ではありません", 0, false},
    {"two periods are a conversion error", "1.2.3", plain, "'1.2.3' は浮動小数点数ではありません", 0, false},
    {"a minus sign after a digit is a conversion error", "1-2", plain, "'1-2' は浮動小数点数ではありません",
     0, false},
    {"the error names the cleaned text", "a-b", plain, "'-' は浮動小数点数ではありません", 0, false},
    {"a lone period is a conversion error", ".", plain, "'.' は浮動小数点数ではありません", 0, false},
};

class NumericTextTest : public ::testing::TestWithParam<Case>
{};

TEST_P(NumericTextTest, NormalisesAndCommits)
{
    const Case& c = GetParam();
    const NumberResult normalised = normaliseNumberText(c.text, c.pattern);
    const NumberResult committed = commitNumberText(c.text, c.pattern);
    EXPECT_EQ(normalised.ok, c.ok) << c.says;
    EXPECT_EQ(committed.ok, c.ok) << c.says;
    EXPECT_EQ(c.ok ? normalised.text : normalised.error, c.shown) << c.says;
    EXPECT_EQ(c.ok ? committed.text : committed.error, c.shown) << c.says;
    if (c.ok) {
        EXPECT_EQ(committed.value, c.value) << c.says;
    }
}

INSTANTIATE_TEST_SUITE_P(Numbers, NumericTextTest, ::testing::ValuesIn(cases), testing::SaysName());

struct ValueCase
{
    const char* says;
    std::string text;
    int decimals;
    std::int64_t value;
};

const ValueCase committedValues[] = {
    {"a half of the fourth decimal goes to the even digit below", "0.00125", 6, 12},
    {"a half of the fourth decimal goes to the even digit above", "0.00135", 6, 14},
    {"more than a half of the fourth decimal rounds up", "0.001251", 6, 13},
    {"a negative half of the fourth decimal goes to the even digit", "-0.00125", 6, -12},
    {"the largest value fits", "922337203685477.5807", 4, INT64_MAX},
};

class CommittedValueTest : public ::testing::TestWithParam<ValueCase>
{};

TEST_P(CommittedValueTest, RoundsHalvesToEven)
{
    const ValueCase& c = GetParam();
    const NumberResult committed = commitNumberText(c.text, {false, c.decimals, ","});
    ASSERT_TRUE(committed.ok) << c.says;
    EXPECT_EQ(committed.value, c.value) << c.says;
}

INSTANTIATE_TEST_SUITE_P(Values, CommittedValueTest, ::testing::ValuesIn(committedValues),
                         testing::SaysName());

TEST(NumericText, ANumberBeyondTheValueIsAConversionErrorThatKeepsEverything)
{
    const NumberResult committed = commitNumberText("922337203685477.5808", {false, 4, ","});
    EXPECT_FALSE(committed.ok);
    EXPECT_EQ(committed.error, "'922337203685477.5808' は浮動小数点数ではありません");
}

struct GeneralCase
{
    const char* says;
    std::int64_t value;
    std::string text;
};

const GeneralCase generalTexts[] = {
    {"a whole value has no decimals", 70000, "7"},
    {"trailing zeros of decimals are dropped", 15000, "1.5"},
    {"a negative fraction keeps its sign and zero", -5000, "-0.5"},
    {"zero is zero", 0, "0"},
    {"the smallest fraction is written in full", 1, "0.0001"},
    {"more than fifteen significant digits are rounded", 1234567890123456789, "123456789012346"},
};

class GeneralTextTest : public ::testing::TestWithParam<GeneralCase>
{};

TEST_P(GeneralTextTest, WritesTheShortestForm)
{
    const GeneralCase& c = GetParam();
    EXPECT_EQ(generalNumberText(c.value), c.text) << c.says;
}

INSTANTIATE_TEST_SUITE_P(General, GeneralTextTest, ::testing::ValuesIn(generalTexts), testing::SaysName());

TEST(NumericText, CleaningKeepsDigitsMinusAndPeriodInOrder)
{
    EXPECT_EQ(cleanNumberText(" 1 2,3-.x4"), "123-.4");
    EXPECT_EQ(cleanNumberText("abc"), "0");
    EXPECT_EQ(cleanNumberText(std::string(100000, '9')), std::string(100000, '9'));
}

} // namespace
} // namespace quorvane::core
