#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

// Marks a text that is worded later (a constant, a table entry) for lupdate, which extracts
// QT_TRANSLATE_NOOP by its name into the translation files. Qt defines the same macro with the same
// expansion, so either definition may come first.
#ifndef QT_TRANSLATE_NOOP
#define QT_TRANSLATE_NOOP(scope, x) x
#endif

namespace quorvane::core {

// Gives a source text of the program in the language the user reads; n >= 0 chooses the plural
// form and takes the place of "%n". The window installs one over Qt's translations.
using Translator = std::string (*)(const char* context, const char* sourceText, const char* disambiguation,
                                   int n);

// Installs the translator of every later translate(); nullptr keeps the source texts.
void setTranslator(Translator translator);

// The text in the user's language. lupdate extracts the calls of this name as it does Qt's own
// translate(), so a call with a literal context and source text needs no other mark. Without a
// translator it is the source text, Japanese, with "%n" replaced by n when n >= 0.
std::string translate(const char* context, const char* sourceText, const char* disambiguation = nullptr,
                      int n = -1);

// The text with the arguments in place of "%1" to "%9", in one pass: an argument that holds "%2"
// itself (a file name may) stays as it is. A number without an argument stays in the text.
std::string withArguments(std::string_view text, std::initializer_list<std::string_view> arguments);

} // namespace quorvane::core
