#include "platform/LocalTime.h"

#include "support/CaseName.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <optional>

namespace quorvane::platform {
namespace {

using testing::TimeZone;

struct Case
{
    const char* says;
    const char* zone;
    std::int64_t utcSeconds;
    LocalDateTime local;
};

const Case cases[] = {
    {"Tokyo is nine hours ahead all year", "Asia/Tokyo", 1078783500, {2004, 3, 9, 7, 5, 0}},
    {"Berlin in winter is one hour ahead", "Europe/Berlin", 1073001599, {2004, 1, 2, 0, 59, 59}},
    {"Berlin in summer is two hours ahead, whatever the season now",
     "Europe/Berlin",
     1625133600,
     {2021, 7, 1, 12, 0, 0}},
    {"the evening hour is on the 24-hour clock", "Asia/Tokyo", 1078837199, {2004, 3, 9, 21, 59, 59}},
};

class LocalTimeTest : public ::testing::TestWithParam<Case>
{};

TEST_P(LocalTimeTest, ShowsTheLocalTimeAtTheStampedInstant)
{
    const Case& c = GetParam();
    const TimeZone zone(c.zone);
    EXPECT_EQ(toLocalDateTime(c.utcSeconds), c.local) << c.says;
}

TEST_P(LocalTimeTest, ReadsTheLocalTimeBackToTheSameInstant)
{
    const Case& c = GetParam();
    const TimeZone zone(c.zone);
    EXPECT_EQ(fromLocalDateTime(c.local), c.utcSeconds) << c.says;
}

INSTANTIATE_TEST_SUITE_P(Zones, LocalTimeTest, ::testing::ValuesIn(cases), testing::SaysName());

struct ChangeCase
{
    const char* says;
    LocalDateTime local;
    std::optional<std::int64_t> utcSeconds;
};

// Berlin's clocks in 2021: forward from 02:00 to 03:00 on 28 March, back from 03:00 to 02:00 on
// 31 October.
const ChangeCase changeCases[] = {
    {"the last second before the clocks go forward is winter time", {2021, 3, 28, 1, 59, 59}, 1616893199},
    {"a time the clocks skip when they go forward names no instant", {2021, 3, 28, 2, 30, 0}, std::nullopt},
    {"the first time after the clocks go forward is summer time", {2021, 3, 28, 3, 0, 0}, 1616893200},
    {"a time shown twice when the clocks go back is its first, summer, instant",
     {2021, 10, 31, 2, 30, 0},
     1635640200},
    {"the hour after the repeated one is winter time", {2021, 10, 31, 3, 30, 0}, 1635647400},
};

void PrintTo(const ChangeCase& c, std::ostream* out)
{
    *out << c.says;
}

class ClockChangeTest : public ::testing::TestWithParam<ChangeCase>
{};

TEST_P(ClockChangeTest, ReadsALocalTimeAsTheClockShowedIt)
{
    const ChangeCase& c = GetParam();
    const TimeZone zone("Europe/Berlin");
    EXPECT_EQ(fromLocalDateTime(c.local), c.utcSeconds) << c.says;
}

INSTANTIATE_TEST_SUITE_P(Berlin, ClockChangeTest, ::testing::ValuesIn(changeCases), testing::SaysName());

TEST(LocalTime, RefusesDatesTheCalendarDoesNotHave)
{
    const TimeZone zone("Asia/Tokyo");
    EXPECT_FALSE(fromLocalDateTime({2005, 2, 30, 0, 0, 0}).has_value());
    EXPECT_FALSE(fromLocalDateTime({2005, 13, 1, 0, 0, 0}).has_value());
    EXPECT_FALSE(fromLocalDateTime({2005, 1, 1, 24, 0, 0}).has_value());
}

} // namespace
} // namespace quorvane::platform

namespace quorvane::platform {
namespace {

// Property: the converter that reuses offsets gives exactly what localtime_r gives, instant by
// instant, also across daylight-saving changes and in zones with half-hour shifts.
TEST(LocalTimeConverter, AgreesWithTheSystemAtEveryInstant)
{
    for (const char* zoneName :
         {"Europe/Berlin", "Asia/Tokyo", "Australia/Lord_Howe", "America/St_Johns", "UTC"}) {
        const testing::TimeZone zone(zoneName);
        LocalTimeConverter convert;
        // Hours around the spring and autumn changes of 2021 in the northern and southern zones,
        // then a spread of instants from 1950 to 2100, revisited to exercise the cache.
        std::vector<std::int64_t> instants;
        for (const std::int64_t change : {1616893200LL, 1635642000LL, 1617458400LL, 1633183200LL}) {
            for (std::int64_t t = change - 7200; t <= change + 7200; t += 60) {
                instants.push_back(t);
            }
        }
        std::uint64_t seed = 42;
        for (int i = 0; i < 20000; ++i) {
            seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
            instants.push_back(-631152000LL + static_cast<std::int64_t>(seed >> 33) % 4733510400LL);
        }
        for (int pass = 0; pass < 2; ++pass) {
            for (const std::int64_t t : instants) {
                ASSERT_EQ(convert(t), toLocalDateTime(t)) << zoneName << " at " << t;
            }
        }
    }
}

} // namespace
} // namespace quorvane::platform
