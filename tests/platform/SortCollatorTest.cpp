#include "platform/Locale.h"
#include "support/CaseName.h"

#include <cstdint>
#include <cstdlib>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

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

// Sets LC_ALL for the life of the object, so that a collator takes that locale.
class CollationLocale
{
public:
    explicit CollationLocale(const char* name)
    {
        if (const char* previous = std::getenv("LC_ALL")) {
            previous_ = previous;
        }
        setenv("LC_ALL", name, 1);
    }
    ~CollationLocale()
    {
        if (previous_) {
            setenv("LC_ALL", previous_->c_str(), 1);
        } else {
            unsetenv("LC_ALL");
        }
    }
    CollationLocale(const CollationLocale&) = delete;
    CollationLocale& operator=(const CollationLocale&) = delete;

private:
    std::optional<std::string> previous_;
};

int sign(int value)
{
    return (value > 0) - (value < 0);
}

// Property: wherever the short keys are taken, they order texts exactly as the full keys do, in
// locales with and without contractions of ASCII letters ("ch" in Czech, "aa" in Danish).
TEST(SortCollator, ShortKeysOrderAsTheFullKeysDo)
{
    const std::string alphabet = " -'.,_~!0129abchxyzABCHXZ";
    std::uint32_t seed = 4711;
    const auto next = [&seed] {
        return seed = seed * 1103515245 + 12345;
    };
    std::vector<std::string> texts = {"IMG_0009.jpg", "img_0010.JPG", "co-op", "coop", "it's", "its", ""};
    for (int i = 0; i < 300; ++i) {
        std::string text;
        for (std::uint32_t length = (next() >> 8) % 7; length > 0; --length) {
            text.push_back(alphabet[(next() >> 8) % alphabet.size()]);
        }
        texts.push_back(text);
    }
    for (const char* locale :
         {"C", "en_US.UTF-8", "ja_JP.UTF-8", "de_DE.UTF-8", "cs_CZ.UTF-8", "da_DK.UTF-8"}) {
        const CollationLocale chosen(locale);
        const SortCollator collator;
        if (std::string(locale) == "C" || std::string(locale) == "ja_JP.UTF-8") {
            EXPECT_TRUE(collator.simplyOrdered("IMG_0009.jpg"))
                << locale << ": a camera's names take short keys";
        }
        std::vector<std::pair<std::string, std::string>> keys; // full, short
        for (const std::string& text : texts) {
            if (collator.simplyOrdered(text)) {
                std::string shortKey;
                collator.appendSimpleSortKey(text, shortKey);
                keys.emplace_back(collator.sortKey(text), shortKey);
            }
        }
        for (std::size_t a = 0; a < keys.size(); ++a) {
            for (std::size_t b = a + 1; b < keys.size(); ++b) {
                ASSERT_EQ(sign(keys[a].first.compare(keys[b].first)),
                          sign(keys[a].second.compare(keys[b].second)))
                    << locale << ": text " << a << " and " << b;
            }
        }
    }
}

} // namespace
} // namespace quorvane::platform
