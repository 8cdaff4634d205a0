#include "platform/Wildcard.h"

#include "support/CaseName.h"

#include <gtest/gtest.h>

namespace quorvane::platform {
namespace {

struct Case
{
    const char* says;
    std::string pattern;
    std::string name;
    bool matches;
};

const Case cases[] = {
    {"star dot star matches a name with an extension", "*.*", "photo.jpg", true},
    {"star dot star matches a name without a period", "*.*", "README", true},
    {"star dot star matches a dot file", "*.*", ".profile", true},
    {"a lone star matches everything", "*", "anything at all.tar.gz", true},
    {"an extension pattern ignores letter case", "*.txt", "NOTES.TXT", true},
    {"an extension pattern needs that extension", "*.txt", "notes.txt.bak", false},
    {"a trailing dot star also matches the bare stem", "report.*", "report", true},
    {"a trailing dot star does not widen the stem", "report.*", "reports", false},
    {"a question mark is one ASCII character", "?.txt", "a.txt", true},
    {"a question mark is one multi-byte character, not one byte", "?.txt", "日.txt", true},
    {"a question mark does not match two characters", "?.txt", "ab.txt", false},
    {"a question mark needs a character", "photo?.jpg", "photo.jpg", false},
    {"a question mark matches a byte that is not UTF-8", "?.txt", "\xff.txt", true},
    {"a stray byte matches only itself", "\xfe*", "\xff.txt", false},
    {"case is ignored beyond ASCII", "ÄRGER.*", "ärger.txt", true},
    {"brackets stand for themselves", "[ab].txt", "[ab].txt", true},
    {"brackets are no character class", "[ab].txt", "a.txt", false},
    {"a pattern with a slash matches no name", "sub/*.txt", "a.txt", false},
    {"stars backtrack over repeated pieces", "*ab*ab*", "xxabyyabzz", true},
    {"stars fail cleanly when a piece is missing", "*ab*ab*", "xxabyyba", false},
    {"only question marks need exactly that many characters", "???", "abcd", false},
    {"an empty pattern matches no name", "", "a", false},
};

class WildcardTest : public ::testing::TestWithParam<Case>
{};

TEST_P(WildcardTest, MatchesAsUsersExpect)
{
    const Case& c = GetParam();
    EXPECT_EQ(WildcardPattern(c.pattern).matches(c.name), c.matches) << c.says;
}

INSTANTIATE_TEST_SUITE_P(Patterns, WildcardTest, ::testing::ValuesIn(cases), testing::SaysName());

TEST(WildcardPerformance, ManyStarsAgainstALongNameFinish)
{
    const std::string name(255, 'a');
    EXPECT_FALSE(WildcardPattern("*a*a*a*a*a*a*a*a*a*a*b").matches(name));
}

} // namespace
} // namespace quorvane::platform
