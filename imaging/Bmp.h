#pragma once

#include "Bitmap.h"

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

// An uncompressed bitmap file: the 14-byte file header "BM", the 40-byte information header, a
// grey palette of 256 entries for 8 bits per pixel, then the rows bottom-up, each padded to 4 bytes.
std::string writeBmp(const Bitmap& bitmap);

} // namespace quorvane::imaging
