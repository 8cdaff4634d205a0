#pragma once

#include <string>
#include <system_error>

namespace quorvane::platform {

// The one place where errno becomes a std::error_code.
std::error_code errorFromErrno(int errnoValue);
std::error_code lastError();

// The system's text for an error, in Japanese where the system carries the translations, else in
// the user's language; without a trailing period or blanks.
std::string errorText(std::error_code error);

} // namespace quorvane::platform
