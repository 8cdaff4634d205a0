#include "Utf8.h"

#include <unicode/uchar.h>

namespace quorvane::platform {

namespace {

bool isContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

Utf8Char invalidByte(unsigned char byte)
{
    return {static_cast<char32_t>(0xDC00 + byte), 1, false};
}

} // namespace

Utf8Char decodeUtf8(std::string_view text, std::size_t offset)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data()) + offset;
    const std::size_t available = text.size() - offset;
    const unsigned char lead = bytes[0];
    if (lead < 0x80) {
        return {lead, 1, true};
    }
    std::size_t length;
    char32_t codePoint;
    char32_t minimum;
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        codePoint = lead & 0x1F;
        minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        codePoint = lead & 0x0F;
        minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        codePoint = lead & 0x07;
        minimum = 0x10000;
    } else {
        return invalidByte(lead);
    }
    if (available < length) {
        return invalidByte(lead);
    }
    for (std::size_t i = 1; i < length; ++i) {
        if (!isContinuation(bytes[i])) {
            return invalidByte(lead);
        }
        codePoint = (codePoint << 6) | (bytes[i] & 0x3F);
    }
    if (codePoint < minimum || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF)) {
        return invalidByte(lead);
    }
    return {codePoint, length, true};
}

void appendUtf8(std::string& out, char32_t codePoint)
{
    if (codePoint < 0x80) {
        out.push_back(static_cast<char>(codePoint));
    } else if (codePoint < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (codePoint >> 6)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    } else if (codePoint < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (codePoint >> 12)));
        out.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (codePoint >> 18)));
        out.push_back(static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    }
}

bool isValidUtf8(std::string_view text)
{
    for (std::size_t offset = 0; offset < text.size();) {
        const Utf8Char c = decodeUtf8(text, offset);
        if (!c.valid) {
            return false;
        }
        offset += c.length;
    }
    return true;
}

std::string simpleCaseFolded(std::string_view text)
{
    std::string folded;
    folded.reserve(text.size());
    for (std::size_t offset = 0; offset < text.size();) {
        const Utf8Char c = decodeUtf8(text, offset);
        if (c.valid) {
            appendUtf8(folded, static_cast<char32_t>(
                                   u_foldCase(static_cast<UChar32>(c.codePoint), U_FOLD_CASE_DEFAULT)));
        } else {
            folded.append(text.substr(offset, c.length));
        }
        offset += c.length;
    }
    return folded;
}

} // namespace quorvane::platform
