#pragma once

#include "Bitmap.h"
#include "Bmp.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quorvane::imaging {

struct JpegSettings
{
    int quality = 100; // 1 to 100
    bool greyscale = false;
    bool progressive = false;
};

// Compresses the bitmap with libjpeg: 24-bit RGB input whatever the bitmap's depth, libjpeg's
// defaults, the floating-point DCT, the quality with baseline forcing, then the greyscale colour
// space and simple progression as chosen. Gives nothing only when libjpeg refuses the bitmap.
std::optional<std::string> encodeJpeg(const Bitmap& bitmap, const JpegSettings& settings);

// Makes jpeg the same stream as encodeJpeg gives for the picture that readBmp reads from these
// rows, taken straight from the bitmap file's memory, and reuses the memory jpeg already holds.
// False, with jpeg unspecified, only when libjpeg refuses the rows.
bool encodeJpeg(const BgrRows& rows, const JpegSettings& settings, std::string& jpeg);

// Decompresses a JPEG at full size with block smoothing and the floating-point inverse DCT: a
// colour picture gives 24 bits per pixel, a greyscale one 8. CMYK pictures are turned into RGB.
// Anything libjpeg rejects, and a picture over the pixel limit, is an invalid image: nothing.
// libjpeg's warnings (a stream cut short, for example) are not errors.
std::optional<Bitmap> decodeJpeg(std::string_view bytes, std::uint64_t pixelLimit = maxPixels);

// Decodes as decodeJpeg does and makes bmpFile exactly what writeBmp makes of that picture, the
// rows decoded straight into the file's memory (which bmpFile's earlier content lends). False,
// with bmpFile unspecified, for an invalid image.
bool decodeJpegToBmp(std::string_view bytes, std::string& bmpFile, std::uint64_t pixelLimit = maxPixels);

} // namespace quorvane::imaging
