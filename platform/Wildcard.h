#pragma once

#include <string_view>
#include <vector>

namespace quorvane::platform {

// A file-name pattern with the semantics users know from Windows: "*" matches any run of
// characters, "?" exactly one character (not one byte), letter case is ignored, and a pattern
// ending in ".*" also matches names without a period, so "*.*" matches every name. Every other
// character, brackets included, stands for itself.
class WildcardPattern
{
public:
    explicit WildcardPattern(std::string_view pattern);

    bool matches(std::string_view name) const;

private:
    std::vector<char32_t> pattern_;
    std::vector<char32_t> withoutTrailingDotStar_; // used only when the pattern ends in ".*"
    bool endsWithDotStar_ = false;
    bool matchesEverything_ = false; // "*", "*.*" and the like, the usual case
};

} // namespace quorvane::platform
