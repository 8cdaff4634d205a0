#include "platform/LargeBuffer.h"

#include "support/CaseName.h"

#include <gtest/gtest.h>

namespace quorvane::platform {
namespace {

struct ReserveCase
{
    const char* says;
    std::size_t first;
    std::size_t second;
    bool keepsItsMemory;
};

const ReserveCase reserveCases[] = {
    {"a small buffer asked for less keeps its memory", 1000, 10, true},
    {"a large buffer asked for less keeps its memory", 20u << 20, 9u << 20, true},
    {"a large buffer asked for the same keeps its memory", 20u << 20, 20u << 20, true},
    {"a small buffer asked for many megabytes grows", 1000, 12u << 20, false},
};

class LargeBuffer : public ::testing::TestWithParam<ReserveCase>
{};

TEST_P(LargeBuffer, HoldsTheSizeAskedForAndIsReused)
{
    const ReserveCase& c = GetParam();
    std::string buffer;
    reserveLargeBuffer(buffer, c.first);
    ASSERT_GE(buffer.capacity(), c.first);
    buffer.assign(c.first, 'x');
    const char* memory = buffer.data();
    reserveLargeBuffer(buffer, c.second);
    EXPECT_GE(buffer.capacity(), c.second);
    EXPECT_EQ(buffer.data() == memory, c.keepsItsMemory);
    // The memory is ordinary memory whatever the system made of the advice.
    buffer.assign(c.second, 'y');
    EXPECT_EQ(buffer.back(), 'y');
}

INSTANTIATE_TEST_SUITE_P(Sizes, LargeBuffer, ::testing::ValuesIn(reserveCases), testing::SaysName());

} // namespace
} // namespace quorvane::platform
