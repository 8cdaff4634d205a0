#include "ErrorCode.h"

#include <cerrno>
#include <clocale>
#include <cstring>
#include <locale.h>

namespace quorvane::platform {

std::error_code errorFromErrno(int errnoValue)
{
    return {errnoValue, std::system_category()};
}

std::error_code lastError()
{
    return errorFromErrno(errno);
}

namespace {

// The system's text for an errno value with the messages of the named locale ("" for the user's),
// in UTF-8 whatever that locale's encoding; empty when the system has no such locale.
std::string systemTextIn(const char* localeName, int value)
{
    const locale_t messages = newlocale(LC_MESSAGES_MASK, localeName, static_cast<locale_t>(0));
    if (messages == static_cast<locale_t>(0)) {
        return {};
    }
    const locale_t utf8 = newlocale(LC_CTYPE_MASK, "C.UTF-8", messages);
    if (utf8 == static_cast<locale_t>(0)) {
        freelocale(messages);
        return {};
    }
    std::string text = strerror_l(value, utf8);
    freelocale(utf8);
    return text;
}

// The program speaks Japanese, so the system's text is Japanese where the system carries the
// translations (glibc's messages and a Japanese locale); else the user's language where it has
// that, else the C locale's English.
std::string systemText(int value)
{
    const std::string untranslated = systemTextIn("C", value);
    for (const char* localeName : {"ja_JP.UTF-8", ""}) {
        std::string text = systemTextIn(localeName, value);
        if (!text.empty() && text != untranslated) {
            return text;
        }
    }
    return untranslated.empty() ? std::string(std::strerror(value)) : untranslated;
}

} // namespace

std::string errorText(std::error_code error)
{
    if (!error) {
        return {};
    }
    std::string text =
        error.category() == std::system_category() ? systemText(error.value()) : error.message();
    while (!text.empty() && (text.back() == '.' || text.back() == ' ' || text.back() == '\r' ||
                             text.back() == '\n' || text.back() == '\t')) {
        text.pop_back();
    }
    return text;
}

} // namespace quorvane::platform
