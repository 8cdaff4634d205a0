#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace quorvane::imaging {

// A plain picture in memory: rows from top to bottom without padding. At 24 bits per pixel each
// pixel is red, green and blue; at 8 bits per pixel each pixel is a grey level, its own index into
// a grey palette (0 black to 255 white).
struct Bitmap
{
    int width = 0;
    int height = 0;
    int bitsPerPixel = 24;
    std::vector<std::uint8_t> pixels;

    std::size_t bytesPerPixel() const { return bitsPerPixel == 8 ? 1 : 3; }
    std::size_t rowBytes() const { return static_cast<std::size_t>(width) * bytesPerPixel(); }
    const std::uint8_t* row(int y) const { return pixels.data() + static_cast<std::size_t>(y) * rowBytes(); }
    std::uint8_t* row(int y) { return pixels.data() + static_cast<std::size_t>(y) * rowBytes(); }

    friend bool operator==(const Bitmap&, const Bitmap&) = default;
};

// The largest picture the codecs accept, in pixels: a header claiming more is an invalid image,
// so that a small hostile file cannot make the program allocate gigabytes.
inline constexpr std::uint64_t maxPixels = std::uint64_t{1} << 28;

} // namespace quorvane::imaging
