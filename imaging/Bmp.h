#pragma once

#include "Bitmap.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quorvane::imaging {

// Reads a Windows bitmap file: 1, 4, 8, 16, 24 and 32 bits per pixel, uncompressed, RLE4, RLE8
// and BITFIELDS, bottom-up or top-down, with the 12-byte core header or any of the longer
// information headers. The result has 24 bits per pixel. Every header field is checked against
// the file's length and the pixel limit; a file that is not a valid bitmap gives nothing.
std::optional<Bitmap> readBmp(std::string_view bytes, std::uint64_t pixelLimit = maxPixels);

// The pixels of a 24-bit bitmap file read in place: blue, green and red bytes, the row y (counted
// from the top) starting at top + y * step, step being negative for rows stored bottom-up.
struct BgrRows
{
    int width = 0;
    int height = 0;
    const std::uint8_t* top = nullptr;
    std::ptrdiff_t step = 0;

    const std::uint8_t* row(int y) const { return top + static_cast<std::ptrdiff_t>(y) * step; }
};

// The rows of an uncompressed 24-bit bitmap file, without copying them: what readBmp would give,
// with red and blue swapped. Nothing for a file readBmp rejects and for every other kind of bitmap.
std::optional<BgrRows> uncompressedBgrRows(std::string_view bytes, std::uint64_t pixelLimit = maxPixels);

// Makes file an uncompressed bitmap file of this size and depth (24, or 8 with the grey palette)
// as writeBmp lays it out: the headers, the palette and the rows' zero padding are written, the
// pixels are left for the caller to fill, the row y (counted from the top) at bmpRowOffset. Reuses
// the memory file already holds without clearing it first.
void blankBmpFile(int width, int height, int bitsPerPixel, std::string& file);
std::size_t bmpRowOffset(int width, int height, int bitsPerPixel, int y);

// An uncompressed bitmap file: the 14-byte file header "BM", the 40-byte information header, a
// grey palette of 256 entries for 8 bits per pixel, then the rows bottom-up, each padded to 4 bytes.
std::string writeBmp(const Bitmap& bitmap);

} // namespace quorvane::imaging
