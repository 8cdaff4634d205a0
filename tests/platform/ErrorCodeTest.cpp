#include "platform/ErrorCode.h"

#include <cerrno>
#include <gtest/gtest.h>

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

TEST(ErrorCode, NoErrorHasNoText)
{
    EXPECT_EQ(errorText({}), "");
}

} // namespace
} // namespace quorvane::platform
