#include "core/settings/WindowSettings.h"

#include <charconv>

namespace quorvane::core {

namespace {

std::string_view withoutBlanks(std::string_view text)
{
    const auto blank = [](char c) {
        return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r';
    };
    while (!text.empty() && blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && blank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::optional<int> parsedInteger(std::string_view text)
{
    text = withoutBlanks(text);
    // from_chars takes a minus sign but no plus sign; a sign must be followed by a digit.
    const bool plus = text.starts_with('+');
    if (plus) {
        text.remove_prefix(1);
    }
    const std::string_view digits = !plus && text.starts_with('-') ? text.substr(1) : text;
    if (digits.empty() || digits.front() < '0' || digits.front() > '9') {
        return std::nullopt;
    }
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 10);
    if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

std::optional<int> integerValue(const IniFile& file, std::string_view section, std::string_view key)
{
    const std::optional<std::string> text = file.value(section, key);
    return text ? parsedInteger(*text) : std::nullopt;
}

int integerValue(const IniFile& file, std::string_view section, std::string_view key, int fallback)
{
    return integerValue(file, section, key).value_or(fallback);
}

// The number n of a key named exactly as n is written in decimal: digits only, no leading zero.
std::optional<std::size_t> patternNumber(std::string_view name)
{
    if (name.empty() || (name.front() == '0' && name.size() > 1)) {
        return std::nullopt;
    }
    std::size_t number = 0;
    const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), number, 10);
    if (error != std::errc() || end != name.data() + name.size()) {
        return std::nullopt;
    }
    return number;
}

// The patterns of keys "0", "1", ... up to the first missing key, in one pass over the section. A
// list of n patterns needs keys 0 to n-1, so a number beyond the count of keys ends it anyway.
std::vector<std::string> readPatterns(const IniFile& file)
{
    std::vector<std::pair<std::size_t, std::string_view>> numbered;
    file.forEachKey(extListSection, [&numbered](std::string_view name, std::string_view value) {
        if (const std::optional<std::size_t> number = patternNumber(name)) {
            numbered.emplace_back(*number, value);
        }
    });
    std::vector<const std::string_view*> byNumber(numbered.size(), nullptr);
    for (const auto& [number, value] : numbered) {
        // The first key of a number is the one read, as for every other key.
        if (number < byNumber.size() && byNumber[number] == nullptr) {
            byNumber[number] = &value;
        }
    }
    std::vector<std::string> patterns;
    for (const std::string_view* value : byNumber) {
        if (value == nullptr) {
            break;
        }
        patterns.emplace_back(*value);
    }
    return patterns;
}

} // namespace

int readIntegerValue(std::string_view text, int fallback)
{
    return parsedInteger(text).value_or(fallback);
}

std::optional<WindowSettings::HideOptions> WindowSettings::hideOptions() const
{
    if (ViewMode < 0 || ViewMode > 3) {
        return std::nullopt;
    }
    return HideOptions{(ViewMode & 1) != 0, (ViewMode & 2) != 0};
}

WindowSettings readWindowSettings(const IniFile& file)
{
    WindowSettings settings;
    settings.Width = integerValue(file, windowStateSection, "Width", settings.Width);
    settings.Height = integerValue(file, windowStateSection, "Height", settings.Height);
    settings.DirWidth = integerValue(file, windowStateSection, "DirWidth", settings.DirWidth);
    settings.DivMode = integerValue(file, windowStateSection, "DivMode", settings.DivMode);
    settings.PreMode = integerValue(file, windowStateSection, "PreMode", settings.PreMode);
    settings.FilesWidth = integerValue(file, windowStateSection, "FilesWidth");
    settings.FilesHeight = integerValue(file, windowStateSection, "FilesHeight");
    settings.extList = readPatterns(file);
    settings.ViewMode = integerValue(file, optionsSection, "ViewMode", settings.ViewMode);
    settings.AutoPlay = integerValue(file, optionsSection, "AutoPlay", settings.AutoPlay);
    return settings;
}

std::vector<std::string> builtInPatterns()
{
    return {"*.*",    "*.exe", "*.zip", "*.lzh", "*.cab", "*.rar", "*.tar",  "*.txt",  "*.log", "*.ini",
            "*.html", "*.htm", "*.ico", "*.cur", "*.ani", "*.bmp", "*.jpg",  "*.jpeg", "*.gif", "*.png",
            "*.avi",  "*.mov", "*.mpg", "*.wav", "*.ram", "*.rm",  "*.midi", "*.mp3",  "*.doc", "*.xls"};
}

void writeExtList(IniFile& file, const std::vector<std::string>& patterns)
{
    for (std::size_t n = 0; n < patterns.size(); ++n) {
        file.setValue(extListSection, std::to_string(n), patterns[n]);
    }
}

bool addBuiltInPatternsWhenNone(WindowSettings& settings, IniFile& file)
{
    if (!settings.extList.empty()) {
        return false;
    }
    settings.extList = builtInPatterns();
    // Keys that do not start at "0" are still the user's: a typing slip must not cost the list.
    if (file.holdsKeys(extListSection)) {
        return false;
    }
    writeExtList(file, settings.extList);
    return true;
}

void writeWindowSettings(IniFile& file, const WindowSettings& settings)
{
    const auto write = [&file](std::string_view section, std::string_view key, int value) {
        file.setValue(section, key, std::to_string(value));
    };
    write(windowStateSection, "Width", settings.Width);
    write(windowStateSection, "Height", settings.Height);
    write(windowStateSection, "DirWidth", settings.DirWidth);
    if (settings.FilesWidth) {
        write(windowStateSection, "FilesWidth", *settings.FilesWidth);
    }
    if (settings.FilesHeight) {
        write(windowStateSection, "FilesHeight", *settings.FilesHeight);
    }
    write(windowStateSection, "DivMode", settings.DivMode);
    write(windowStateSection, "PreMode", settings.PreMode);
    write(optionsSection, "ViewMode", settings.ViewMode);
    write(optionsSection, "AutoPlay", settings.AutoPlay);
}

} // namespace quorvane::core
