#include "NumericText.h"

#include "core/text/Translation.h"

#include <algorithm>

namespace quorvane::core {

namespace {

// A decimal number as its digits: no leading zeros in the integer part (empty for zero), the
// fraction exactly as written.
struct Decimal
{
    bool negative = false;
    std::string integer;
    std::string fraction;
};

std::optional<Decimal> readDecimal(std::string_view text)
{
    Decimal number;
    std::size_t i = 0;
    if (i < text.size() && text[i] == '-') {
        number.negative = true;
        ++i;
    }
    std::size_t digits = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, ++digits) {
        if (!(number.integer.empty() && text[i] == '0')) {
            number.integer.push_back(text[i]);
        }
    }
    if (i < text.size() && text[i] == '.') {
        for (++i; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, ++digits) {
            number.fraction.push_back(text[i]);
        }
    }
    if (i != text.size() || digits == 0) {
        return std::nullopt;
    }
    return number;
}

// Adds one to the last digit of a digit string, carrying to the left.
void incrementDigits(std::string& digits)
{
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return;
        }
        *it = '0';
    }
    digits.insert(digits.begin(), '1');
}

// The number with exactly `decimals` fraction digits, rounded at the last one; a tie goes away from
// zero, or to the even digit.
Decimal rounded(const Decimal& number, std::size_t decimals, bool tiesToEven)
{
    Decimal result = number;
    if (result.fraction.size() <= decimals) {
        result.fraction.append(decimals - result.fraction.size(), '0');
        return result;
    }
    const std::string dropped = result.fraction.substr(decimals);
    std::string kept = result.integer + result.fraction.substr(0, decimals);
    bool up = dropped[0] > '5';
    if (dropped[0] == '5') {
        const bool beyondHalf = dropped.find_first_not_of('0', 1) != std::string::npos;
        const bool lastOdd = !kept.empty() && (kept.back() - '0') % 2 == 1;
        up = beyondHalf || !tiesToEven || lastOdd;
    }
    if (up) {
        if (kept.empty()) {
            kept.push_back('0');
        }
        incrementDigits(kept);
    }
    kept.insert(0, decimals + 1 > kept.size() ? decimals + 1 - kept.size() : 0, '0');
    result.integer = kept.substr(0, kept.size() - decimals);
    result.fraction = kept.substr(kept.size() - decimals);
    result.integer.erase(0, std::min(result.integer.find_first_not_of('0'), result.integer.size()));
    return result;
}

bool isZero(const Decimal& number)
{
    return number.integer.empty() && number.fraction.find_first_not_of('0') == std::string::npos;
}

std::string formatted(const Decimal& number, const NumberPattern& pattern)
{
    const std::string integer = number.integer.empty() ? "0" : number.integer;
    std::string text = number.negative && !isZero(number) ? "-" : "";
    for (std::size_t i = 0; i < integer.size(); ++i) {
        if (pattern.thousands && i > 0 && (integer.size() - i) % 3 == 0) {
            text += pattern.separator;
        }
        text.push_back(integer[i]);
    }
    if (!number.fraction.empty()) {
        text += '.' + number.fraction;
    }
    return text;
}

std::size_t patternDecimals(const NumberPattern& pattern)
{
    return static_cast<std::size_t>(std::max(pattern.decimals, 0));
}

NumberResult conversionError(const std::string& cleaned)
{
    NumberResult result;
    result.error = withArguments(translate("NumericText", "'%1' は浮動小数点数ではありません"), {cleaned});
    return result;
}

} // namespace

std::string cleanNumberText(std::string_view text)
{
    std::string cleaned;
    for (const char c : text) {
        if ((c >= '0' && c <= '9') || c == '-' || c == '.') {
            cleaned.push_back(c);
        }
    }
    return cleaned.empty() ? "0" : cleaned;
}

NumberResult normaliseNumberText(std::string_view text, const NumberPattern& pattern)
{
    const std::string cleaned = cleanNumberText(text);
    const std::optional<Decimal> number = readDecimal(cleaned);
    if (!number) {
        return conversionError(cleaned);
    }
    NumberResult result;
    result.ok = true;
    result.text = formatted(rounded(*number, patternDecimals(pattern), false), pattern);
    return result;
}

NumberResult commitNumberText(std::string_view text, const NumberPattern& pattern)
{
    const std::string cleaned = cleanNumberText(text);
    const std::optional<Decimal> number = readDecimal(cleaned);
    if (!number) {
        return conversionError(cleaned);
    }
    // The value is read from the number as the normalised text shows it; reading it from the
    // number rather than from the text keeps a locale whose separator is a period from changing it.
    const Decimal shown = rounded(*number, patternDecimals(pattern), false);
    const Decimal fixed = rounded(shown, 4, true);
    const std::string digits = fixed.integer + fixed.fraction;
    const std::string limit = fixed.negative ? "9223372036854775808" : "9223372036854775807";
    const std::size_t significant = std::min(digits.find_first_not_of('0'), digits.size());
    const std::string magnitude = digits.substr(significant);
    if (magnitude.size() > limit.size() || (magnitude.size() == limit.size() && magnitude > limit)) {
        return conversionError(cleaned);
    }
    std::uint64_t value = 0;
    for (const char c : magnitude) {
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
    }
    NumberResult result;
    result.ok = true;
    result.text = formatted(shown, pattern);
    result.value = fixed.negative ? static_cast<std::int64_t>(~value + 1) : static_cast<std::int64_t>(value);
    return result;
}

std::string generalNumberText(std::int64_t value)
{
    const std::uint64_t magnitude =
        value < 0 ? ~static_cast<std::uint64_t>(value) + 1 : static_cast<std::uint64_t>(value);
    Decimal number;
    number.negative = value < 0;
    number.integer = magnitude >= 10000 ? std::to_string(magnitude / 10000) : std::string();
    number.fraction = std::to_string(10000 + magnitude % 10000).substr(1);
    const std::size_t room = number.integer.size() < 15 ? 15 - number.integer.size() : 0;
    if (room < number.fraction.size()) {
        number = rounded(number, room, false);
    }
    number.fraction.erase(std::min(number.fraction.find_last_not_of('0') + 1, number.fraction.size()));
    return formatted(number, NumberPattern{});
}

} // namespace quorvane::core
