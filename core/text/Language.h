#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quorvane::core {

// The language of the program's source texts, which need no translation.
inline constexpr std::string_view sourceLanguage = "ja";
// The language shown to a user whose own language has no translation.
inline constexpr std::string_view fallbackLanguage = "en";
// The choice that follows the user's locale.
inline constexpr std::string_view automaticLanguage = "auto";

// The language code of a messages locale name such as "ja_JP.UTF-8", "de_DE@euro" or "C.UTF-8", in
// lower case. The C and POSIX locales (and an empty name, which means C) give Japanese, the
// language the program has always spoken where nothing else is asked for.
std::string languageOfLocale(std::string_view localeName);

// The language the window shows: the chosen one, or under the automatic choice the locale's; a
// language without a translation (translated lists the codes there are) shows in English.
std::string shownLanguage(std::string_view choice, std::string_view localeName,
                          const std::vector<std::string>& translated);

} // namespace quorvane::core
