#include "Locale.h"

#include "Utf8.h"

#include <clocale>
#include <langinfo.h>
#include <locale.h>
#include <unicode/ucol.h>
#include <unicode/uloc.h>
#include <unicode/ustring.h>
#include <vector>

namespace quorvane::platform {

std::string thousandsSeparator()
{
    std::string separator;
    const locale_t userLocale = newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(0));
    if (userLocale != static_cast<locale_t>(0)) {
        separator = nl_langinfo_l(THOUSEP, userLocale);
        freelocale(userLocale);
    }
    return separator.empty() ? std::string(",") : separator;
}

namespace {

// The name of the user's collation locale, from the environment as POSIX orders it.
std::string userCollationLocale()
{
    for (const char* variable : {"LC_ALL", "LC_COLLATE", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && *value != '\0') {
            std::string name(value);
            name = name.substr(0, name.find_first_of(".@"));
            if (name == "C" || name == "POSIX") {
                return "en_US_POSIX";
            }
            return name;
        }
    }
    return "en_US_POSIX";
}

// Case-folded UTF-16 for the collator. A byte that is not valid UTF-8 becomes the replacement
// character here; only the order depends on it, never the name.
std::u16string foldedUtf16(std::string_view text, bool dropHyphensAndApostrophes)
{
    std::u16string units;
    units.reserve(text.size());
    for (std::size_t offset = 0; offset < text.size();) {
        const Utf8Char c = decodeUtf8(text, offset);
        offset += c.length;
        if (dropHyphensAndApostrophes && (c.codePoint == U'-' || c.codePoint == U'\'')) {
            continue;
        }
        const char32_t codePoint = c.valid ? c.codePoint : 0xFFFD;
        if (codePoint < 0x10000) {
            units.push_back(static_cast<char16_t>(codePoint));
        } else {
            units.push_back(static_cast<char16_t>(0xD800 + ((codePoint - 0x10000) >> 10)));
            units.push_back(static_cast<char16_t>(0xDC00 + ((codePoint - 0x10000) & 0x3FF)));
        }
    }
    std::u16string folded(units.size() + 8, u'\0');
    UErrorCode status = U_ZERO_ERROR;
    int32_t length = u_strFoldCase(folded.data(), static_cast<int32_t>(folded.size()), units.data(),
                                   static_cast<int32_t>(units.size()), U_FOLD_CASE_DEFAULT, &status);
    if (status == U_BUFFER_OVERFLOW_ERROR) {
        folded.assign(static_cast<std::size_t>(length), u'\0');
        status = U_ZERO_ERROR;
        length = u_strFoldCase(folded.data(), length, units.data(), static_cast<int32_t>(units.size()),
                               U_FOLD_CASE_DEFAULT, &status);
    }
    if (U_FAILURE(status)) {
        return units;
    }
    folded.resize(static_cast<std::size_t>(length));
    return folded;
}

} // namespace

struct SortCollator::Impl
{
    UCollator* collator = nullptr;

    void appendKey(const std::u16string& text, std::string& key) const
    {
        const auto* units = reinterpret_cast<const UChar*>(text.data());
        const auto length = static_cast<int32_t>(text.size());
        std::vector<uint8_t> buffer(64 + text.size() * 4);
        int32_t needed =
            ucol_getSortKey(collator, units, length, buffer.data(), static_cast<int32_t>(buffer.size()));
        if (needed > static_cast<int32_t>(buffer.size())) {
            buffer.resize(static_cast<std::size_t>(needed));
            needed = ucol_getSortKey(collator, units, length, buffer.data(), needed);
        }
        // The key ends with its zero byte, which keeps the two levels of a combined key apart.
        key.append(reinterpret_cast<const char*>(buffer.data()), static_cast<std::size_t>(needed));
    }
};

SortCollator::SortCollator() : impl_(std::make_unique<Impl>())
{
    UErrorCode status = U_ZERO_ERROR;
    impl_->collator = ucol_open(userCollationLocale().c_str(), &status);
    if (U_FAILURE(status)) {
        status = U_ZERO_ERROR;
        impl_->collator = ucol_open("", &status);
    }
    status = U_ZERO_ERROR;
    ucol_setAttribute(impl_->collator, UCOL_STRENGTH, UCOL_TERTIARY, &status);
}

SortCollator::~SortCollator()
{
    ucol_close(impl_->collator);
}

std::string SortCollator::sortKey(std::string_view text) const
{
    std::string key;
    impl_->appendKey(foldedUtf16(text, true), key);
    impl_->appendKey(foldedUtf16(text, false), key);
    return key;
}

int SortCollator::compare(std::string_view a, std::string_view b) const
{
    const int order = sortKey(a).compare(sortKey(b));
    return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

} // namespace quorvane::platform
