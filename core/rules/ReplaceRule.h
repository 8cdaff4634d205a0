#pragma once

#include "core/listing/FileTable.h"
#include "platform/FileSystem.h"

#include <optional>
#include <string>
#include <string_view>

namespace quorvane::core {

// The eight name conversions, by their index in the option group.
enum class NameConversion : int
{
    None = 0,
    LowerCase = 1,
    UpperCase = 2,
    Capitalise = 3,
    FullWidth = 4,
    HalfWidth = 5,
    Reverse = 6,
    ShortName = 7,
};

struct ReplaceOptions
{
    std::string searchText;        // as typed; empty applies the conversion alone
    std::string replacement;       // as typed, inserted with its case unchanged
    bool caseSensitive = false;    // "大文字と小文字を区別する"
    bool includeExtension = false; // "拡張子も置換対象にする"
    NameConversion conversion = NameConversion::None;
};

// Writes the planned names of every before-list row into the after list: the search text replaced in
// the stem (and, separately, in the extension when includeExtension is set), then the conversion
// applied to the stem alone or to the whole name. The short-name conversion asks the file system for
// the entry of that name in folder; a name that names no entry there becomes an empty name.
void planReplace(const FileTable& before, FileTable& after, const ReplaceOptions& options,
                 platform::FileSystem& fileSystem, std::string_view folder);

// Every occurrence of search in text replaced, left to right, never overlapping, never searching the
// replacement again. Matches are whole characters: they start and end on character boundaries, an
// invalid byte is a character of its own. Ignoring case compares code points by ICU's simple case
// folding; the replacement is spliced into the original bytes.
std::string replaceAll(std::string_view text, std::string_view search, std::string_view replacement,
                       bool caseSensitive);

// The hint the option group shows when the user picks option index. The options whose
// pick leaves the hint as it was (full-width and half-width) get none.
std::optional<std::string_view> replaceOptionHint(int index);

// The option group's hint before the first pick.
std::string_view initialReplaceOptionHint();

} // namespace quorvane::core
