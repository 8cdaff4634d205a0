#include "imaging/Bmp.h"

#include "BmpSamples.h"
#include "ImageSamples.h"
#include "support/CaseName.h"

#include <gtest/gtest.h>
#include <random>

namespace quorvane::imaging {
namespace {

using testing::bmpFile;
using testing::BmpLayout;
using testing::rgbBitmap;

constexpr std::uint32_t black = 0x000000, white = 0xFFFFFF, red = 0xFF0000, green = 0x00FF00, blue = 0x0000FF;

std::string le16(std::initializer_list<std::uint16_t> values)
{
    std::string out;
    for (auto v : values) {
        testing::putLe(out, v, 2);
    }
    return out;
}

std::string le32(std::initializer_list<std::uint32_t> values)
{
    std::string out;
    for (auto v : values) {
        testing::putLe(out, v, 4);
    }
    return out;
}

// Colours as stored in 24-bit rows: blue, green, red.
std::string bgr(std::initializer_list<std::uint32_t> colours)
{
    std::string out;
    for (auto c : colours) {
        out += {static_cast<char>(c & 0xFF), static_cast<char>((c >> 8) & 0xFF), static_cast<char>(c >> 16)};
    }
    return out;
}

std::string bytes(std::initializer_list<int> values)
{
    std::string out;
    for (int v : values) {
        out.push_back(static_cast<char>(v));
    }
    return out;
}

const std::vector<std::uint32_t> fourColours = {black, red, green, blue};

struct VariantCase
{
    const char* says;
    BmpLayout layout;
    Bitmap expected;
};

// Every variant holds the same kind of 3 by 2 picture so that row order and padding both show.
const VariantCase variantCases[] = {
    {"a 1-bit file reads through its two-colour palette",
     {40, 3, 2, 1, 0, {black, white}, {}, bytes({0x40, 0, 0, 0, 0xA0, 0, 0, 0})},
     rgbBitmap(3, 2, {white, black, white, black, white, black})},
    {"a 4-bit file reads through its palette",
     {40, 3, 2, 4, 0, fourColours, {}, bytes({0x32, 0x10, 0, 0, 0x12, 0x30, 0, 0})},
     rgbBitmap(3, 2, {red, green, blue, blue, green, red})},
    {"an 8-bit file reads through its palette",
     {40, 3, 2, 8, 0, fourColours, {}, bytes({3, 2, 1, 0, 1, 2, 3, 0})},
     rgbBitmap(3, 2, {red, green, blue, blue, green, red})},
    {"an RLE8 file reads its absolute and encoded runs",
     {40, 3, 2, 8, 1, fourColours, {}, bytes({0, 3, 3, 2, 1, 0, 0, 0, 2, 1, 1, 3, 0, 0, 0, 1})},
     rgbBitmap(3, 2, {red, red, blue, blue, green, red})},
    {"an RLE4 file reads its absolute and encoded runs",
     {40, 3, 2, 4, 2, fourColours, {}, bytes({0, 3, 0x32, 0x10, 0, 0, 3, 0x12, 0, 0, 0, 1})},
     rgbBitmap(3, 2, {red, green, red, blue, green, red})},
    {"a 16-bit file without masks reads as 5-5-5",
     {40, 3, 2, 16, 0, {}, {}, le16({0x001F, 0x03E0, 0x7C00, 0}) + le16({0x7C00, 0x03E0, 0x001F, 0})},
     rgbBitmap(3, 2, {red, green, blue, blue, green, red})},
    {"a 16-bit BITFIELDS file reads through its 5-6-5 masks",
     {40,
      3,
      2,
      16,
      3,
      {},
      {0xF800, 0x07E0, 0x001F},
      le16({0x001F, 0x07E0, 0xF800, 0}) + le16({0xF800, 0x07E0, 0x001F, 0})},
     rgbBitmap(3, 2, {red, green, blue, blue, green, red})},
    {"a 32-bit BITFIELDS file reads through masks in any order",
     {40,
      3,
      2,
      32,
      3,
      {},
      {0x000000FF, 0x0000FF00, 0x00FF0000},
      le32({0xFF0000, 0xFF00, 0xFF, 0xFF, 0xFF00, 0xFF0000})},
     rgbBitmap(3, 2, {red, green, blue, blue, green, red})},
    {"a 32-bit file without masks reads blue green red and a spare byte",
     {40, 3, 2, 32, 0, {}, {}, le32({0xFF, 0xFF00, 0xFF0000, 0xFF0000, 0xFF00, 0xFF})},
     rgbBitmap(3, 2, {red, green, blue, blue, green, red})},
    {"a 24-bit file pads its odd rows to four bytes",
     {40,
      3,
      2,
      24,
      0,
      {},
      {},
      bgr({blue, green, red}) + bytes({0, 0, 0}) + bgr({red, green, blue}) + bytes({0, 0, 0})},
     rgbBitmap(3, 2, {red, green, blue, blue, green, red})},
    {"a top-down 24-bit file keeps its first row on top",
     {40,
      3,
      -2,
      24,
      0,
      {},
      {},
      bgr({red, green, blue}) + bytes({0, 0, 0}) + bgr({blue, green, red}) + bytes({0, 0, 0})},
     rgbBitmap(3, 2, {red, green, blue, blue, green, red})},
    {"an old core header file with three-byte palette entries reads",
     {12, 3, 2, 8, 0, fourColours, {}, bytes({3, 2, 1, 0, 1, 2, 3, 0})},
     rgbBitmap(3, 2, {red, green, blue, blue, green, red})},
    {"an old core header 24-bit file reads",
     {12, 1, 2, 24, 0, {}, {}, bgr({blue}) + bytes({0}) + bgr({red}) + bytes({0})},
     rgbBitmap(1, 2, {red, blue})},
    {"a version 5 header carries its masks inside",
     {124, 2, 1, 32, 3, {}, {0x00FF0000, 0x0000FF00, 0x000000FF}, le32({0xFF0000, 0xFF})},
     rgbBitmap(2, 1, {red, blue})},
    {"a version 4 header 24-bit file reads",
     {108, 1, 1, 24, 0, {}, {}, bgr({green}) + bytes({0})},
     rgbBitmap(1, 1, {green})},
    {"a palette index past the palette reads as black",
     {40, 2, 1, 8, 0, {white, white}, {}, bytes({200, 1, 0, 0})},
     rgbBitmap(2, 1, {black, white})},
    {"an RLE8 run past the row end is cut at the row end",
     {40, 3, 1, 8, 1, fourColours, {}, bytes({0x10, 1, 0, 1})},
     rgbBitmap(3, 1, {red, red, red})},
    {"an RLE8 move past the picture ends the picture",
     {40, 2, 1, 8, 1, fourColours, {}, bytes({1, 2, 0, 2, 0xFF, 0xFF, 2, 3, 0, 1})},
     rgbBitmap(2, 1, {green, black})},
    {"RLE4 data cut short keeps the pixels decoded",
     {40, 3, 1, 4, 2, fourColours, {}, bytes({2, 0x33, 0, 5, 0x12})},
     rgbBitmap(3, 1, {blue, blue, black})},
};

class BmpVariant : public ::testing::TestWithParam<VariantCase>
{};

TEST_P(BmpVariant, ReadsAsExpected)
{
    const std::optional<Bitmap> bitmap = readBmp(bmpFile(GetParam().layout));
    ASSERT_TRUE(bitmap.has_value());
    EXPECT_EQ(*bitmap, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Variants, BmpVariant, ::testing::ValuesIn(variantCases), testing::SaysName());

std::string withU32At(std::string file, std::size_t offset, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i) {
        file[offset + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    }
    return file;
}

const std::string validFile = bmpFile({40, 3, 2, 8, 0, fourColours, {}, bytes({3, 2, 1, 0, 1, 2, 3, 0})});

struct InvalidCase
{
    const char* says;
    std::string file;
};

const InvalidCase invalidCases[] = {
    {"an empty file", ""},
    {"a file not starting with BM", "BX" + validFile.substr(2)},
    {"a header cut short", validFile.substr(0, 30)},
    {"pixel rows past the file's end", validFile.substr(0, validFile.size() - 2)},
    {"a zero width", bmpFile({40, 0, 2, 24, 0, {}, {}, std::string(16, '\0')})},
    {"a negative width", bmpFile({40, -3, 2, 24, 0, {}, {}, std::string(16, '\0')})},
    {"a zero height", bmpFile({40, 3, 0, 24, 0, {}, {}, std::string(16, '\0')})},
    {"the most negative height", bmpFile({40, 3, INT32_MIN, 24, 0, {}, {}, std::string(16, '\0')})},
    {"a bit count that does not exist", bmpFile({40, 3, 2, 7, 0, {}, {}, std::string(16, '\0')})},
    {"a compression that does not exist", bmpFile({40, 3, 2, 24, 9, {}, {}, std::string(16, '\0')})},
    {"a JPEG inside a bitmap", bmpFile({40, 3, 2, 24, 4, {}, {}, std::string(16, '\0')})},
    {"run-length coding at 24 bits", bmpFile({40, 3, 2, 24, 1, {}, {}, bytes({0, 1})})},
    {"top-down run-length data", bmpFile({40, 3, -2, 8, 1, fourColours, {}, bytes({0, 1})})},
    {"a size far beyond the pixel limit",
     bmpFile({40, 100000, 100000, 8, 1, fourColours, {}, bytes({0, 1})})},
    {"a huge size the file does not hold", bmpFile({40, 20000, 10000, 24, 0, {}, {}, std::string(64, '\0')})},
    {"a mask with gaps", bmpFile({40, 1, 1, 32, 3, {}, {0xF00F, 0xFF00, 0xFF}, le32({0})})},
    {"a header size that does not exist", withU32At(validFile, 14, 20)},
    {"a pixel offset past the file's end", withU32At(validFile, 10, 100000)},
    {"a header size past the file's end", withU32At(validFile, 14, 124)},
};

class InvalidBmp : public ::testing::TestWithParam<InvalidCase>
{};

TEST_P(InvalidBmp, IsNoImage)
{
    EXPECT_FALSE(readBmp(GetParam().file).has_value());
}

INSTANTIATE_TEST_SUITE_P(Hostile, InvalidBmp, ::testing::ValuesIn(invalidCases), testing::SaysName());

TEST(BmpWriting, WritesTheFileHeaderInformationHeaderAndPaddedBottomUpRows)
{
    const std::string file = writeBmp(rgbBitmap(3, 2, {red, green, blue, white, black, white}));
    ASSERT_EQ(file.size(), 14u + 40u + 2u * 12u);
    EXPECT_EQ(file.substr(0, 2), "BM");
    EXPECT_EQ(file.substr(2, 4), le32({78}));
    EXPECT_EQ(file.substr(10, 8), le32({54, 40}));
    EXPECT_EQ(file.substr(18, 8), le32({3, 2}));
    EXPECT_EQ(file.substr(26, 8), le16({1, 24}) + le32({0}));
    EXPECT_EQ(file.substr(54),
              bgr({white, black, white}) + bytes({0, 0, 0}) + bgr({red, green, blue}) + bytes({0, 0, 0}));
}

TEST(BmpWriting, WritesEightBitsWithAGreyPalette)
{
    const Bitmap grey{2, 1, 8, {0x10, 0xF0}};
    const std::string file = writeBmp(grey);
    ASSERT_EQ(file.size(), 14u + 40u + 1024u + 4u);
    EXPECT_EQ(file.substr(10, 4), le32({14 + 40 + 1024}));
    EXPECT_EQ(file.substr(28, 2), le16({8}));
    for (std::uint32_t level : {0u, 1u, 128u, 255u}) {
        EXPECT_EQ(file.substr(54 + 4 * level, 4), le32({level * 0x010101u}));
    }
    EXPECT_EQ(file.substr(54 + 1024), bytes({0x10, 0xF0, 0, 0}));
    EXPECT_EQ(readBmp(file), rgbBitmap(2, 1, {0x101010, 0xF0F0F0}));
}

// Property: every picture written reads back unchanged, whatever its width's padding.
TEST(BmpWriting, EveryWidthAndHeightReadsBackExactly)
{
    std::mt19937 random(5);
    for (int width = 1; width <= 9; ++width) {
        for (int height = 1; height <= 3; ++height) {
            Bitmap bitmap{width, height, 24, {}};
            for (int i = 0; i < width * height * 3; ++i) {
                bitmap.pixels.push_back(static_cast<std::uint8_t>(random()));
            }
            EXPECT_EQ(readBmp(writeBmp(bitmap)), bitmap) << width << "x" << height;
        }
    }
}

// The bit count and compression a file's header gives, for telling which files are read in place.
std::pair<int, std::uint32_t> depthOf(const std::string& file)
{
    if (file.size() < 34) {
        return {0, 0};
    }
    const auto byte = [&](std::size_t at) {
        return static_cast<std::uint32_t>(static_cast<unsigned char>(file[at]));
    };
    if (byte(14) == 12) {
        return {static_cast<int>(byte(24) | byte(25) << 8), 0};
    }
    return {static_cast<int>(byte(28) | byte(29) << 8),
            byte(30) | byte(31) << 8 | byte(32) << 16 | byte(33) << 24};
}

// Property: the rows of an uncompressed 24-bit file read in place are what readBmp reads, red and
// blue swapped; every other variant, and every file readBmp rejects, gives no rows.
TEST(BmpInPlaceRows, AreWhatReadBmpReadsForExactlyTheUncompressed24BitFiles)
{
    std::vector<std::string> files;
    for (const VariantCase& c : variantCases) {
        files.push_back(bmpFile(c.layout));
    }
    for (const InvalidCase& c : invalidCases) {
        files.push_back(c.file);
    }
    // Rows of 7 pixels carry 3 bytes of padding, which the last row may lack, but not more.
    const std::string written = writeBmp(testing::gradient(7, 5));
    files.push_back(written);
    files.push_back(written.substr(0, written.size() - 3));
    files.push_back(written.substr(0, written.size() - 4));
    int inPlace = 0;
    for (const std::string& file : files) {
        const std::optional<Bitmap> bitmap = readBmp(file);
        const std::optional<BgrRows> rows = uncompressedBgrRows(file);
        ASSERT_EQ(rows.has_value(), bitmap.has_value() && depthOf(file) == std::make_pair(24, 0u))
            << "file " << &file - files.data();
        if (!rows) {
            continue;
        }
        ++inPlace;
        ASSERT_EQ(rows->width, bitmap->width);
        ASSERT_EQ(rows->height, bitmap->height);
        for (int y = 0; y < bitmap->height; ++y) {
            for (int x = 0; x < bitmap->width; ++x) {
                for (int channel = 0; channel < 3; ++channel) {
                    EXPECT_EQ(rows->row(y)[3 * x + 2 - channel], bitmap->row(y)[3 * x + channel]);
                }
            }
        }
    }
    EXPECT_EQ(inPlace, 6);
}

} // namespace
} // namespace quorvane::imaging
