#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace quorvane::testing {

// The names of the killed run: 11,000 possible names of which 10,000 are taken, and a rename of
// every file that makes 1,500 two-file cycles, 1,000 three-file cycles and 1,000 chains of four
// files ending in a free name. Every tenth name holds a byte that is not UTF-8.
constexpr int crashNameCount = 11000;
constexpr int crashFileCount = 10000;

inline std::string crashName(int index)
{
    char text[16];
    std::snprintf(text, sizeof text, "f%05d", index);
    return std::string(text) + (index % 10 == 0 ? "\xff.jpg" : ".jpg");
}

inline int crashIndex(std::string_view name)
{
    return std::stoi(std::string(name.substr(1, 5)));
}

inline int crashNext(int index)
{
    if (index < 3000) {
        return index ^ 1;
    }
    if (index < 6000) {
        const int base = 3000 + (index - 3000) / 3 * 3;
        return base + (index - base + 1) % 3;
    }
    return 6000 + (index - 6000 + 1000) % 5000;
}

} // namespace quorvane::testing
