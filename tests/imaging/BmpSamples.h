#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace quorvane::testing {

// Hand-made Windows bitmap files of the variants other programs write, for the tests and the
// fuzz seeds.
struct BmpLayout
{
    std::uint32_t headerSize = 40;
    std::int32_t width = 1;
    std::int32_t height = 1;
    std::uint16_t bitsPerPixel = 24;
    std::uint32_t compression = 0;
    std::vector<std::uint32_t> palette; // 0x00RRGGBB
    std::vector<std::uint32_t> masks;   // written after a 40-byte header, or inside a longer one
    std::string pixels;                 // exactly as stored
    std::uint32_t colourCount = 0;
};

inline void putLe(std::string& out, std::uint64_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    }
}

inline std::string bmpFile(const BmpLayout& layout)
{
    std::string info;
    putLe(info, layout.headerSize, 4);
    if (layout.headerSize == 12) {
        putLe(info, static_cast<std::uint16_t>(layout.width), 2);
        putLe(info, static_cast<std::uint16_t>(layout.height), 2);
        putLe(info, 1, 2);
        putLe(info, layout.bitsPerPixel, 2);
    } else {
        putLe(info, static_cast<std::uint32_t>(layout.width), 4);
        putLe(info, static_cast<std::uint32_t>(layout.height), 4);
        putLe(info, 1, 2);
        putLe(info, layout.bitsPerPixel, 2);
        putLe(info, layout.compression, 4);
        putLe(info, layout.pixels.size(), 4);
        putLe(info, 2835, 4);
        putLe(info, 2835, 4);
        putLe(info, layout.colourCount, 4);
        putLe(info, 0, 4);
        for (std::uint32_t mask : layout.masks) {
            putLe(info, mask, 4);
        }
        info.resize(std::max<std::size_t>(info.size(), layout.headerSize), '\0');
        if (layout.headerSize > 40 && layout.masks.size() * 4 + 40 > layout.headerSize) {
            info.resize(layout.headerSize);
        }
    }
    for (std::uint32_t colour : layout.palette) {
        putLe(info, colour, layout.headerSize == 12 ? 3 : 4);
    }
    std::string file = "BM";
    putLe(file, 14 + info.size() + layout.pixels.size(), 4);
    putLe(file, 0, 4);
    putLe(file, 14 + info.size(), 4);
    return file + info + layout.pixels;
}

} // namespace quorvane::testing
