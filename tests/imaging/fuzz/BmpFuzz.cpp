// Feeds arbitrary bytes to the BMP reader; the sanitizers report any read outside the input.
#include "imaging/Bmp.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // A lower pixel limit keeps each input fast; the checks are the same at any limit.
    const auto bitmap =
        quorvane::imaging::readBmp(std::string_view(reinterpret_cast<const char*>(data), size), 1u << 22);
    if (bitmap && bitmap->pixels.size() != bitmap->rowBytes() * static_cast<std::size_t>(bitmap->height)) {
        __builtin_trap();
    }
    return 0;
}
