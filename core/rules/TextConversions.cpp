#include "TextConversions.h"

#include "platform/Utf8.h"

#include <cstdlib>
#include <memory>
#include <unicode/brkiter.h>
#include <unicode/locid.h>
#include <unicode/translit.h>
#include <unicode/unistr.h>
#include <unicode/utext.h>
#include <utility>
#include <vector>

namespace quorvane::core {

namespace {

// The user's locale for case mapping, from the environment as POSIX orders it.
const icu::Locale& userLocale()
{
    static const icu::Locale locale = [] {
        for (const char* variable : {"LC_ALL", "LC_CTYPE", "LANG"}) {
            const char* value = std::getenv(variable);
            if (value != nullptr && *value != '\0') {
                std::string name(value);
                name = name.substr(0, name.find_first_of(".@"));
                if (name == "C" || name == "POSIX") {
                    return icu::Locale::getRoot();
                }
                return icu::Locale(name.c_str());
            }
        }
        return icu::Locale::getRoot();
    }();
    return locale;
}

// Only Turkish and Azerbaijani map ASCII letters to letters outside ASCII (i to İ, I to ı); everywhere
// else an ASCII text can be cased byte by byte, which keeps a preview of many names fast.
bool asciiCasingIsExact()
{
    static const bool exact = [] {
        const std::string language = userLocale().getLanguage();
        return language != "tr" && language != "az";
    }();
    return exact;
}

bool isAscii(std::string_view text)
{
    for (const char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            return false;
        }
    }
    return true;
}

std::string utf8Of(const icu::UnicodeString& text)
{
    std::string out;
    text.toUTF8String(out);
    return out;
}

icu::UnicodeString unicodeOf(std::string_view validRun)
{
    return icu::UnicodeString::fromUTF8(
        icu::StringPiece(validRun.data(), static_cast<int32_t>(validRun.size())));
}

// Calls convert for every run of valid UTF-8 and copies every invalid byte between them unchanged.
template <class Convert>
std::string convertValidRuns(std::string_view text, Convert convert)
{
    std::string out;
    out.reserve(text.size());
    std::size_t runStart = 0;
    std::size_t offset = 0;
    while (offset < text.size()) {
        const platform::Utf8Char c = platform::decodeUtf8(text, offset);
        if (!c.valid) {
            if (offset > runStart) {
                out += convert(text.substr(runStart, offset - runStart));
            }
            out.push_back(text[offset]);
            runStart = offset + 1;
        }
        offset += c.length;
    }
    if (offset > runStart) {
        out += convert(text.substr(runStart, offset - runStart));
    }
    return out;
}

// One run of valid UTF-8 in upper or lower case: plain ASCII takes the byte-wise fast path where
// the locale's mapping equals it, everything else ICU's full mapping for the user's locale.
std::string caseRun(std::string_view run, bool upper)
{
    if (asciiCasingIsExact() && isAscii(run)) {
        const char from = upper ? 'a' : 'A';
        const char to = upper ? 'A' : 'a';
        std::string out(run);
        for (char& c : out) {
            if (c >= from && c <= from + 25) {
                c = static_cast<char>(c - from + to);
            }
        }
        return out;
    }
    const icu::UnicodeString text = unicodeOf(run);
    return utf8Of(upper ? icu::UnicodeString(text).toUpper(userLocale())
                        : icu::UnicodeString(text).toLower(userLocale()));
}

std::string upperRun(std::string_view run)
{
    return caseRun(run, true);
}

std::string lowerRun(std::string_view run)
{
    return caseRun(run, false);
}

// One transliterator per direction, made once: creating one compiles its rules.
icu::Transliterator* transliterator(const char* id)
{
    thread_local std::vector<std::pair<std::string, std::unique_ptr<icu::Transliterator>>> cache;
    for (const auto& [name, instance] : cache) {
        if (name == id) {
            return instance.get();
        }
    }
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::Transliterator> instance(
        icu::Transliterator::createInstance(icu::UnicodeString::fromUTF8(id), UTRANS_FORWARD, status));
    if (U_FAILURE(status)) {
        instance.reset();
    }
    cache.emplace_back(id, std::move(instance));
    return cache.back().second.get();
}

std::string transliterated(std::string_view text, const char* id)
{
    icu::Transliterator* instance = transliterator(id);
    if (instance == nullptr) {
        return std::string(text);
    }
    return convertValidRuns(text, [instance](std::string_view run) {
        icu::UnicodeString unicode = unicodeOf(run);
        instance->transliterate(unicode);
        return utf8Of(unicode);
    });
}

icu::BreakIterator* characterBreaks()
{
    thread_local std::unique_ptr<icu::BreakIterator> iterator = [] {
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<icu::BreakIterator> made(
            icu::BreakIterator::createCharacterInstance(userLocale(), status));
        if (U_FAILURE(status)) {
            made.reset();
        }
        return made;
    }();
    return iterator.get();
}

// Appends the byte ranges of the grapheme clusters of a valid run that starts at base.
void appendClusters(std::string_view text, std::size_t base, std::size_t length,
                    std::vector<std::pair<std::size_t, std::size_t>>& units)
{
    icu::BreakIterator* breaks = characterBreaks();
    UErrorCode status = U_ZERO_ERROR;
    UText* utext = breaks == nullptr
                       ? nullptr
                       : utext_openUTF8(nullptr, text.data() + base, static_cast<int64_t>(length), &status);
    if (utext != nullptr && U_SUCCESS(status)) {
        breaks->setText(utext, status);
    }
    if (utext == nullptr || U_FAILURE(status)) {
        // Without a break iterator every code point is a unit of its own.
        for (std::size_t offset = base; offset < base + length;) {
            const std::size_t size = platform::decodeUtf8(text, offset).length;
            units.emplace_back(offset, size);
            offset += size;
        }
    } else {
        // With UTF-8 text the iterator's native indexes are byte offsets into the run.
        int32_t start = breaks->first();
        for (int32_t end = breaks->next(); end != icu::BreakIterator::DONE;
             start = end, end = breaks->next()) {
            units.emplace_back(base + static_cast<std::size_t>(start), static_cast<std::size_t>(end - start));
        }
        // The iterator must not keep pointing at text that is about to go away.
        breaks->setText(icu::UnicodeString());
    }
    if (utext != nullptr) {
        utext_close(utext);
    }
}

} // namespace

std::string upperCased(std::string_view text)
{
    return convertValidRuns(text, upperRun);
}

std::string lowerCased(std::string_view text)
{
    return convertValidRuns(text, lowerRun);
}

std::string capitalised(std::string_view text)
{
    if (text.empty()) {
        return {};
    }
    const std::size_t first = platform::decodeUtf8(text, 0).length;
    return upperCased(text.substr(0, first)) + lowerCased(text.substr(first));
}

std::string fullWidth(std::string_view text)
{
    return transliterated(text, "Halfwidth-Fullwidth");
}

std::string halfWidth(std::string_view text)
{
    return transliterated(text, "Fullwidth-Halfwidth");
}

std::string reversedCharacters(std::string_view text)
{
    std::vector<std::pair<std::size_t, std::size_t>> units; // offset and length of each unit
    std::size_t runStart = 0;
    std::size_t offset = 0;
    while (offset < text.size()) {
        const platform::Utf8Char c = platform::decodeUtf8(text, offset);
        if (!c.valid) {
            if (offset > runStart) {
                appendClusters(text, runStart, offset - runStart, units);
            }
            units.emplace_back(offset, 1);
            runStart = offset + 1;
        }
        offset += c.length;
    }
    if (offset > runStart) {
        appendClusters(text, runStart, offset - runStart, units);
    }
    std::string out;
    out.reserve(text.size());
    for (auto unit = units.rbegin(); unit != units.rend(); ++unit) {
        out.append(text.substr(unit->first, unit->second));
    }
    return out;
}

} // namespace quorvane::core
