#include "ReplaceRule.h"

#include "NameParts.h"
#include "TextConversions.h"
#include "core/listing/Path.h"
#include "core/text/Translation.h"
#include "platform/Utf8.h"

#include <span>
#include <unicode/uchar.h>
#include <vector>

namespace quorvane::core {

namespace {

// One character of a text to match: its folded (or plain) code point and where its bytes lie. An
// invalid byte keeps its own marker code point, which no valid character can have.
struct MatchUnit
{
    char32_t key;
    std::size_t offset;
    std::size_t length;
};

// Fills units, reusing its storage, so a plan of many rows allocates it once.
void fillMatchUnits(std::vector<MatchUnit>& units, std::string_view text, bool caseSensitive)
{
    units.clear();
    units.reserve(text.size());
    for (std::size_t offset = 0; offset < text.size();) {
        const platform::Utf8Char c = platform::decodeUtf8(text, offset);
        char32_t key = c.codePoint;
        if (c.valid && !caseSensitive) {
            key = static_cast<char32_t>(u_foldCase(static_cast<UChar32>(c.codePoint), U_FOLD_CASE_DEFAULT));
        }
        units.push_back({key, offset, c.length});
        offset += c.length;
    }
}

std::vector<MatchUnit> matchUnits(std::string_view text, bool caseSensitive)
{
    std::vector<MatchUnit> units;
    fillMatchUnits(units, text, caseSensitive);
    return units;
}

// Replaces as replaceAll does, with the search text's units worked out once by the caller and the
// text's units kept in haystack between calls.
std::string replaceUnits(std::string_view text, std::span<const MatchUnit> needle,
                         std::string_view replacement, bool caseSensitive, std::vector<MatchUnit>& haystack)
{
    if (needle.empty() || text.empty()) {
        return std::string(text);
    }
    fillMatchUnits(haystack, text, caseSensitive);
    std::string out;
    out.reserve(text.size());
    std::size_t copiedUpTo = 0; // byte offset in text
    std::size_t i = 0;
    while (i + needle.size() <= haystack.size()) {
        std::size_t k = 0;
        while (k < needle.size() && haystack[i + k].key == needle[k].key) {
            ++k;
        }
        if (k < needle.size()) {
            ++i;
            continue;
        }
        out.append(text.substr(copiedUpTo, haystack[i].offset - copiedUpTo));
        out.append(replacement);
        const MatchUnit& last = haystack[i + needle.size() - 1];
        copiedUpTo = last.offset + last.length;
        i += needle.size();
    }
    out.append(text.substr(copiedUpTo));
    return out;
}

std::string converted(std::string_view text, NameConversion conversion)
{
    switch (conversion) {
    case NameConversion::LowerCase:
        return lowerCased(text);
    case NameConversion::UpperCase:
        return upperCased(text);
    case NameConversion::Capitalise:
        return capitalised(text);
    case NameConversion::FullWidth:
        return fullWidth(text);
    case NameConversion::HalfWidth:
        return halfWidth(text);
    case NameConversion::Reverse:
        return reversedCharacters(text);
    case NameConversion::None:
    case NameConversion::ShortName:
        break;
    }
    return std::string(text);
}

// The short name of the entry called name in folder. A name that could reach outside the folder
// ("", ".", "..", or one holding "/") names no entry of it, so it is not asked for.
std::string shortNameIn(platform::FileSystem& fileSystem, std::string_view folder, std::string_view name)
{
    if (folder.empty() || name.empty() || name == "." || name == ".." ||
        name.find('/') != std::string_view::npos || name.find('\0') != std::string_view::npos) {
        return {};
    }
    std::string result;
    if (fileSystem.shortName(fullPath(folder, name), result)) {
        return {};
    }
    return result;
}

} // namespace

std::string replaceAll(std::string_view text, std::string_view search, std::string_view replacement,
                       bool caseSensitive)
{
    if (search.empty() || text.empty()) {
        return std::string(text);
    }
    std::vector<MatchUnit> haystack;
    return replaceUnits(text, matchUnits(search, caseSensitive), replacement, caseSensitive, haystack);
}

void planReplace(const FileTable& before, FileTable& after, const ReplaceOptions& options,
                 platform::FileSystem& fileSystem, std::string_view folder)
{
    after.setRowCount(before.rowCount());
    const std::vector<MatchUnit> needle = matchUnits(options.searchText, options.caseSensitive);
    std::vector<MatchUnit> haystack;
    const auto replaced = [&](std::string_view text) {
        return replaceUnits(text, needle, options.replacement, options.caseSensitive, haystack);
    };
    for (int r = 1; r < before.rowCount(); ++r) {
        const FileRow& row = before.row(r);
        const NameParts parts = splitName(row[NameColumn]);
        const std::string stem = replaced(parts.stem);
        const std::string extension =
            options.includeExtension ? replaced(parts.extension) : std::string(parts.extension);
        std::string name;
        if (options.conversion == NameConversion::ShortName) {
            name = shortNameIn(fileSystem, folder, stem + extension);
        } else if (options.includeExtension) {
            name = converted(stem + extension, options.conversion);
        } else {
            name = converted(stem, options.conversion) + extension;
        }
        after.setRow(r, FileRow(name, row[SizeColumn], row[CreatedColumn], row[ModifiedColumn],
                                row[AccessedColumn], row[AttributesColumn]));
    }
}

std::optional<std::string_view> replaceOptionHint(int index)
{
    switch (static_cast<NameConversion>(index)) {
    case NameConversion::None:
        return QT_TRANSLATE_NOOP("ReplaceOptions", "ex) abC.txt -> abC.txt");
    case NameConversion::LowerCase:
        return QT_TRANSLATE_NOOP("ReplaceOptions", "ex) abC.txt -> abc.txt");
    case NameConversion::UpperCase:
        return QT_TRANSLATE_NOOP("ReplaceOptions", "ex) abC.txt -> ABC.txt");
    case NameConversion::Capitalise:
        // Capitalising works on whole characters, so the warning about garbled names is gone.
        return QT_TRANSLATE_NOOP("ReplaceOptions", "ex) abC.txt -> Abc.txt");
    case NameConversion::Reverse:
        // Reversal moves whole user-perceived characters; nothing is garbled.
        return QT_TRANSLATE_NOOP("ReplaceOptions", "ex) abC.txt -> Cba.txt");
    case NameConversion::ShortName:
        return QT_TRANSLATE_NOOP("ReplaceOptions", "ex) Abcdefghij.txt -> Abcdef~1.txt");
    case NameConversion::FullWidth:
    case NameConversion::HalfWidth:
        break;
    }
    return std::nullopt;
}

std::string_view initialReplaceOptionHint()
{
    return QT_TRANSLATE_NOOP("ReplaceOptions", "ex) AbC.txt -> AbC.txt");
}

} // namespace quorvane::core
