#include "Wildcard.h"

#include "Utf8.h"

#include <algorithm>

namespace quorvane::platform {

namespace {

constexpr char32_t anyRun = U'*';
constexpr char32_t anyOne = U'?';

void decodeFolded(std::string_view text, std::vector<char32_t>& out)
{
    out.clear();
    for (std::size_t offset = 0; offset < text.size();) {
        const Utf8Char c = decodeUtf8(text, offset);
        out.push_back(foldedCharacter(c));
        offset += c.length;
    }
}

// Iterative matching with backtracking to the most recent "*": linear in practice and never
// exponential, whatever the pattern.
bool matchCharacters(const std::vector<char32_t>& pattern, const std::vector<char32_t>& name)
{
    std::size_t p = 0;
    std::size_t n = 0;
    std::size_t starPattern = std::string_view::npos;
    std::size_t starName = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == anyOne || pattern[p] == name[n])) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == anyRun) {
            starPattern = p++;
            starName = n;
        } else if (starPattern != std::string_view::npos) {
            p = starPattern + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == anyRun) {
        ++p;
    }
    return p == pattern.size();
}

} // namespace

WildcardPattern::WildcardPattern(std::string_view pattern)
{
    decodeFolded(pattern, pattern_);
    const std::size_t size = pattern_.size();
    endsWithDotStar_ = size >= 2 && pattern_[size - 2] == U'.' && pattern_[size - 1] == anyRun;
    if (endsWithDotStar_) {
        withoutTrailingDotStar_.assign(pattern_.begin(), pattern_.end() - 2);
    }
    const std::vector<char32_t>& stem = endsWithDotStar_ ? withoutTrailingDotStar_ : pattern_;
    matchesEverything_ =
        !stem.empty() && std::all_of(stem.begin(), stem.end(), [](char32_t c) { return c == anyRun; });
}

bool WildcardPattern::matches(std::string_view name) const
{
    if (matchesEverything_) {
        return !name.empty();
    }
    thread_local std::vector<char32_t> decoded;
    decodeFolded(name, decoded);
    if (matchCharacters(pattern_, decoded)) {
        return true;
    }
    return endsWithDotStar_ && matchCharacters(withoutTrailingDotStar_, decoded);
}

} // namespace quorvane::platform
