#include "TextForms.h"

#include <charconv>

namespace quorvane::core {

namespace {

// Writes value with at least width digits, zero-padded, and returns the characters written.
std::size_t writePadded(char* out, int value, int width)
{
    if (value >= 0 && value < (width == 2 ? 100 : 10000)) {
        for (int i = width - 1; i >= 0; --i) {
            out[i] = static_cast<char>('0' + value % 10);
            value /= 10;
        }
        return static_cast<std::size_t>(width);
    }
    std::size_t length = 0;
    if (value < 0) {
        out[length++] = '-';
    }
    char digits[16];
    const auto [end, error] =
        std::to_chars(digits, digits + sizeof digits, value < 0 ? -static_cast<long long>(value) : value);
    for (auto count = static_cast<int>(end - digits); count < width; ++count) {
        out[length++] = '0';
    }
    for (const char* digit = digits; digit != end; ++digit) {
        out[length++] = *digit;
    }
    return length;
}

bool readDigits(std::string_view text, std::size_t offset, std::size_t count, int& value)
{
    if (offset + count > text.size()) {
        return false;
    }
    value = 0;
    for (std::size_t i = offset; i < offset + count; ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return false;
        }
        value = value * 10 + (text[i] - '0');
    }
    return true;
}

} // namespace

std::string sizeText(std::uint64_t bytes, std::string_view thousandsSeparator)
{
    const std::uint64_t kilobytes = bytes < 1024 ? 1 : bytes / 1024 + (bytes % 1024 >= 512 ? 1 : 0);
    char digits[24];
    const auto [end, error] = std::to_chars(digits, digits + sizeof digits, kilobytes);
    const auto length = static_cast<std::size_t>(end - digits);
    std::string text;
    text.reserve(length + length / 3 * thousandsSeparator.size() + 3);
    for (std::size_t i = 0; i < length; ++i) {
        if (i > 0 && (length - i) % 3 == 0) {
            text.append(thousandsSeparator);
        }
        text.push_back(digits[i]);
    }
    text.append(" KB");
    return text;
}

TimestampChars timestampChars(const platform::LocalDateTime& local)
{
    TimestampChars text;
    char* out = text.chars.data();
    std::size_t& length = text.length;
    length += writePadded(out + length, local.year, 4);
    out[length++] = '/';
    length += writePadded(out + length, local.month, 2);
    out[length++] = '/';
    length += writePadded(out + length, local.day, 2);
    out[length++] = ' ';
    length += writePadded(out + length, local.hour, 2);
    out[length++] = ':';
    length += writePadded(out + length, local.minute, 2);
    out[length++] = ':';
    length += writePadded(out + length, local.second, 2);
    return text;
}

std::string timestampText(const platform::LocalDateTime& local)
{
    return std::string(timestampChars(local).view());
}

std::string timestampText(const platform::FileTime& time)
{
    return timestampText(platform::toLocalDateTime(time.seconds));
}

std::optional<platform::LocalDateTime> parseTimestampText(std::string_view text)
{
    platform::LocalDateTime local;
    if (text.size() != 19 || text[4] != '/' || text[7] != '/' || text[10] != ' ' || text[13] != ':' ||
        text[16] != ':') {
        return std::nullopt;
    }
    if (!readDigits(text, 0, 4, local.year) || !readDigits(text, 5, 2, local.month) ||
        !readDigits(text, 8, 2, local.day) || !readDigits(text, 11, 2, local.hour) ||
        !readDigits(text, 14, 2, local.minute) || !readDigits(text, 17, 2, local.second)) {
        return std::nullopt;
    }
    return local;
}

std::string attributeText(std::uint32_t attributes)
{
    std::string text = "----";
    if (attributes & platform::AttributeBit::ReadOnly) {
        text[0] = 'R';
    }
    if (attributes & platform::AttributeBit::Hidden) {
        text[1] = 'H';
    }
    if (attributes & platform::AttributeBit::System) {
        text[2] = 'S';
    }
    if (attributes & platform::AttributeBit::Archive) {
        text[3] = 'A';
    }
    return text;
}

std::uint32_t attributeValue(std::string_view text)
{
    std::uint32_t value = 0;
    if (text.find('R') != std::string_view::npos) {
        value |= platform::AttributeBit::ReadOnly;
    }
    if (text.find('H') != std::string_view::npos) {
        value |= platform::AttributeBit::Hidden;
    }
    if (text.find('S') != std::string_view::npos) {
        value |= platform::AttributeBit::System;
    }
    if (text.find('A') != std::string_view::npos) {
        value |= platform::AttributeBit::Archive;
    }
    return value;
}

} // namespace quorvane::core
