#include "DateTaken.h"

#include <charconv>

namespace quorvane::core {

namespace {

// Days since 1970-01-01 of a date of the proleptic Gregorian calendar (Howard Hinnant's
// days_from_civil), so that an offset turns a wall-clock time into an instant without a time zone.
std::int64_t daysFromCivil(std::int64_t year, unsigned month, unsigned day)
{
    year -= month <= 2 ? 1 : 0;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const auto yearOfEra = static_cast<unsigned>(year - era * 400);
    const unsigned dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + static_cast<std::int64_t>(dayOfEra) - 719468;
}

std::int64_t civilSeconds(const platform::LocalDateTime& local)
{
    return daysFromCivil(local.year, static_cast<unsigned>(local.month), static_cast<unsigned>(local.day)) *
               86400 +
           local.hour * 3600 + local.minute * 60 + local.second;
}

bool validDate(const platform::LocalDateTime& t)
{
    static constexpr int monthDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (t.year < 1 || t.month < 1 || t.month > 12 || t.day < 1 || t.day > monthDays[t.month - 1] ||
        t.hour > 23 || t.minute > 59 || t.second > 59) {
        return false;
    }
    const bool leap = (t.year % 4 == 0 && t.year % 100 != 0) || t.year % 400 == 0;
    return t.month != 2 || t.day <= 28 || leap;
}

// Exactly digits decimal digits at text[at], else -1.
int field(std::string_view text, std::size_t at, std::size_t digits)
{
    if (at + digits > text.size()) {
        return -1;
    }
    int value = 0;
    for (std::size_t i = at; i < at + digits; ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return -1;
        }
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && (text.back() == ' ' || text.back() == '\0')) {
        text.remove_suffix(1);
    }
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    return text;
}

} // namespace

std::optional<platform::FileTime> instantOf(const DateTaken& taken)
{
    if (taken.offsetMinutes) {
        return platform::FileTime{civilSeconds(taken.local) - *taken.offsetMinutes * 60, taken.nanoseconds};
    }
    const std::optional<std::int64_t> seconds = platform::fromLocalDateTime(taken.local);
    if (!seconds) {
        return std::nullopt;
    }
    return platform::FileTime{*seconds, taken.nanoseconds};
}

DateTaken dateTakenOf(const platform::FileTime& time)
{
    DateTaken taken;
    taken.local = platform::toLocalDateTime(time.seconds);
    taken.nanoseconds = time.nanoseconds;
    taken.offsetMinutes = static_cast<int>((civilSeconds(taken.local) - time.seconds) / 60);
    return taken;
}

std::optional<DateTaken> parseExifDate(std::string_view date, std::string_view subSeconds,
                                       std::string_view offset)
{
    date = trimmed(date);
    // "YYYY:MM:DD HH:MM:SS"; some writers use "-" in the date or "T" between date and time.
    if (date.size() < 19 || (date[4] != ':' && date[4] != '-') || date[7] != date[4] ||
        (date[10] != ' ' && date[10] != 'T') || date[13] != ':' || date[16] != ':') {
        return std::nullopt;
    }
    DateTaken taken;
    taken.local = {field(date, 0, 4),  field(date, 5, 2),  field(date, 8, 2),
                   field(date, 11, 2), field(date, 14, 2), field(date, 17, 2)};
    if (!validDate(taken.local)) {
        return std::nullopt;
    }
    subSeconds = trimmed(subSeconds);
    if (!subSeconds.empty() && subSeconds.size() <= 9 && field(subSeconds, 0, subSeconds.size()) >= 0) {
        std::uint32_t nanoseconds = static_cast<std::uint32_t>(field(subSeconds, 0, subSeconds.size()));
        for (std::size_t digits = subSeconds.size(); digits < 9; ++digits) {
            nanoseconds *= 10;
        }
        taken.nanoseconds = nanoseconds;
    }
    offset = trimmed(offset);
    if (offset.size() == 6 && (offset[0] == '+' || offset[0] == '-') && offset[3] == ':') {
        const int hours = field(offset, 1, 2);
        const int minutes = field(offset, 4, 2);
        if (hours >= 0 && hours <= 14 && minutes >= 0 && minutes <= 59) {
            const int total = hours * 60 + minutes;
            taken.offsetMinutes = offset[0] == '-' ? -total : total;
        }
    }
    return taken;
}

} // namespace quorvane::core
