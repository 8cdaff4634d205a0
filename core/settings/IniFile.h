#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quorvane::core {

// The text of an INI file, read the way private-profile strings are read and changed one key at a
// time, so that everything the program does not set (unknown keys, comments, blank lines, odd
// lines, the order and the line ends) is written back byte for byte.
//
// Reading rules: section and key names compare without ASCII case; blanks around names and values
// are trimmed; one pair of matching surrounding quotes is stripped from a value; the first section
// of a name and the first key of a name in it win. A line without "=" is not a key, a line starting
// with ";" or "#" is a comment, and keys before the first section belong to no section. A UTF-8
// byte order mark before the first line is kept and not read as part of it.
class IniFile
{
public:
    static IniFile parse(std::string_view text);

    // The whole file: unchanged lines exactly as they were read, changed and added lines in place.
    std::string text() const;

    std::optional<std::string> value(std::string_view section, std::string_view key) const;
    bool hasKey(std::string_view section, std::string_view key) const;
    // Whether the first section of that name holds at least one key, whatever its name.
    bool holdsKeys(std::string_view section) const;

    // Calls visit with the name and the value of every key of the first section of that name, in
    // file order, each as value() reads it (the name trimmed, its case kept). A name that occurs
    // again is passed again, though value() reads only its first occurrence. One pass over the
    // section: a list of many keys is read without looking each one up.
    void forEachKey(std::string_view section,
                    const std::function<void(std::string_view name, std::string_view value)>& visit) const;

    // Replaces the value of the first occurrence of the key in place, else appends the key after
    // the last key of the first section of that name, else appends the section with the key at
    // the end of the file. A value is one line: it ends before its first CR or LF. A value that
    // would not read back as written (blanks at an end, surrounding quotes) is written in quotes.
    void setValue(std::string_view section, std::string_view key, std::string_view value);

private:
    struct Line
    {
        std::string content; // without its line end
        std::string end;     // "\r\n", "\n" or empty for a last line without one
        bool key = false;    // a key of a section (keys before the first section are none)
    };
    using KeyIndex = std::unordered_map<std::string, std::size_t>; // folded key name -> first line of it
    struct Section
    {
        std::vector<Line>
            lines; // the section line first, then its body; the part before the first section has none
        std::size_t lastKeyLine = 0; // where a new key goes after; 0, the section line, while it holds none
        // Built at the first look-up of one of its keys, so that a section read only by forEachKey
        // costs no index.
        mutable std::optional<KeyIndex> keys;
    };

    void addLine(std::string_view content, std::string_view end);
    const Section* findSection(std::string_view name) const;
    static KeyIndex& keyIndex(const Section& section);
    void endLastLine();

    std::string byteOrderMark_;
    std::string lineEnd_ = "\n";    // the first line end found; new lines get the same
    std::vector<Section> sections_; // sections_[0] is the part before the first section line
    std::unordered_map<std::string, std::size_t> sectionIndex_; // folded name -> first section of it
};

} // namespace quorvane::core
