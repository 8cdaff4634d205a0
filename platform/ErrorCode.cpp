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

std::string errorText(std::error_code error)
{
    if (!error) {
        return {};
    }
    std::string text;
    if (error.category() == std::system_category()) {
        // strerror_l with the user's LC_MESSAGES gives the text in the user's language where the
        // system has a translation; the C locale's English text otherwise.
        const locale_t userLocale = newlocale(LC_MESSAGES_MASK, "", static_cast<locale_t>(0));
        if (userLocale != static_cast<locale_t>(0)) {
            text = strerror_l(error.value(), userLocale);
            freelocale(userLocale);
        } else {
            text = std::strerror(error.value());
        }
    } else {
        text = error.message();
    }
    while (!text.empty() && (text.back() == '.' || text.back() == ' ' || text.back() == '\r' ||
                             text.back() == '\n' || text.back() == '\t')) {
        text.pop_back();
    }
    return text;
}

} // namespace quorvane::platform
