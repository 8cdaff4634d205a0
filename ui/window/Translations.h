#pragma once

#include <QLocale>
#include <QString>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane::ui {

// The codes of the languages the program has a translation for, built into it from
// translations/quorvane_<code>.ts ("en"); Japanese, the source language, needs none.
std::vector<std::string> translatedLanguages();

// Shows the program in the language the choice gives from now on ("auto" follows the user's locale,
// core::shownLanguage decides): installs its translation and Qt's own, and makes the texts that
// core builds and the system's error texts speak it. Every widget receives a LanguageChange event
// when the language changes. Returns the language shown.
std::string applyLanguage(std::string_view choice);

// The language shown now; Japanese before the first applyLanguage.
std::string shownLanguage();

// The locale of dates and calendars in the language shown.
QLocale shownLocale();

// A language's name in that language ("English", "日本語"), so that a user who does not read the
// language shown still finds their own.
QString languageName(std::string_view code);

} // namespace quorvane::ui
