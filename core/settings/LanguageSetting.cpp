#include "core/settings/LanguageSetting.h"

#include "core/settings/WindowSettings.h"
#include "core/text/Language.h"

#include <algorithm>

namespace quorvane::core {

std::string readLanguageChoice(const IniFile& file)
{
    std::string choice = file.value(optionsSection, languageKey).value_or(std::string());
    if (choice.empty()) {
        return std::string(automaticLanguage);
    }
    std::transform(choice.begin(), choice.end(), choice.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    return choice;
}

void writeLanguageChoice(IniFile& file, std::string_view choice)
{
    file.setValue(optionsSection, languageKey, choice);
}

} // namespace quorvane::core
