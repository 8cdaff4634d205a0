// Feeds arbitrary bytes to the JPEG decode path, and what decodes back through the encoder.
#include "imaging/Jpeg.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto bitmap =
        quorvane::imaging::decodeJpeg(std::string_view(reinterpret_cast<const char*>(data), size), 1u << 20);
    if (bitmap) {
        if (bitmap->pixels.size() != bitmap->rowBytes() * static_cast<std::size_t>(bitmap->height)) {
            __builtin_trap();
        }
        quorvane::imaging::encodeJpeg(*bitmap,
                                      {static_cast<int>(size % 100) + 1, size % 2 == 0, size % 3 == 0});
    }
    return 0;
}
