#pragma once

#include <string_view>

namespace quorvane::core {

// A file name split at its extension. The extension runs from the last "." to the end, period
// included, provided no "/" follows that period; otherwise it is empty. A backslash and a colon are
// ordinary characters. Both parts view the name they were split from.
struct NameParts
{
    std::string_view stem;
    std::string_view extension;
};

// "." and "/" are ASCII, and no byte of a multi-byte UTF-8 sequence is ASCII, so a byte search
// never splits a character, and an invalid byte is never taken for either.
NameParts splitName(std::string_view name);

} // namespace quorvane::core
