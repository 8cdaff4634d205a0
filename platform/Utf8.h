#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quorvane::platform {

// One character of a byte string: a valid UTF-8 sequence, or a single byte that does not start
// one (a stray continuation byte, a truncated or overlong sequence, a Shift-JIS byte, ...).
struct Utf8Char
{
    char32_t codePoint; // the decoded code point; for an invalid byte, 0xDC00 + the byte's value
    std::size_t length; // bytes taken from the text, 1 to 4
    bool valid;         // false for a byte that is a character of its own
};

// Decodes the character that starts at offset (offset < text.size()).
Utf8Char decodeUtf8(std::string_view text, std::size_t offset);

// Appends the UTF-8 form of a code point.
void appendUtf8(std::string& out, char32_t codePoint);

// True when every byte of text belongs to a valid UTF-8 sequence.
bool isValidUtf8(std::string_view text);

// The text with every valid character replaced by its simple Unicode case folding, one character
// for one, as file systems that ignore case compare names ("ÄPFEL.TXT" and "äpfel.txt" fold
// alike); a byte that is a character of its own stays as it is.
std::string simpleCaseFolded(std::string_view text);

} // namespace quorvane::platform
