#include "platform/ErrorCode.h"

#include "support/CaseName.h"

#include <cerrno>
#include <gtest/gtest.h>
#include <locale.h>
#include <unistd.h>

namespace quorvane::platform {
namespace {

TEST(ErrorCode, KeepsTheErrnoValue)
{
    EXPECT_EQ(errorFromErrno(EEXIST).value(), EEXIST);
    EXPECT_EQ(errorFromErrno(EEXIST), std::errc::file_exists);
}

TEST(ErrorCode, TextHasNoTrailingPeriodOrBlanks)
{
    for (const int value : {ENOENT, EEXIST, EACCES, EINVAL, ENAMETOOLONG, EXDEV}) {
        const std::string text = errorText(errorFromErrno(value));
        ASSERT_FALSE(text.empty()) << value;
        EXPECT_NE(text.back(), '.') << text;
        EXPECT_NE(text.back(), ' ') << text;
    }
}

struct JapaneseTextCase
{
    const char* says;
    int value;
    std::string text;
};

const JapaneseTextCase japaneseTexts[] = {
    {"a missing file", ENOENT, "そのようなファイルやディレクトリはありません"},
    {"a name that is taken", EEXIST, "ファイルが存在します"},
    {"a permission refused", EACCES, "許可がありません"},
};

class SystemText : public ::testing::TestWithParam<JapaneseTextCase>
{};

TEST_P(SystemText, IsJapaneseWhereTheSystemCarriesTheTranslations)
{
    const locale_t japanese = newlocale(LC_MESSAGES_MASK, "ja_JP.UTF-8", static_cast<locale_t>(0));
    if (japanese == static_cast<locale_t>(0) ||
        access("/usr/share/locale/ja/LC_MESSAGES/libc.mo", R_OK) != 0) {
        GTEST_SKIP() << "no Japanese locale or no translations of glibc (scripts/install-deps.sh adds both)";
    }
    freelocale(japanese);
    EXPECT_EQ(errorText(errorFromErrno(GetParam().value)), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(ErrorCode, SystemText, ::testing::ValuesIn(japaneseTexts), testing::SaysName());

TEST(ErrorCode, IsEnglishWhileTheProgramSpeaksEnglish)
{
    setErrorTextLanguage("en");
    const std::string english = errorText(errorFromErrno(ENOENT));
    setErrorTextLanguage("ja");
    EXPECT_EQ(english, "No such file or directory");
}

TEST(ErrorCode, NoErrorHasNoText)
{
    EXPECT_EQ(errorText({}), "");
}

} // namespace
} // namespace quorvane::platform
