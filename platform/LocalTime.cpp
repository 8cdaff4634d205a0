#include "LocalTime.h"

#include <cstddef>
#include <ctime>

namespace quorvane::platform {

LocalDateTime toLocalDateTime(std::int64_t secondsSinceEpoch)
{
    const auto seconds = static_cast<std::time_t>(secondsSinceEpoch);
    std::tm fields{};
    if (localtime_r(&seconds, &fields) == nullptr) {
        return {};
    }
    return {fields.tm_year + 1900, fields.tm_mon + 1, fields.tm_mday,
            fields.tm_hour,        fields.tm_min,     fields.tm_sec};
}

namespace {

// Calendar fields of a count of seconds on a clock without time zones (days since 1970-01-01
// turned into a civil date by the usual era arithmetic).
LocalDateTime civilFields(std::int64_t seconds)
{
    std::int64_t days = seconds / 86400;
    std::int64_t secondOfDay = seconds % 86400;
    if (secondOfDay < 0) {
        secondOfDay += 86400;
        --days;
    }
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const std::int64_t dayOfEra = days - era * 146097;
    const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t monthIndex = (5 * dayOfYear + 2) / 153;
    const auto day = static_cast<int>(dayOfYear - (153 * monthIndex + 2) / 5 + 1);
    const auto month = static_cast<int>(monthIndex < 10 ? monthIndex + 3 : monthIndex - 9);
    const auto year = static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
    return {year,
            month,
            day,
            static_cast<int>(secondOfDay / 3600),
            static_cast<int>(secondOfDay / 60 % 60),
            static_cast<int>(secondOfDay % 60)};
}

bool localFields(std::int64_t secondsSinceEpoch, std::tm& fields)
{
    const auto seconds = static_cast<std::time_t>(secondsSinceEpoch);
    return localtime_r(&seconds, &fields) != nullptr;
}

} // namespace

LocalDateTime LocalTimeConverter::operator()(std::int64_t secondsSinceEpoch)
{
    constexpr std::int64_t quarterSeconds = 900;
    std::int64_t quarter = secondsSinceEpoch / quarterSeconds;
    if (secondsSinceEpoch % quarterSeconds < 0) {
        --quarter;
    }
    Slot& slot = slots_[static_cast<std::size_t>(quarter) & 7];
    if (slot.quarter != quarter) {
        slot.quarter = quarter;
        slot.uniform = false;
        const std::int64_t start = quarter * quarterSeconds;
        std::tm first{};
        std::tm last{};
        if (localFields(start, first) && localFields(start + quarterSeconds - 1, last) &&
            first.tm_gmtoff == last.tm_gmtoff) {
            slot.offset = first.tm_gmtoff;
            const LocalDateTime expected{first.tm_year + 1900, first.tm_mon + 1, first.tm_mday,
                                         first.tm_hour,        first.tm_min,     first.tm_sec};
            // Zones that count leap seconds are not explained by an offset alone.
            slot.uniform = civilFields(start + slot.offset) == expected;
        }
    }
    if (slot.uniform) {
        return civilFields(secondsSinceEpoch + slot.offset);
    }
    return toLocalDateTime(secondsSinceEpoch);
}

std::optional<std::int64_t> fromLocalDateTime(const LocalDateTime& local)
{
    if (local.month < 1 || local.month > 12 || local.day < 1 || local.day > 31 || local.hour < 0 ||
        local.hour > 23 || local.minute < 0 || local.minute > 59 || local.second < 0 || local.second > 60) {
        return std::nullopt;
    }
    // The same fields on a clock without time zones; a real instant lies within a day of it. Every
    // offset the zone uses in that span is tried, and only an instant that the local clock shows
    // as exactly these fields counts: a time in the gap of a change to summer time has none (mktime
    // would move it by an hour), a time in the hour repeated at the change back has two, and the
    // earlier one is taken.
    std::tm naiveFields{};
    naiveFields.tm_year = local.year - 1900;
    naiveFields.tm_mon = local.month - 1;
    naiveFields.tm_mday = local.day;
    naiveFields.tm_hour = local.hour;
    naiveFields.tm_min = local.minute;
    naiveFields.tm_sec = local.second;
    const std::int64_t naive = static_cast<std::int64_t>(timegm(&naiveFields));
    // timegm normalises impossible dates such as 31 February; those name no time the clock shows.
    if (naiveFields.tm_mday != local.day || naiveFields.tm_mon != local.month - 1) {
        return std::nullopt;
    }
    std::optional<std::int64_t> earliest;
    for (const std::int64_t probe : {naive - 86400, naive, naive + 86400}) {
        std::tm around{};
        if (!localFields(probe, around)) {
            continue;
        }
        const std::int64_t candidate = naive - around.tm_gmtoff;
        std::tm shown{};
        if (localFields(candidate, shown) &&
            LocalDateTime{shown.tm_year + 1900, shown.tm_mon + 1, shown.tm_mday, shown.tm_hour, shown.tm_min,
                          shown.tm_sec} == local &&
            (!earliest || candidate < *earliest)) {
            earliest = candidate;
        }
    }
    return earliest;
}

LocalDateTime localNow()
{
    return toLocalDateTime(static_cast<std::int64_t>(std::time(nullptr)));
}

} // namespace quorvane::platform
