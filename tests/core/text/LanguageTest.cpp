#include "core/text/Language.h"

#include "core/settings/LanguageSetting.h"
#include "core/text/Translation.h"
#include "support/CaseName.h"

#include <gtest/gtest.h>

namespace quorvane::core {
namespace {

struct LanguageCase
{
    const char* says;
    std::string choice;
    std::string locale;
    std::string shown;
};

const std::vector<std::string> translated = {"en", "de"};

const LanguageCase languageCases[] = {
    {"a Japanese locale shows Japanese", "auto", "ja_JP.UTF-8", "ja"},
    {"the C locale shows Japanese", "auto", "C.UTF-8", "ja"},
    {"the POSIX locale shows Japanese", "auto", "POSIX", "ja"},
    {"no locale at all shows Japanese", "auto", "", "ja"},
    {"an English locale shows English", "auto", "en_GB.UTF-8", "en"},
    {"a locale without a translation shows English", "auto", "fr_FR.UTF-8", "en"},
    {"a locale with a translation shows it", "auto", "de_AT@euro", "de"},
    {"a chosen language wins over the locale", "en", "ja_JP.UTF-8", "en"},
    {"Japanese chosen wins over the locale", "ja", "en_US.UTF-8", "ja"},
    {"a chosen language without a translation shows English", "xx", "ja_JP.UTF-8", "en"},
    {"an empty choice follows the locale", "", "ja_JP.eucJP", "ja"},
};

class ShownLanguage : public ::testing::TestWithParam<LanguageCase>
{};

TEST_P(ShownLanguage, FollowsTheChoiceThenTheLocale)
{
    const LanguageCase& c = GetParam();
    EXPECT_EQ(shownLanguage(c.choice, c.locale, translated), c.shown) << c.says;
}

INSTANTIATE_TEST_SUITE_P(Language, ShownLanguage, ::testing::ValuesIn(languageCases), testing::SaysName());

TEST(LanguageSetting, IsKeptUnderAKeyOfItsOwnAndReadsAutoWhenMissing)
{
    IniFile file = IniFile::parse("[Options]\nViewMode=1\n");
    EXPECT_EQ(readLanguageChoice(file), "auto");
    writeLanguageChoice(file, "en");
    EXPECT_EQ(file.text(), "[Options]\nViewMode=1\nLanguage=en\n");
    EXPECT_EQ(readLanguageChoice(IniFile::parse("[options]\nlanguage=JA\n")), "ja");
}

TEST(Translation, ArgumentsAreFilledInOnePassAndPluralsCountWithoutATranslator)
{
    EXPECT_EQ(withArguments("'%1' と %2", {"a%2b", "c"}), "'a%2b' と c");
    EXPECT_EQ(withArguments("%1 %3 100%", {"x"}), "x %3 100%");
    EXPECT_EQ(translate("Test", "%n File(s)", nullptr, 12), "12 File(s)");
    EXPECT_EQ(translate("Test", "ほか %n 個"), "ほか %n 個");
}

} // namespace
} // namespace quorvane::core
