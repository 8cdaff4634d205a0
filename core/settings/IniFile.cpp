#include "core/settings/IniFile.h"

namespace quorvane::core {

namespace {

constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r';
}

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// Names compare without ASCII case only, so that multi-byte names are never changed by folding.
std::string folded(std::string_view name)
{
    std::string result(trimmed(name));
    for (char& c : result) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return result;
}

bool isQuote(char c)
{
    return c == '"' || c == '\'';
}

std::string_view withoutQuotes(std::string_view value)
{
    if (value.size() >= 2 && isQuote(value.front()) && value.front() == value.back()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

// The name of a section line (its first non-blank character is "["): up to "]", or the rest of
// the line when it has none.
std::string_view sectionName(std::string_view line)
{
    line = trimmed(line);
    line.remove_prefix(1);
    const std::size_t close = line.find(']');
    return close == std::string_view::npos ? line : line.substr(0, close);
}

enum class LineKind
{
    Section,
    Key,
    Other,
};

LineKind kindOf(std::string_view content)
{
    const std::string_view text = trimmed(content);
    if (text.empty()) {
        return LineKind::Other;
    }
    if (text.front() == '[') {
        return LineKind::Section;
    }
    if (text.front() == ';' || text.front() == '#') {
        return LineKind::Other;
    }
    return text.find('=') == std::string_view::npos ? LineKind::Other : LineKind::Key;
}

std::string_view keyName(std::string_view content)
{
    return content.substr(0, content.find('='));
}

// The value of a key line as it is read: trimmed, one pair of surrounding quotes stripped.
std::string_view keyValue(std::string_view content)
{
    return withoutQuotes(trimmed(content.substr(content.find('=') + 1)));
}

std::string encodedValue(std::string_view value)
{
    value = value.substr(0, value.find_first_of("\r\n"));
    const bool needsQuotes =
        !value.empty() && (isBlank(value.front()) || isBlank(value.back()) || value != withoutQuotes(value));
    if (!needsQuotes) {
        return std::string(value);
    }
    std::string quoted;
    quoted.reserve(value.size() + 2);
    quoted.push_back('"');
    quoted.append(value);
    quoted.push_back('"');
    return quoted;
}

} // namespace

IniFile IniFile::parse(std::string_view text)
{
    IniFile file;
    file.sections_.emplace_back();
    if (text.starts_with(byteOrderMark)) {
        file.byteOrderMark_ = byteOrderMark;
        text.remove_prefix(byteOrderMark.size());
    }
    bool lineEndKnown = false;
    while (!text.empty()) {
        const std::size_t newline = text.find('\n');
        if (newline == std::string_view::npos) {
            file.addLine(text, {});
            break;
        }
        std::string_view content = text.substr(0, newline);
        std::string_view end = text.substr(newline, 1);
        if (content.ends_with('\r')) {
            content.remove_suffix(1);
            end = text.substr(newline - 1, 2);
        }
        if (!lineEndKnown) {
            file.lineEnd_ = end;
            lineEndKnown = true;
        }
        file.addLine(content, end);
        text.remove_prefix(newline + 1);
    }
    return file;
}

void IniFile::addLine(std::string_view content, std::string_view end)
{
    switch (kindOf(content)) {
    case LineKind::Section: {
        sectionIndex_.emplace(folded(sectionName(content)), sections_.size());
        Section& section = sections_.emplace_back();
        section.lines.push_back({std::string(content), std::string(end)});
        return;
    }
    case LineKind::Key: {
        Section& section = sections_.back();
        // Keys before the first section belong to no section and are never read.
        const bool inSection = sections_.size() > 1;
        section.lines.push_back({std::string(content), std::string(end), inSection});
        if (inSection) {
            section.lastKeyLine = section.lines.size() - 1;
        }
        return;
    }
    case LineKind::Other:
        sections_.back().lines.push_back({std::string(content), std::string(end)});
        return;
    }
}

std::string IniFile::text() const
{
    std::size_t size = byteOrderMark_.size();
    for (const Section& section : sections_) {
        for (const Line& line : section.lines) {
            size += line.content.size() + line.end.size();
        }
    }
    std::string result;
    result.reserve(size);
    result += byteOrderMark_;
    for (const Section& section : sections_) {
        for (const Line& line : section.lines) {
            result += line.content;
            result += line.end;
        }
    }
    return result;
}

const IniFile::Section* IniFile::findSection(std::string_view name) const
{
    const auto found = sectionIndex_.find(folded(name));
    return found == sectionIndex_.end() ? nullptr : &sections_[found->second];
}

IniFile::KeyIndex& IniFile::keyIndex(const Section& section)
{
    if (!section.keys) {
        KeyIndex& index = section.keys.emplace();
        for (std::size_t line = 0; line < section.lines.size(); ++line) {
            if (section.lines[line].key) {
                index.emplace(folded(keyName(section.lines[line].content)), line);
            }
        }
    }
    return *section.keys;
}

std::optional<std::string> IniFile::value(std::string_view section, std::string_view key) const
{
    const Section* found = findSection(section);
    if (found == nullptr) {
        return std::nullopt;
    }
    const KeyIndex& index = keyIndex(*found);
    const auto line = index.find(folded(key));
    if (line == index.end()) {
        return std::nullopt;
    }
    return std::string(keyValue(found->lines[line->second].content));
}

bool IniFile::hasKey(std::string_view section, std::string_view key) const
{
    const Section* found = findSection(section);
    return found != nullptr && keyIndex(*found).contains(folded(key));
}

bool IniFile::holdsKeys(std::string_view section) const
{
    const Section* found = findSection(section);
    return found != nullptr && found->lastKeyLine != 0;
}

void IniFile::forEachKey(
    std::string_view section,
    const std::function<void(std::string_view name, std::string_view value)>& visit) const
{
    const Section* found = findSection(section);
    if (found == nullptr) {
        return;
    }
    for (const Line& line : found->lines) {
        if (line.key) {
            visit(trimmed(keyName(line.content)), keyValue(line.content));
        }
    }
}

void IniFile::endLastLine()
{
    for (auto section = sections_.rbegin(); section != sections_.rend(); ++section) {
        if (!section->lines.empty()) {
            if (section->lines.back().end.empty()) {
                section->lines.back().end = lineEnd_;
            }
            return;
        }
    }
}

void IniFile::setValue(std::string_view section, std::string_view key, std::string_view value)
{
    const std::string encoded = encodedValue(value);
    const std::string keyText(trimmed(key));
    const auto found = sectionIndex_.find(folded(section));
    if (found == sectionIndex_.end()) {
        endLastLine();
        sectionIndex_.emplace(folded(section), sections_.size());
        Section& added = sections_.emplace_back();
        std::string sectionLine = "[";
        sectionLine += trimmed(section);
        sectionLine += ']';
        added.lines.push_back({std::move(sectionLine), lineEnd_});
        added.lines.push_back({keyText + "=" + encoded, lineEnd_, true});
        added.lastKeyLine = 1;
        return;
    }
    Section& target = sections_[found->second];
    KeyIndex& index = keyIndex(target);
    const auto line = index.find(folded(key));
    if (line != index.end()) {
        std::string& content = target.lines[line->second].content;
        content.erase(content.find('=') + 1);
        content += encoded;
        return;
    }
    // Only lines that are not keys follow the last key, so no indexed line moves.
    const std::size_t position = target.lastKeyLine + 1;
    if (position == target.lines.size()) {
        if (target.lines.back().end.empty()) {
            target.lines.back().end = lineEnd_;
        }
    }
    target.lines.insert(target.lines.begin() + static_cast<std::ptrdiff_t>(position),
                        Line{keyText + "=" + encoded, lineEnd_, true});
    index.emplace(folded(key), position);
    target.lastKeyLine = position;
}

} // namespace quorvane::core
