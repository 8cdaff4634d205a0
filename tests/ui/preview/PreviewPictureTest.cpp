#include "ui/preview/PreviewPicture.h"

#include "imaging/Bmp.h"
#include "support/CaseName.h"
#include "ui/preview/PreviewPane.h"

#include <gtest/gtest.h>

namespace quorvane::ui {
namespace {

struct KindCase
{
    const char* says;
    std::string name;
    PreviewKind kind;
};

const KindCase kindCases[] = {
    {"a JPEG named in capitals is a JPEG", "PHOTO.JPG", PreviewKind::Jpeg},
    {"the long JPEG extension is a JPEG", "scan.jpeg", PreviewKind::Jpeg},
    {"mixed case folds too", "x.Bmp", PreviewKind::Bitmap},
    {"an icon", "app.ico", PreviewKind::Icon},
    {"an enhanced metafile", "chart.emf", PreviewKind::EnhancedMetafile},
    {"a Windows metafile", "chart.WMF", PreviewKind::WindowsMetafile},
    {"mpg is media", "clip.mpg", PreviewKind::Media},
    {"mpeg is media", "clip.mpeg", PreviewKind::Media},
    {"avi is media", "clip.avi", PreviewKind::Media},
    {"mov is media", "clip.mov", PreviewKind::Media},
    {"mp3 is media", "song.mp3", PreviewKind::Media},
    {"midi is media", "song.midi", PreviewKind::Media},
    {"wav is media", "sound.WAV", PreviewKind::Media},
    {"mid is of no kind", "song.mid", PreviewKind::None},
    {"gif is of no kind", "anim.gif", PreviewKind::None},
    {"png is of no kind", "pic.png", PreviewKind::None},
    {"only the last extension counts", "photo.jpg.txt", PreviewKind::None},
    {"a name without a period is of no kind", "README", PreviewKind::None},
    {"a period in a folder name is no extension", "/photos.jpg/readme", PreviewKind::None},
    {"full width letters are not folded", "x.\xEF\xBC\xAA\xEF\xBC\xB0\xEF\xBC\xA7", PreviewKind::None},
    {"a name that is only an extension has its kind", ".jpg", PreviewKind::Jpeg},
};

class PreviewKindOf : public ::testing::TestWithParam<KindCase>
{};

TEST_P(PreviewKindOf, FollowsTheExtensionTable)
{
    EXPECT_EQ(previewKind(GetParam().name), GetParam().kind);
}

INSTANTIATE_TEST_SUITE_P(PreviewPicture, PreviewKindOf, ::testing::ValuesIn(kindCases), testing::SaysName());

struct DrawnCase
{
    const char* says;
    QSize picture;
    QRect drawn;
};

const DrawnCase drawnCases[] = {
    {"a landscape picture fills the width and is centred vertically", {640, 480}, {0, 20, 162, 121}},
    {"a portrait picture fills the height and is centred horizontally", {480, 640}, {20, 0, 121, 162}},
    {"a small square picture is enlarged to the whole area", {16, 16}, {0, 0, 162, 162}},
    {"a large square picture is reduced to the whole area", {4000, 4000}, {0, 0, 162, 162}},
    {"a picture without size takes the whole area", {0, 0}, {0, 0, 162, 162}},
    {"a picture one side of which is zero takes the whole area", {100, 0}, {0, 0, 162, 162}},
    {"a thin line of a picture is drawn zero high in the middle", {1000, 1}, {0, 81, 162, 0}},
};

class DrawnRectOf : public ::testing::TestWithParam<DrawnCase>
{};

TEST_P(DrawnRectOf, TouchesTheAreaOnTwoSidesAndIsCentred)
{
    EXPECT_EQ(drawnRect(GetParam().picture, QSize(162, 162)), GetParam().drawn);
}

INSTANTIATE_TEST_SUITE_P(PreviewPicture, DrawnRectOf, ::testing::ValuesIn(drawnCases), testing::SaysName());

struct PositionCase
{
    const char* says;
    qint64 position;
    qint64 length;
    const char* text;
};

const PositionCase positionCases[] = {
    {"short media show minutes as 00 and seconds whole", 5300, 42700, "00:5:3 / 00:42:7"},
    {"media over a minute show minutes and seconds", 75300, 185000, "1:15:3 / 3:5:0"},
    {"sixty and a half seconds is still the short form", 0, 60500, "00:0:0 / 00:60:5"},
    {"sixty one seconds is the long form", 0, 61000, "0:0:0 / 1:1:0"},
    {"a length just under a minute", 0, 59999, "00:0:0 / 00:59:9"},
    {"fifty milliseconds are no tenth of a second", 5050, 10000, "00:5:0 / 00:10:0"},
    {"seven milliseconds are no tenth of a second", 5007, 10000, "00:5:0 / 00:10:0"},
    {"nine hundred and ninety nine milliseconds are nine tenths", 999, 10000, "00:0:9 / 00:10:0"},
};

class PositionTextOf : public ::testing::TestWithParam<PositionCase>
{};

TEST_P(PositionTextOf, ShowsMinutesSecondsAndTenths)
{
    EXPECT_EQ(positionText(GetParam().position, GetParam().length), QString::fromUtf8(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(PreviewPicture, PositionTextOf, ::testing::ValuesIn(positionCases),
                         testing::SaysName());

TEST(PreviewPicture, RefusesABitmapHeaderClaimingMorePixelsThanTheLimitWithoutDecoding)
{
    imaging::Bitmap small{2, 2, 24, std::vector<std::uint8_t>(12, 0x80)};
    std::string file = imaging::writeBmp(small);
    // Width and height of the information header: 30,000 by 30,000.
    for (const int offset : {18, 22}) {
        file[offset] = static_cast<char>(30000 & 0xff);
        file[offset + 1] = static_cast<char>(30000 >> 8);
    }
    EXPECT_FALSE(decodePreviewPicture(file, PreviewKind::Bitmap, QSize(162, 162)));
}

TEST(PreviewPicture, KeepsAStretchedPictureAtTheSizeItIsDrawn)
{
    imaging::Bitmap wide{64, 32, 24, std::vector<std::uint8_t>(64 * 32 * 3, 0x40)};
    const auto picture = decodePreviewPicture(imaging::writeBmp(wide), PreviewKind::Bitmap, QSize(162, 162));
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->size, QSize(64, 32));
    EXPECT_EQ(picture->image.size(), QSize(162, 81));
    EXPECT_FALSE(picture->ownSize);
}

} // namespace
} // namespace quorvane::ui
