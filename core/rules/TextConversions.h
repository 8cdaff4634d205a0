#pragma once

#include <string>
#include <string_view>

namespace quorvane::core {

// The name conversions of the rename rules, over names that are bytes. A name is read as runs of
// valid UTF-8 and single bytes that are not valid UTF-8; only the valid runs are converted, and every
// other byte comes out as it went in, in its place. No conversion ever produces U+FFFD.

// Full, locale-aware case mapping for the user's locale (LC_ALL, LC_CTYPE, LANG).
std::string upperCased(std::string_view text);
std::string lowerCased(std::string_view text);

// The first character upper-cased, the rest lower-cased. The first character is a whole UTF-8
// sequence or a single invalid byte, which stays as it is.
std::string capitalised(std::string_view text);

// ICU's "Halfwidth-Fullwidth" and "Fullwidth-Halfwidth" transliterations. The result is never cut
// to a length; a name too long for the file system fails when it is renamed.
std::string fullWidth(std::string_view text);
std::string halfWidth(std::string_view text);

// The user-perceived characters (grapheme clusters) in reverse order, so a letter keeps its
// combining marks; an invalid byte is a character of its own.
std::string reversedCharacters(std::string_view text);

} // namespace quorvane::core
