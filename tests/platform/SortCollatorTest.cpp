#include "platform/Locale.h"
#include "support/CaseName.h"

#include <gtest/gtest.h>

namespace quorvane::platform {
namespace {

struct Case
{
    const char* says;
    std::string first;
    std::string second;
    int order; // -1, 0 or 1: first before, equal to, or after second
};

const Case cases[] = {
    {"letter case is ignored", "a.txt", "A.txt", 0},
    {"hyphens carry no weight: H sorts before S", "-H--", "--SA", -1},
    {"sizes compare as text", "10 KB", "9 KB", -1},
    {"a period counts as punctuation before letters", ".profile", "archive.tar.gz", -1},
    {"an underscore counts", "a_b", "ab", -1},
    {"hyphens decide only between otherwise equal texts", "co-op", "coop", -1},
    {"apostrophes are weightless too", "its", "it's", 1},
    {"half-width and full-width kana differ", "ｶﾞ", "ガ", 1},
    {"full-width letters differ from ASCII", "ABC", "ＡＢＣ", 1},
    {"timestamps in fixed width compare in time order", "2004/03/09 07:05:00", "2004/03/10 01:00:00", -1},
    {"a byte that is not UTF-8 compares without trouble", "\xff\xfe", "a", 1},
};

class SortCollatorTest : public ::testing::TestWithParam<Case>
{};

TEST_P(SortCollatorTest, ComparesLikeAFileManager)
{
    const Case& c = GetParam();
    const SortCollator collator;
    EXPECT_EQ(collator.compare(c.first, c.second), c.order) << c.says;
    EXPECT_EQ(collator.compare(c.second, c.first), -c.order) << c.says;
}

INSTANTIATE_TEST_SUITE_P(Texts, SortCollatorTest, ::testing::ValuesIn(cases), testing::SaysName());

} // namespace
} // namespace quorvane::platform
