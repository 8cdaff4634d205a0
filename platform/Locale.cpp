#include "Locale.h"

#include "Utf8.h"

#include <algorithm>
#include <array>
#include <clocale>
#include <cstdint>
#include <langinfo.h>
#include <locale.h>
#include <map>
#include <mutex>
#include <unicode/ucol.h>
#include <unicode/uloc.h>
#include <unicode/uset.h>
#include <unicode/ustring.h>
#include <vector>

namespace quorvane::platform {

std::string messagesLocaleName()
{
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && *value != '\0') {
            return value;
        }
    }
    return {};
}

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
void foldedUtf16(std::string_view text, bool dropHyphensAndApostrophes, std::u16string& folded)
{
    folded.clear();
    // Case folding maps an ASCII letter to its lower case and leaves every other ASCII character as
    // it is, so the common all-ASCII name is folded here without ICU.
    const bool ascii =
        std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (ascii) {
        folded.resize(text.size());
        std::size_t length = 0;
        for (const char c : text) {
            if (dropHyphensAndApostrophes && (c == '-' || c == '\'')) {
                continue;
            }
            folded[length++] = static_cast<char16_t>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        }
        folded.resize(length);
        return;
    }
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
    folded.assign(units.size() + 8, u'\0');
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
        folded = std::move(units);
        return;
    }
    folded.resize(static_cast<std::size_t>(length));
}

} // namespace

struct SortCollator::Impl
{
    UCollator* collator = nullptr;
    // For each ASCII byte, its place in the collator's order of single characters (1 upwards;
    // characters the collator calls equal share one), or 0 for a byte it does not order alone.
    std::array<std::uint8_t, 128> asciiRank{};

    // Ranks the printable ASCII characters for simple keys. Two such texts compare in the collator
    // character by character when no ASCII character forms a contraction or expands into several
    // weights and each weighs only at the first level: then the first differing character, or the
    // shorter text, decides, as the ranks do. Anything the collator does otherwise leaves its
    // characters, or all of them, unranked.
    void rankAsciiCharacters()
    {
        UErrorCode status = U_ZERO_ERROR;
        if (ucol_getAttribute(collator, UCOL_NUMERIC_COLLATION, &status) != UCOL_OFF ||
            ucol_getAttribute(collator, UCOL_ALTERNATE_HANDLING, &status) != UCOL_NON_IGNORABLE ||
            ucol_getAttribute(collator, UCOL_CASE_LEVEL, &status) != UCOL_OFF || U_FAILURE(status)) {
            return;
        }
        USet* contractions = uset_openEmpty();
        USet* expansions = uset_openEmpty();
        ucol_getContractionsAndExpansions(collator, contractions, expansions, true, &status);
        bool asciiContraction = U_FAILURE(status);
        for (int32_t item = 0; item < uset_getItemCount(contractions) && !asciiContraction; ++item) {
            UChar32 start = 0;
            UChar32 end = 0;
            std::array<UChar, 32> text{};
            const int32_t length = uset_getItem(contractions, item, &start, &end, text.data(),
                                                static_cast<int32_t>(text.size()), &status);
            if (U_FAILURE(status) || length > static_cast<int32_t>(text.size())) {
                asciiContraction = true;
            } else if (length > 0) {
                asciiContraction =
                    std::all_of(text.begin(), text.begin() + length, [](UChar c) { return c < 0x80; });
            }
        }
        std::vector<char16_t> candidates;
        for (char16_t c = 0x20; c < 0x7F; ++c) {
            if ((c < u'A' || c > u'Z') && !uset_contains(expansions, c) && weighsAtFirstLevelOnly(c)) {
                candidates.push_back(c);
            }
        }
        uset_close(contractions);
        uset_close(expansions);
        if (asciiContraction || candidates.empty()) {
            return;
        }
        const auto order = [this](char16_t a, char16_t b) {
            return ucol_strcoll(collator, reinterpret_cast<const UChar*>(&a), 1,
                                reinterpret_cast<const UChar*>(&b), 1);
        };
        std::sort(candidates.begin(), candidates.end(),
                  [&order](char16_t a, char16_t b) { return order(a, b) < 0; });
        std::uint8_t rank = 0;
        for (std::size_t i = 0; i < candidates.size(); ++i) {
            if (i == 0 || order(candidates[i - 1], candidates[i]) != 0) {
                ++rank;
            }
            asciiRank[candidates[i]] = rank;
        }
        for (char c = 'A'; c <= 'Z'; ++c) {
            // A letter folds to its lower case before it is compared.
            asciiRank[static_cast<std::size_t>(c)] = asciiRank[static_cast<std::size_t>(c - 'A' + 'a')];
        }
    }

    // Whether a character's key has a first-level weight and the common weights at the other
    // levels, those of "a".
    bool weighsAtFirstLevelOnly(char16_t c) const
    {
        const auto levelsAfterFirst = [this](char16_t character) {
            std::array<uint8_t, 64> bytes{};
            const auto* unit = reinterpret_cast<const UChar*>(&character);
            const int32_t length =
                ucol_getSortKey(collator, unit, 1, bytes.data(), static_cast<int32_t>(bytes.size()));
            const std::string key(reinterpret_cast<const char*>(bytes.data()),
                                  static_cast<std::size_t>(std::clamp<int32_t>(length, 0, 64)));
            const std::size_t separator = key.find('\x01');
            return separator == 0 || separator == std::string::npos ? std::string() : key.substr(separator);
        };
        const std::string own = levelsAfterFirst(c);
        return !own.empty() && own == levelsAfterFirst(u'a');
    }

    // Appends the collator's key of text, written straight into key's storage.
    void appendKey(const std::u16string& text, std::string& key) const
    {
        const auto* units = reinterpret_cast<const UChar*>(text.data());
        const auto length = static_cast<int32_t>(text.size());
        const std::size_t start = key.size();
        std::size_t room = 64 + text.size() * 4;
        for (;;) {
            key.resize(start + room);
            const int32_t needed =
                ucol_getSortKey(collator, units, length, reinterpret_cast<uint8_t*>(key.data() + start),
                                static_cast<int32_t>(room));
            if (needed <= static_cast<int32_t>(room)) {
                // The key ends with its zero byte, which keeps the two levels of a combined key apart.
                key.resize(start + static_cast<std::size_t>(needed));
                return;
            }
            room = static_cast<std::size_t>(needed);
        }
    }
};

SortCollator::SortCollator() : impl_(std::make_unique<Impl>())
{
    UErrorCode status = U_ZERO_ERROR;
    std::string localeName = userCollationLocale();
    impl_->collator = ucol_open(localeName.c_str(), &status);
    if (U_FAILURE(status)) {
        status = U_ZERO_ERROR;
        localeName.clear();
        impl_->collator = ucol_open("", &status);
    }
    status = U_ZERO_ERROR;
    ucol_setAttribute(impl_->collator, UCOL_STRENGTH, UCOL_TERTIARY, &status);

    // Ranking asks the collator for all its contractions, which costs more than a listing should
    // pay each time; a locale's ranks never change while the program runs.
    static std::mutex ranksLock;
    static std::map<std::string, std::array<std::uint8_t, 128>> ranksByLocale;
    {
        const std::lock_guard lock(ranksLock);
        if (const auto known = ranksByLocale.find(localeName); known != ranksByLocale.end()) {
            impl_->asciiRank = known->second;
            return;
        }
    }
    impl_->rankAsciiCharacters();
    const std::lock_guard lock(ranksLock);
    ranksByLocale.emplace(localeName, impl_->asciiRank);
}

SortCollator::~SortCollator()
{
    ucol_close(impl_->collator);
}

std::string SortCollator::sortKey(std::string_view text) const
{
    std::string key;
    appendSortKey(text, key);
    return key;
}

void SortCollator::appendSortKey(std::string_view text, std::string& key) const
{
    // One folding buffer per thread, so that a sort of many keys does not allocate one per key.
    thread_local std::u16string folded;
    const std::size_t start = key.size();
    foldedUtf16(text, true, folded);
    impl_->appendKey(folded, key);
    if (text.find_first_of("-'") == std::string_view::npos) {
        // Without hyphens or apostrophes both levels fold to the same text and give the same key.
        const std::size_t length = key.size() - start;
        key.resize(start + 2 * length);
        std::copy_n(key.data() + start, length, key.data() + start + length);
        return;
    }
    foldedUtf16(text, false, folded);
    impl_->appendKey(folded, key);
}

bool SortCollator::simplyOrdered(std::string_view text) const
{
    return std::all_of(text.begin(), text.end(), [this](char c) {
        const auto byte = static_cast<unsigned char>(c);
        // The short keys weigh each digit alone; only the collator weighs a run of them by its value.
        return byte < 0x80 && impl_->asciiRank[byte] != 0 && !(numericDigits_ && c >= '0' && c <= '9');
    });
}

void SortCollator::setNumericDigits(bool numeric)
{
    UErrorCode status = U_ZERO_ERROR;
    ucol_setAttribute(impl_->collator, UCOL_NUMERIC_COLLATION, numeric ? UCOL_ON : UCOL_OFF, &status);
    numericDigits_ = numeric && U_SUCCESS(status);
}

void SortCollator::appendSimpleSortKey(std::string_view text, std::string& key) const
{
    // The same two levels as appendSortKey: without hyphens and apostrophes, then with them. A zero
    // byte ends each, so a text sorts before every longer text it begins. The key is written into
    // room made once, as a list of many names asks for one key after another.
    const std::size_t start = key.size();
    key.resize(start + 2 * (text.size() + 1));
    char* const first = key.data() + start;
    char* out = first;
    bool dropped = false;
    for (const char c : text) {
        if (c == '-' || c == '\'') {
            dropped = true;
        } else {
            *out++ = static_cast<char>(impl_->asciiRank[static_cast<unsigned char>(c)]);
        }
    }
    *out++ = '\0';
    if (!dropped) {
        out = std::copy(first, out, out);
    } else {
        for (const char c : text) {
            *out++ = static_cast<char>(impl_->asciiRank[static_cast<unsigned char>(c)]);
        }
        *out++ = '\0';
    }
    key.resize(static_cast<std::size_t>(out - key.data()));
}

int SortCollator::compare(std::string_view a, std::string_view b) const
{
    const int order = sortKey(a).compare(sortKey(b));
    return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

} // namespace quorvane::platform
