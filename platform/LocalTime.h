#pragma once

#include <cstdint>
#include <optional>

namespace quorvane::platform {

// A calendar date and time of day on the local clock, to the second.
struct LocalDateTime
{
    int year = 1970;
    int month = 1; // 1-12
    int day = 1;   // 1-31
    int hour = 0;
    int minute = 0;
    int second = 0;

    friend bool operator==(const LocalDateTime&, const LocalDateTime&) = default;
};

// The local time at the given instant, with the time-zone offset in force at that instant
// (localtime_r), as every Linux tool shows a file's times.
LocalDateTime toLocalDateTime(std::int64_t secondsSinceEpoch);

// Converts many instants, as a listing does, with few calls into the time-zone database: the
// offset found for a quarter of an hour is reused for every instant in it when it holds at both
// ends of it and explains the local time there. One converter serves one listing.
class LocalTimeConverter
{
public:
    LocalDateTime operator()(std::int64_t secondsSinceEpoch);

private:
    struct Slot
    {
        std::int64_t quarter = INT64_MIN;
        std::int64_t offset = 0;
        bool uniform = false;
    };
    Slot slots_[8];
};

// The instant at which the local clock shows the given time, by the time zone's rules for that
// date. Empty when the fields name no time the clock shows: an impossible date, or a time skipped
// when the clocks go forward. A time the clock shows twice, when it goes back, gives the first.
std::optional<std::int64_t> fromLocalDateTime(const LocalDateTime& local);

// The local wall-clock time now.
LocalDateTime localNow();

} // namespace quorvane::platform
