// Writes a small seed corpus for the fuzz targets: every bitmap variant the reader knows and a few
// JPEG streams, so that fuzzing starts from valid files instead of guessing their headers.
#include "../BmpSamples.h"
#include "imaging/Bmp.h"
#include "imaging/Jpeg.h"

#include <cstdio>
#include <fstream>
#include <string>

namespace {

void save(const std::string& folder, int number, const std::string& bytes)
{
    std::ofstream(folder + "/seed" + std::to_string(number), std::ios::binary) << bytes;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: fuzz_corpus bmp|jpeg folder\n");
        return 2;
    }
    using quorvane::testing::bmpFile;
    const std::string kind = argv[1];
    const std::string folder = argv[2];
    const std::string pixels(64, '\x35');
    const std::vector<std::uint32_t> palette = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
    quorvane::imaging::Bitmap picture{13, 11, 24, {}};
    for (int i = 0; i < 13 * 11 * 3; ++i) {
        picture.pixels.push_back(static_cast<std::uint8_t>(i * 7));
    }
    int number = 0;
    if (kind == "bmp") {
        save(folder, number++, bmpFile({40, 3, 2, 1, 0, {0, 0xFFFFFF}, {}, pixels}));
        save(folder, number++, bmpFile({40, 3, 2, 4, 0, palette, {}, pixels}));
        save(folder, number++, bmpFile({40, 3, 2, 8, 0, palette, {}, pixels}));
        save(folder, number++,
             bmpFile({40, 3, 2, 8, 1, palette, {}, std::string("\0\3\3\2\1\0\0\0\2\1\0\2\1\1\0\1", 16)}));
        save(folder, number++,
             bmpFile({40, 3, 2, 4, 2, palette, {}, std::string("\0\3\x32\x10\0\0\3\x12\0\1", 10)}));
        save(folder, number++, bmpFile({40, 3, 2, 16, 3, {}, {0xF800, 0x07E0, 0x001F}, pixels}));
        save(folder, number++, bmpFile({124, 3, -2, 32, 3, {}, {0xFF0000, 0xFF00, 0xFF}, pixels}));
        save(folder, number++, bmpFile({12, 3, 2, 8, 0, palette, {}, pixels}));
        save(folder, number++, quorvane::imaging::writeBmp(picture));
    } else {
        save(folder, number++, quorvane::imaging::encodeJpeg(picture, {75, false, false}).value());
        save(folder, number++, quorvane::imaging::encodeJpeg(picture, {20, true, false}).value());
        save(folder, number++, quorvane::imaging::encodeJpeg(picture, {90, false, true}).value());
    }
    return 0;
}
