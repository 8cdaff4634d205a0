#include "ErrorCode.h"

#include "Locale.h"

#include <cerrno>
#include <clocale>
#include <cstring>
#include <gio/gio.h>
#include <locale.h>
#include <mutex>
#include <vector>

namespace quorvane::platform {

std::error_code errorFromErrno(int errnoValue)
{
    return {errnoValue, std::system_category()};
}

std::error_code lastError()
{
    return errorFromErrno(errno);
}

std::error_code errorFromGio(int gioErrorCode)
{
    // GIO keeps no errno of its own; its codes stand for the errno values it was made from.
    switch (static_cast<GIOErrorEnum>(gioErrorCode)) {
    case G_IO_ERROR_NOT_FOUND:
        return errorFromErrno(ENOENT);
    case G_IO_ERROR_EXISTS:
        return errorFromErrno(EEXIST);
    case G_IO_ERROR_IS_DIRECTORY:
        return errorFromErrno(EISDIR);
    case G_IO_ERROR_NOT_DIRECTORY:
        return errorFromErrno(ENOTDIR);
    case G_IO_ERROR_FILENAME_TOO_LONG:
        return errorFromErrno(ENAMETOOLONG);
    case G_IO_ERROR_INVALID_FILENAME:
        return errorFromErrno(EINVAL);
    case G_IO_ERROR_NO_SPACE:
        return errorFromErrno(ENOSPC);
    case G_IO_ERROR_PERMISSION_DENIED:
        return errorFromErrno(EACCES);
    case G_IO_ERROR_READ_ONLY:
        return errorFromErrno(EROFS);
    case G_IO_ERROR_BUSY:
        return errorFromErrno(EBUSY);
    case G_IO_ERROR_NOT_SUPPORTED:
        return errorFromErrno(EOPNOTSUPP);
    default:
        return errorFromErrno(EIO);
    }
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

std::mutex languageLock;
std::string errorTextLanguage = "ja";

std::string currentLanguage()
{
    const std::lock_guard lock(languageLock);
    return errorTextLanguage;
}

// Whether the user's messages locale speaks the language ("de" for "de_AT.UTF-8").
bool userSpeaks(std::string_view language)
{
    const std::string locale = messagesLocaleName();
    return locale.starts_with(language) &&
           (locale.size() == language.size() ||
            std::string_view("_.@").find(locale[language.size()]) != std::string_view::npos);
}

// Japanese where the system carries the translations (glibc's messages and a Japanese locale),
// else the user's language where it has that; in another language the user's where it is that
// one; else the C locale's English.
std::string systemText(int value)
{
    const std::string untranslated = systemTextIn("C", value);
    const std::string language = currentLanguage();
    std::vector<const char*> localeNames;
    if (language == "ja") {
        localeNames = {"ja_JP.UTF-8", ""};
    } else if (userSpeaks(language)) {
        localeNames = {""};
    }
    for (const char* localeName : localeNames) {
        std::string text = systemTextIn(localeName, value);
        if (!text.empty() && text != untranslated) {
            return text;
        }
    }
    return untranslated.empty() ? std::string(std::strerror(value)) : untranslated;
}

} // namespace

void setErrorTextLanguage(std::string_view language)
{
    const std::lock_guard lock(languageLock);
    errorTextLanguage = language;
}

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
