#pragma once

#include <string>
#include <string_view>
#include <system_error>

namespace quorvane::platform {

// The one place where errno becomes a std::error_code.
std::error_code errorFromErrno(int errnoValue);
std::error_code lastError();
// The error of a GIO call (a GIOErrorEnum value); a file system without a trash gives
// std::errc::operation_not_supported.
std::error_code errorFromGio(int gioErrorCode);

// The system's text for an error in the language the program speaks, without a trailing period or
// blanks. Japanese (the program's own language) where the system carries the translations, else the
// user's language; in another language the user's locale where it speaks that one, else English.
std::string errorText(std::error_code error);

// The language the program speaks, as a code ("ja", "en"); "ja" until it is set.
void setErrorTextLanguage(std::string_view language);

} // namespace quorvane::platform
