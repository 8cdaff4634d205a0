#pragma once

#include "platform/FileSystem.h"
#include "platform/LocalTime.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quorvane::core {

// "1 KB" below 1024 bytes, otherwise the kilobytes rounded half up with the given thousands
// separator between groups of three digits: 1,048,576 bytes give "1,024 KB". The full 64-bit size
// is shown.
std::string sizeText(std::uint64_t bytes, std::string_view thousandsSeparator);

// "yyyy/mm/dd hh:nn:ss", every field zero-padded, the hour on the 24-hour clock.
std::string timestampText(const platform::LocalDateTime& local);
// The same text without an allocation, for the listing's hot path: nineteen characters, more only
// for a year beyond 9999 or before year 0.
struct TimestampChars
{
    std::array<char, 32> chars{};
    std::size_t length = 0;
    std::string_view view() const { return {chars.data(), length}; }
};
TimestampChars timestampChars(const platform::LocalDateTime& local);
// The local time of a file time, the fraction of a second dropped.
std::string timestampText(const platform::FileTime& time);
// Reads the timestamp form back; empty when text is not in that form.
std::optional<platform::LocalDateTime> parseTimestampText(std::string_view text);

// Four characters: R, H, S, A or "-" in each place.
std::string attributeText(std::uint32_t attributes);
// The attribute value of a text: each letter R, H, S, A found anywhere in it sets its bit.
std::uint32_t attributeValue(std::string_view text);

} // namespace quorvane::core
