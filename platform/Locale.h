#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace quorvane::platform {

// The name of the user's messages locale from the environment as POSIX orders it (LC_ALL,
// LC_MESSAGES, LANG), such as "ja_JP.UTF-8"; empty when none is set, which means the C locale.
std::string messagesLocaleName();

// The thousands separator of the user's numeric locale; "," where the locale gives none.
std::string thousandsSeparator();

// The comparison users expect when they sort file names in their language: an ICU collator for
// the user's locale, letter case ignored, with hyphens and apostrophes weightless unless the texts
// are otherwise equal. Every other punctuation mark counts as usual. "a.txt" equals "A.txt",
// "-H--" sorts before "--SA", "10 KB" before "9 KB".
class SortCollator
{
public:
    SortCollator();
    ~SortCollator();
    SortCollator(const SortCollator&) = delete;
    SortCollator& operator=(const SortCollator&) = delete;

    // A byte string whose plain byte order (std::string::compare) is the collation order, so a
    // sort can compute each key once.
    std::string sortKey(std::string_view text) const;
    // The same key appended to key, so that many keys can share one buffer. May be called from
    // several threads at once.
    void appendSortKey(std::string_view text, std::string& key) const;

    // A short key with the order of appendSortKey's among texts that the collator orders character
    // by character, which simplyOrdered tells (plain ASCII, in the usual locales). A sort takes
    // these keys only when every one of its texts qualifies: the two kinds never meet.
    bool simplyOrdered(std::string_view text) const;
    void appendSimpleSortKey(std::string_view text, std::string& key) const;

    // Negative, zero or positive as a sorts before, with or after b.
    int compare(std::string_view a, std::string_view b) const;

    // Whether runs of digits compare by their value ("IMG_2" before "IMG_10"), not digit by digit
    // as the lists have always sorted them. Off at first; not to be changed while a sort runs.
    void setNumericDigits(bool numeric);
    bool numericDigits() const { return numericDigits_; }

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
    bool numericDigits_ = false;
};

} // namespace quorvane::platform
