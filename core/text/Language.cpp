#include "Language.h"

#include <algorithm>

namespace quorvane::core {

std::string languageOfLocale(std::string_view localeName)
{
    const std::string_view language = localeName.substr(0, localeName.find_first_of("_.@"));
    if (language.empty() || language == "C" || language == "POSIX") {
        return std::string(sourceLanguage);
    }
    std::string code(language);
    std::transform(code.begin(), code.end(), code.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    return code;
}

std::string shownLanguage(std::string_view choice, std::string_view localeName,
                          const std::vector<std::string>& translated)
{
    const std::string language =
        choice.empty() || choice == automaticLanguage ? languageOfLocale(localeName) : std::string(choice);
    if (language == sourceLanguage ||
        std::find(translated.begin(), translated.end(), language) != translated.end()) {
        return language;
    }
    return std::string(fallbackLanguage);
}

} // namespace quorvane::core
