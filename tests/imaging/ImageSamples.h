#pragma once

#include "imaging/Bitmap.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <initializer_list>
#include <string>

namespace quorvane::testing {

// A 24-bit bitmap from 0xRRGGBB colours, top row first.
inline imaging::Bitmap rgbBitmap(int width, int height, std::initializer_list<std::uint32_t> colours)
{
    imaging::Bitmap bitmap{width, height, 24, {}};
    for (std::uint32_t colour : colours) {
        bitmap.pixels.push_back(static_cast<std::uint8_t>(colour >> 16));
        bitmap.pixels.push_back(static_cast<std::uint8_t>(colour >> 8));
        bitmap.pixels.push_back(static_cast<std::uint8_t>(colour));
    }
    return bitmap;
}

// A smooth colour picture, the kind JPEG keeps well, with every pixel different from its neighbours.
inline imaging::Bitmap gradient(int width, int height)
{
    imaging::Bitmap bitmap{width, height, 24, {}};
    bitmap.pixels.reserve(static_cast<std::size_t>(width) * height * 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            bitmap.pixels.push_back(static_cast<std::uint8_t>(x * 255 / std::max(width - 1, 1)));
            bitmap.pixels.push_back(static_cast<std::uint8_t>(y * 255 / std::max(height - 1, 1)));
            bitmap.pixels.push_back(static_cast<std::uint8_t>(128 + (x - y) / 4));
        }
    }
    return bitmap;
}

// The mean absolute difference of two pictures of the same size and depth.
inline double meanDifference(const imaging::Bitmap& a, const imaging::Bitmap& b)
{
    double sum = 0;
    for (std::size_t i = 0; i < a.pixels.size(); ++i) {
        sum += std::abs(static_cast<int>(a.pixels[i]) - static_cast<int>(b.pixels[i]));
    }
    return a.pixels.empty() ? 0 : sum / static_cast<double>(a.pixels.size());
}

} // namespace quorvane::testing
