#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quorvane::core {

// The text rules of the numeric entry field. Numbers are handled as exact decimal digits, never as
// binary floating point, so 0.125 rounds the way its text says.

// How the field shows a number: "###0" or "#,##0", followed by a period and decimals zeros.
struct NumberPattern
{
    bool thousands = false;
    int decimals = 0;
    std::string separator = ","; // the locale's thousands separator
};

// The characters 0-9, "-" and "." of text in order; "0" when none remain.
std::string cleanNumberText(std::string_view text);

// The outcome of normalising or committing: the new text and value, or the conversion error
// "'%s' は浮動小数点数ではありません" naming the cleaned text, when the text and value must stay as
// they were.
struct NumberResult
{
    bool ok = false;
    std::string text;       // the normalised text
    std::int64_t value = 0; // the number times 10 000, halves to even (commitNumberText only)
    std::string error;      // the conversion error's message when not ok
};

// The cleaned text formatted with the pattern: no leading zeros, separators every three integer
// digits with thousands on, exactly pattern.decimals decimals, halves rounded away from zero.
NumberResult normaliseNumberText(std::string_view text, const NumberPattern& pattern);

// Leaving the field: the text normalised, then read again as the four-decimal fixed-point value.
// A number beyond the value's range is reported with the conversion error as well.
NumberResult commitNumberText(std::string_view text, const NumberPattern& pattern);

// The general decimal text of a fixed-point value: the shortest form, up to 15 significant digits,
// no separators ("1.5" for 15 000).
std::string generalNumberText(std::int64_t value);

} // namespace quorvane::core
