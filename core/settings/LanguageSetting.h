#pragma once

#include "core/settings/IniFile.h"

#include <string>
#include <string_view>

namespace quorvane::core {

// The language the user chose on the settings tab, kept under Options: "auto" to follow the locale,
// or a language code ("ja", "en").
inline constexpr std::string_view languageKey = "Language";

// The chosen language as written, in lower case; "auto" when the key is missing or empty.
std::string readLanguageChoice(const IniFile& file);
void writeLanguageChoice(IniFile& file, std::string_view choice);

} // namespace quorvane::core
