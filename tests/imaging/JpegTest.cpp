#include "imaging/Jpeg.h"

#include "BmpSamples.h"
#include "ImageSamples.h"
#include "support/CaseName.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <jpeglib.h>
#include <random>
#include <vector>

namespace quorvane::imaging {
namespace {

using testing::gradient;
using testing::meanDifference;

// What libjpeg itself reads from a stream's headers.
struct StreamFacts
{
    int components = 0;
    bool progressive = false;
    std::vector<unsigned> quantisationValues;
};

StreamFacts factsOf(const std::string& jpeg)
{
    jpeg_decompress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(jpeg.data()), jpeg.size());
    jpeg_read_header(&info, TRUE);
    StreamFacts facts{info.num_components, info.progressive_mode != 0, {}};
    for (JQUANT_TBL* table : info.quant_tbl_ptrs) {
        for (int k = 0; table != nullptr && k < DCTSIZE2; ++k) {
            facts.quantisationValues.push_back(table->quantval[k]);
        }
    }
    jpeg_destroy_decompress(&info);
    return facts;
}

// The code of the first start-of-frame marker: 0xC0 baseline, 0xC2 progressive.
int frameMarker(const std::string& jpeg)
{
    std::size_t at = 2;
    while (at + 4 <= jpeg.size() && static_cast<unsigned char>(jpeg[at]) == 0xFF) {
        const int code = static_cast<unsigned char>(jpeg[at + 1]);
        if (code >= 0xC0 && code <= 0xC3) {
            return code;
        }
        at += 2 + (static_cast<unsigned char>(jpeg[at + 2]) << 8 | static_cast<unsigned char>(jpeg[at + 3]));
    }
    return -1;
}

TEST(JpegEncoding, QualityOneWritesABaselineStreamWithEveryQuantisationValueAtMost255)
{
    const std::optional<std::string> jpeg = encodeJpeg(gradient(40, 30), {1, false, false});
    ASSERT_TRUE(jpeg.has_value());
    EXPECT_EQ(frameMarker(*jpeg), 0xC0);
    const StreamFacts facts = factsOf(*jpeg);
    ASSERT_FALSE(facts.quantisationValues.empty());
    for (unsigned value : facts.quantisationValues) {
        EXPECT_GE(value, 1u);
        EXPECT_LE(value, 255u);
    }
    EXPECT_EQ(*std::max_element(facts.quantisationValues.begin(), facts.quantisationValues.end()), 255u);
}

struct EncodingCase
{
    const char* says;
    JpegSettings settings;
    int components;
    int frameMarker;
    int decodedBits;
};

const EncodingCase encodingCases[] = {
    {"the default writes a sequential colour stream", {75, false, false}, 3, 0xC0, 24},
    {"greyscale writes one component", {75, true, false}, 1, 0xC0, 8},
    {"progressive writes a progressive frame", {75, false, true}, 3, 0xC2, 24},
    {"greyscale and progressive combine", {75, true, true}, 1, 0xC2, 8},
};

class JpegEncodingCase : public ::testing::TestWithParam<EncodingCase>
{};

TEST_P(JpegEncodingCase, WritesTheChosenStream)
{
    const EncodingCase& c = GetParam();
    const std::optional<std::string> jpeg = encodeJpeg(gradient(33, 17), c.settings);
    ASSERT_TRUE(jpeg.has_value());
    EXPECT_EQ(factsOf(*jpeg).components, c.components);
    EXPECT_EQ(factsOf(*jpeg).progressive, c.frameMarker == 0xC2);
    EXPECT_EQ(frameMarker(*jpeg), c.frameMarker);
    const std::optional<Bitmap> decoded = decodeJpeg(*jpeg);
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(decoded->width, 33);
    EXPECT_EQ(decoded->height, 17);
    EXPECT_EQ(decoded->bitsPerPixel, c.decodedBits);
}

INSTANTIATE_TEST_SUITE_P(Settings, JpegEncodingCase, ::testing::ValuesIn(encodingCases), testing::SaysName());

TEST(JpegEncoding, AHighQualityRoundTripStaysCloseToTheOriginal)
{
    const Bitmap original = gradient(61, 45);
    const std::optional<Bitmap> decoded = decodeJpeg(encodeJpeg(original, {100, false, false}).value());
    ASSERT_TRUE(decoded.has_value());
    ASSERT_EQ(decoded->pixels.size(), original.pixels.size());
    EXPECT_LT(meanDifference(*decoded, original), 2.0);
}

TEST(JpegEncoding, AGreyBitmapIsEncodedAsRgbInput)
{
    const Bitmap grey{2, 2, 8, {0, 255, 255, 0}};
    const std::optional<Bitmap> decoded = decodeJpeg(encodeJpeg(grey, {100, false, false}).value());
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(decoded->bitsPerPixel, 24);
    EXPECT_LT(decoded->pixels[0], 60);
    EXPECT_GT(decoded->pixels[3], 195);
}

// A picture with noise on a gradient, so that every block has detail for the coder.
Bitmap noisy(int width, int height, int bitsPerPixel = 24)
{
    Bitmap bitmap = gradient(width, height);
    std::mt19937 random(static_cast<unsigned>(width * 131 + height));
    for (std::uint8_t& value : bitmap.pixels) {
        value = static_cast<std::uint8_t>(value + random() % 24);
    }
    if (bitsPerPixel == 8) {
        for (std::size_t i = 0; i < bitmap.pixels.size() / 3; ++i) {
            bitmap.pixels[i] = bitmap.pixels[3 * i + 1];
        }
        bitmap.pixels.resize(bitmap.pixels.size() / 3);
        bitmap.bitsPerPixel = 8;
    }
    return bitmap;
}

// The same picture as a top-down bitmap file, which writeBmp never writes.
std::string topDownBmp(const Bitmap& picture)
{
    std::string rows;
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            const std::uint8_t* pixel = picture.row(y) + 3 * x;
            rows += {static_cast<char>(pixel[2]), static_cast<char>(pixel[1]), static_cast<char>(pixel[0])};
        }
        rows.append((4 - picture.width * 3 % 4) % 4, '\0');
    }
    return testing::bmpFile({40, picture.width, -picture.height, 24, 0, {}, {}, rows});
}

const JpegSettings everySetting[] = {
    {1, false, false}, {75, false, false}, {100, false, false},
    {75, true, false}, {75, false, true},  {90, true, true},
};

// Property: compressing a bitmap file's rows in place gives byte for byte the stream of compressing
// the picture readBmp reads from it, whatever the settings, size and row order, also into a string
// that held other bytes.
TEST(JpegEncoding, RowsReadInPlaceGiveTheStreamOfThePictureRead)
{
    for (const auto& [width, height] : {std::pair{33, 17}, {1, 1}, {250, 3}, {16, 40}}) {
        const Bitmap picture = noisy(width, height);
        for (const std::string& file : {writeBmp(picture), topDownBmp(picture)}) {
            const std::optional<BgrRows> rows = uncompressedBgrRows(file);
            ASSERT_TRUE(rows.has_value());
            for (const JpegSettings& settings : everySetting) {
                const std::string expected = encodeJpeg(picture, settings).value();
                std::string inPlace;
                ASSERT_TRUE(encodeJpeg(*rows, settings, inPlace));
                EXPECT_TRUE(inPlace == expected) << width << "x" << height << " quality " << settings.quality;
                std::string reused(expected.size() * 3, '\xA5');
                ASSERT_TRUE(encodeJpeg(*rows, settings, reused));
                EXPECT_TRUE(reused == expected) << "in a reused string";
            }
        }
    }
}

std::string cmykJpeg(const unsigned char ink[4])
{
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = 8;
    info.image_height = 8;
    info.input_components = 4;
    info.in_color_space = JCS_CMYK;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 100, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<unsigned char> row(8 * 4);
    for (int x = 0; x < 8; ++x) {
        std::copy(ink, ink + 4, row.begin() + 4 * x);
    }
    while (info.next_scanline < info.image_height) {
        JSAMPROW pointer = row.data();
        jpeg_write_scanlines(&info, &pointer, 1);
    }
    jpeg_finish_compress(&info);
    std::string jpeg(reinterpret_cast<char*>(buffer), size);
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return jpeg;
}

TEST(JpegDecoding, ACmykPictureIsTurnedIntoRgb)
{
    // libjpeg marks CMYK files as Adobe's, whose inks are stored inverted: 0 is full cyan.
    const unsigned char cyan[4] = {0, 255, 255, 255};
    const std::optional<Bitmap> decoded = decodeJpeg(cmykJpeg(cyan));
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(decoded->bitsPerPixel, 24);
    EXPECT_LT(decoded->pixels[0], 10);
    EXPECT_GT(decoded->pixels[1], 245);
    EXPECT_GT(decoded->pixels[2], 245);
}

TEST(JpegDecoding, AStreamCutShortStillDecodesBecauseThatIsOnlyAWarning)
{
    const std::string jpeg = encodeJpeg(gradient(64, 64), {90, false, false}).value();
    const std::optional<Bitmap> decoded = decodeJpeg(jpeg.substr(0, jpeg.size() * 2 / 3));
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(decoded->width, 64);
}

TEST(JpegDecoding, APictureOverThePixelLimitIsNoImage)
{
    const std::string jpeg = encodeJpeg(gradient(64, 64), {90, false, false}).value();
    EXPECT_FALSE(decodeJpeg(jpeg, 64 * 63).has_value());
    EXPECT_TRUE(decodeJpeg(jpeg, 64 * 64).has_value());
}

// Property: decoding straight into a bitmap file gives byte for byte the file writeBmp makes of
// the decoded picture, for every kind of stream and size, also in a string that held other bytes.
TEST(JpegDecoding, DecodingIntoABitmapFileGivesTheFileOfTheDecodedPicture)
{
    std::vector<std::string> streams;
    for (const auto& [width, height] : {std::pair{33, 17}, {1, 1}, {250, 3}, {16, 40}}) {
        for (const JpegSettings& settings : everySetting) {
            streams.push_back(encodeJpeg(noisy(width, height), settings).value());
        }
        streams.push_back(encodeJpeg(noisy(width, height, 8), {80, false, false}).value());
    }
    const unsigned char cyan[4] = {0, 255, 255, 255};
    streams.push_back(cmykJpeg(cyan));
    const std::string cut = encodeJpeg(noisy(64, 64), {90, false, false}).value();
    streams.push_back(cut.substr(0, cut.size() * 2 / 3));
    for (const std::string& jpeg : streams) {
        const std::string expected = writeBmp(decodeJpeg(jpeg).value());
        std::string fresh;
        ASSERT_TRUE(decodeJpegToBmp(jpeg, fresh));
        EXPECT_TRUE(fresh == expected) << "stream " << &jpeg - streams.data();
        std::string reused(expected.size() + 99, '\xA5');
        ASSERT_TRUE(decodeJpegToBmp(jpeg, reused));
        EXPECT_TRUE(reused == expected) << "stream " << &jpeg - streams.data() << " in a reused string";
    }
}

TEST(JpegDecoding, APictureOverThePixelLimitIsNoBitmapFile)
{
    const std::string jpeg = encodeJpeg(gradient(64, 64), {90, false, false}).value();
    std::string file;
    EXPECT_FALSE(decodeJpegToBmp(jpeg, file, 64 * 63));
    EXPECT_TRUE(decodeJpegToBmp(jpeg, file, 64 * 64));
}

struct InvalidCase
{
    const char* says;
    std::string bytes;
};

const std::string goodJpeg = encodeJpeg(gradient(16, 16), {90, false, false}).value();

const InvalidCase invalidCases[] = {
    {"an empty file", ""},
    {"a bitmap named as a JPEG", "BM" + std::string(60, '\0')},
    {"a stream cut inside its headers", goodJpeg.substr(0, 40)},
    {"only the start marker", goodJpeg.substr(0, 2)},
    {"headers whose frame claims no lines",
     [] {
         std::string bad = goodJpeg;
         const std::size_t frame = bad.find("\xFF\xC0");
         bad[frame + 5] = 0;
         bad[frame + 6] = 0;
         return bad;
     }()},
};

class InvalidJpeg : public ::testing::TestWithParam<InvalidCase>
{};

TEST_P(InvalidJpeg, IsNoImage)
{
    EXPECT_FALSE(decodeJpeg(GetParam().bytes).has_value());
    std::string file = "earlier content";
    EXPECT_FALSE(decodeJpegToBmp(GetParam().bytes, file));
}

INSTANTIATE_TEST_SUITE_P(Hostile, InvalidJpeg, ::testing::ValuesIn(invalidCases), testing::SaysName());

} // namespace
} // namespace quorvane::imaging
