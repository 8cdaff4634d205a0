#pragma once

#include "platform/FileSystem.h"
#include "platform/LocalTime.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quorvane::core {

// When a photo or a video was taken, as its file states it: the camera's clock, to the
// nanosecond where the file gives sub-seconds, and the clock's offset from UTC where it gives one.
struct DateTaken
{
    platform::LocalDateTime local;
    std::uint32_t nanoseconds = 0;
    std::optional<int> offsetMinutes; // east of UTC

    friend bool operator==(const DateTaken&, const DateTaken&) = default;
};

// The instant a date taken stands for: by its own offset, else the local time zone's rules (a date
// without a zone is local time). Empty for a time the local clock never shows.
std::optional<platform::FileTime> instantOf(const DateTaken& taken);

// The date taken of a file time: the local time at that instant, with that instant's offset.
DateTaken dateTakenOf(const platform::FileTime& time);

// An EXIF date "YYYY:MM:DD HH:MM:SS" with its sub-second digits ("123") and offset ("+09:00"),
// either of which may be empty. Empty for a date that is blank, malformed or impossible, as cameras
// write "0000:00:00 00:00:00" when their clock was never set; a malformed sub-second or offset
// text is ignored.
std::optional<DateTaken> parseExifDate(std::string_view date, std::string_view subSeconds,
                                       std::string_view offset);

// Reads the date a file was taken from its content. Implementations never throw and may be called
// from several threads at once.
class DateTakenReader
{
public:
    virtual ~DateTakenReader() = default;
    // Empty when the content states no date, or cannot be read.
    virtual std::optional<DateTaken> read(const std::string& path) const = 0;
};

} // namespace quorvane::core
