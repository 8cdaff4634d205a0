#include "core/listing/Path.h"

#include "support/CaseName.h"

#include <gtest/gtest.h>

namespace quorvane::core {
namespace {

struct Case
{
    const char* says;
    std::string folder;
    std::string name;
    std::string path;
};

const Case cases[] = {
    {"a folder gets one slash before the name", "/home/user/Pictures", "a.jpg", "/home/user/Pictures/a.jpg"},
    {"the root folder is not doubled", "/", "a.jpg", "/a.jpg"},
    {"a folder given with its slash keeps one", "/tmp/", "a.jpg", "/tmp/a.jpg"},
    {"bytes of the name are joined as they are", "/tmp", "\x83\x5C.txt", "/tmp/\x83\x5C.txt"},
    {"an empty name gives the folder prefix alone", "/tmp", "", "/tmp/"},
};

class PathTest : public ::testing::TestWithParam<Case>
{};

TEST_P(PathTest, JoinsFolderAndName)
{
    const Case& c = GetParam();
    EXPECT_EQ(fullPath(c.folder, c.name), c.path) << c.says;
}

INSTANTIATE_TEST_SUITE_P(Paths, PathTest, ::testing::ValuesIn(cases), testing::SaysName());

} // namespace
} // namespace quorvane::core
