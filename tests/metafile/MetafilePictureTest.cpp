#include "metafile/MetafilePicture.h"

#include "MetafileSamples.h"
#include "support/CaseName.h"

#include <QImage>
#include <QPainter>
#include <climits>
#include <functional>
#include <gtest/gtest.h>
#include <set>
#include <vector>

namespace quorvane::metafile {
namespace {

using testing::colorRef;
using testing::dibHeader2x2;
using testing::dibPixels2x2;
using testing::dwords;
using testing::EmfBuilder;
using testing::floats;
using testing::utf16;
using testing::WmfBuilder;
using testing::words;

QByteArray bytes(const std::string& file)
{
    return QByteArray(file.data(), static_cast<qsizetype>(file.size()));
}

// Renders the picture onto a white 100 by 100 image, filling it.
QImage render(const MetafilePicture& picture, QSize size = {100, 100})
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    picture.draw(painter, QRectF(QPointF(0, 0), size));
    painter.end();
    return image;
}

int nonWhitePixels(const QImage& image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            count += image.pixel(x, y) != qRgb(255, 255, 255);
        }
    }
    return count;
}

// ---- Sizes --------------------------------------------------------------------------------------

struct SizeCase
{
    const char* says;
    std::string file;
    QSize expected;
};

const SizeCase sizeCases[] = {
    {"an EMF is as large as its frame at the reference device's pixels per millimetre",
     EmfBuilder().fileWith({0, 0, 10, 10}, {0, 0, 2540, 1270}, {960, 960}, {254, 254}, 1), QSize(96, 48)},
    {"an EMF without a usable millimetre size is as large as its bounds",
     EmfBuilder().fileWith({0, 0, 49, 29}, {0, 0, 2540, 1270}, {960, 960}, {0, 0}, 1), QSize(50, 30)},
    {"a placeable WMF is as large as its bounding box at 96 pixels per inch",
     WmfBuilder().placeableFile(0, 0, 1440, 720, 1440), QSize(96, 48)},
    {"a placeable WMF's bounding box may run from right to left",
     WmfBuilder().placeableFile(2000, 1000, 0, 0, 1000), QSize(192, 96)},
    {"a plain WMF is as large as the window extent its records set",
     WmfBuilder().record(0x020B, words({5, 7})).record(0x020C, words({100, 200})).plainFile(),
     QSize(200, 100)},
    {"a plain WMF without a window extent has no size", WmfBuilder().plainFile(), QSize(0, 0)},
};

class MetafileSize : public ::testing::TestWithParam<SizeCase>
{};

TEST_P(MetafileSize, ComesFromTheHeaderOrTheWindow)
{
    const auto picture = MetafilePicture::parse(bytes(GetParam().file));
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->size(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, MetafileSize, ::testing::ValuesIn(sizeCases), testing::SaysName());

// ---- Drawing ----------------------------------------------------------------------------------

constexpr std::int64_t nullPen = 0x80000008;
const QRgb red = qRgb(255, 0, 0), green = qRgb(0, 255, 0), blue = qRgb(0, 0, 255),
           white = qRgb(255, 255, 255);

// An EMF whose solid brush at handle 1 has this colour and whose pen draws nothing.
EmfBuilder emfWithBrush(std::int64_t colour)
{
    EmfBuilder emf;
    emf.record(39, dwords({1, 0, colour, 0})).record(37, dwords({1})).record(37, dwords({nullPen}));
    return emf;
}

// A WMF whose brush (object 0) has this colour and whose pen (object 1) draws nothing.
WmfBuilder wmfWithBrush(std::int64_t colour)
{
    WmfBuilder wmf;
    wmf.record(0x02FC, words({0}) + dwords({colour}) + words({0})).record(0x012D, words({0}));
    wmf.record(0x02FA, words({5, 0, 0}) + dwords({0})).record(0x012D, words({1}));
    return wmf;
}

struct Pixel
{
    int x, y;
    QRgb colour;
};

struct DrawCase
{
    const char* says;
    std::string file;
    std::vector<Pixel> pixels;
};

const std::vector<Pixel> redSquare20To60 = {{40, 40, red}, {21, 21, red}, {10, 10, white}, {70, 70, white}};

const DrawCase drawCases[] = {
    {"an EMF rectangle is filled with the selected brush where its corners say",
     emfWithBrush(colorRef(255, 0, 0)).record(43, dwords({20, 20, 60, 60})).file(), redSquare20To60},
    {"an EMF 16-bit polygon is filled inside its points only",
     emfWithBrush(colorRef(0, 0, 255))
         .record(86, dwords({0, 0, 0, 0, 3}) + words({10, 10, 90, 10, 10, 90}))
         .file(),
     {{20, 20, blue}, {80, 80, white}, {60, 15, blue}}},
    {"an EMF 32-bit polygon is filled like the 16-bit one",
     emfWithBrush(colorRef(0, 0, 255)).record(3, dwords({0, 0, 0, 0, 3, 10, 10, 90, 10, 10, 90})).file(),
     {{20, 20, blue}, {80, 80, white}}},
    {"an EMF line runs from the current position with the selected pen",
     EmfBuilder()
         .record(38, dwords({1, 0, 0, 0, colorRef(255, 0, 0)}))
         .record(37, dwords({1}))
         .record(27, dwords({0, 50}))
         .record(54, dwords({100, 50}))
         .file(),
     {{50, 50, red}, {5, 50, red}, {50, 30, white}, {50, 70, white}}},
    {"an EMF polyline draws its segments but fills nothing",
     EmfBuilder()
         .record(38, dwords({1, 0, 0, 0, colorRef(255, 0, 0)}))
         .record(37, dwords({1}))
         .record(87, dwords({0, 0, 0, 0, 3}) + words({10, 10, 90, 10, 90, 90}))
         .file(),
     {{50, 10, red}, {90, 50, red}, {60, 40, white}}},
    {"an EMF ellipse fills its inside and leaves the box's corners",
     emfWithBrush(colorRef(0, 255, 0)).record(42, dwords({10, 10, 90, 90})).file(),
     {{50, 50, green}, {50, 12, green}, {13, 13, white}, {87, 87, white}}},
    {"an EMF anisotropic window maps onto its viewport",
     emfWithBrush(colorRef(255, 0, 0))
         .record(17, dwords({8}))
         .record(9, dwords({1000, 1000}))
         .record(11, dwords({100, 100}))
         .record(43, dwords({200, 200, 600, 600}))
         .file(),
     redSquare20To60},
    {"an EMF window origin moves the drawing",
     emfWithBrush(colorRef(255, 0, 0))
         .record(10, dwords({-10, -10}))
         .record(43, dwords({10, 10, 50, 50}))
         .file(),
     redSquare20To60},
    {"an EMF isotropic window keeps its aspect inside a wider viewport",
     emfWithBrush(colorRef(255, 0, 0))
         .record(17, dwords({7}))
         .record(9, dwords({100, 100}))
         .record(11, dwords({200, 50}))
         .record(43, dwords({0, 0, 100, 100}))
         .file(),
     {{25, 25, red}, {60, 25, white}, {25, 60, white}}},
    {"an EMF world transform scales what follows",
     emfWithBrush(colorRef(255, 0, 0))
         .record(35, floats({2, 0, 0, 2, 0, 0}))
         .record(43, dwords({10, 10, 30, 30}))
         .file(),
     redSquare20To60},
    {"an EMF world transform multiplied on the left translates before it scales",
     emfWithBrush(colorRef(255, 0, 0))
         .record(35, floats({2, 0, 0, 2, 0, 0}))
         .record(36, floats({1, 0, 0, 1, 5, 5}) + dwords({2}))
         .record(43, dwords({5, 5, 25, 25}))
         .file(),
     redSquare20To60},
    {"an EMF world transform reset to identity leaves the coordinates as they are",
     emfWithBrush(colorRef(255, 0, 0))
         .record(35, floats({3, 0, 0, 3, 0, 0}))
         .record(36, floats({0, 0, 0, 0, 0, 0}) + dwords({1}))
         .record(43, dwords({20, 20, 60, 60}))
         .file(),
     redSquare20To60},
    {"selecting a deleted EMF brush is skipped and the earlier one stays",
     emfWithBrush(colorRef(255, 0, 0))
         .record(39, dwords({2, 0, colorRef(0, 0, 255), 0}))
         .record(40, dwords({2}))
         .record(37, dwords({2}))
         .record(43, dwords({20, 20, 60, 60}))
         .file(),
     redSquare20To60},
    {"a stock brush replaces the selected one",
     emfWithBrush(colorRef(255, 0, 0))
         .record(37, dwords({0x80000004}))
         .record(43, dwords({20, 20, 60, 60}))
         .file(),
     {{40, 40, qRgb(0, 0, 0)}, {10, 10, white}}},
    {"restoring a saved EMF state brings back its brush",
     emfWithBrush(colorRef(255, 0, 0))
         .record(33, "")
         .record(39, dwords({2, 0, colorRef(0, 0, 255), 0}))
         .record(37, dwords({2}))
         .record(34, dwords({static_cast<std::uint32_t>(-1)}))
         .record(43, dwords({20, 20, 60, 60}))
         .file(),
     redSquare20To60},
    {"an EMF clip rectangle limits what is drawn",
     emfWithBrush(colorRef(255, 0, 0))
         .record(30, dwords({0, 0, 40, 100}))
         .record(43, dwords({20, 20, 60, 60}))
         .file(),
     {{30, 40, red}, {50, 40, white}}},
    {"an EMF excluded clip rectangle is left out of what is drawn",
     emfWithBrush(colorRef(255, 0, 0))
         .record(29, dwords({30, 30, 50, 50}))
         .record(43, dwords({20, 20, 60, 60}))
         .file(),
     {{25, 25, red}, {55, 55, red}, {40, 40, white}}},
    {"a WMF excluded clip rectangle is left out of what is drawn",
     wmfWithBrush(colorRef(255, 0, 0))
         .record(0x0415, words({50, 50, 30, 30}))
         .record(0x041B, words({60, 60, 20, 20}))
         .placeableFile(0, 0, 100, 100, 96),
     {{25, 25, red}, {55, 55, red}, {40, 40, white}}},
    {"an EMF stretched 2 by 2 bitmap fills its destination, top row first",
     EmfBuilder()
         .record(81, dwords({0, 0, 0, 0, 10, 10, 0, 0, 2, 2, 80, 40, 120, 16, 0, 0x00CC0020, 80, 80}) +
                         dibHeader2x2() + dibPixels2x2())
         .file(),
     {{20, 20, red}, {80, 20, white}, {20, 80, blue}, {80, 80, green}, {5, 5, white}}},
    {"an EMF path is filled when the path ends",
     emfWithBrush(colorRef(255, 0, 0))
         .record(59, "")
         .record(27, dwords({20, 20}))
         .record(54, dwords({60, 20}))
         .record(54, dwords({60, 60}))
         .record(54, dwords({20, 60}))
         .record(61, "")
         .record(60, "")
         .record(62, dwords({0, 0, 0, 0}))
         .file(),
     redSquare20To60},
    {"an EMF pie runs counter-clockwise from its start to its end",
     emfWithBrush(colorRef(255, 0, 0)).record(47, dwords({10, 10, 90, 90, 90, 50, 50, 10})).file(),
     {{70, 30, red}, {30, 70, white}, {30, 30, white}}},
    {"an EMF pie after SetArcDirection clockwise takes the other three quarters",
     emfWithBrush(colorRef(255, 0, 0))
         .record(57, dwords({2}))
         .record(47, dwords({10, 10, 90, 90, 90, 50, 50, 10}))
         .file(),
     {{70, 30, white}, {30, 70, red}, {30, 30, red}}},
    {"an EMF pixel set by SetPixelV takes its colour",
     EmfBuilder().record(15, dwords({50, 50, colorRef(255, 0, 0)})).file(),
     {{50, 50, red}, {52, 52, white}}},
    {"an EMF window extent scaled by a fraction maps like the extent it gives",
     emfWithBrush(colorRef(255, 0, 0))
         .record(17, dwords({8}))
         .record(9, dwords({500, 500}))
         .record(11, dwords({100, 100}))
         .record(32, dwords({2, 1, 2, 1}))
         .record(43, dwords({200, 200, 600, 600}))
         .file(),
     redSquare20To60},
    {"an EMF SetDIBitsToDevice copies the bitmap at its own size",
     EmfBuilder()
         .record(35, floats({40, 0, 0, 40, 10, 10}))
         .record(80, dwords({0, 0, 0, 0, 0, 0, 0, 0, 2, 2, 76, 40, 116, 16, 0, 0, 2}) + dibHeader2x2() +
                         dibPixels2x2())
         .file(),
     {{20, 20, red}, {80, 20, white}, {20, 80, blue}, {80, 80, green}, {5, 5, white}}},
    {"a WMF pixel set by SetPixel takes its colour",
     WmfBuilder()
         .record(0x041F, dwords({colorRef(255, 0, 0)}) + words({50, 50}))
         .placeableFile(0, 0, 100, 100, 96),
     {{50, 50, red}, {52, 52, white}}},
    {"a placeable WMF rectangle fills the part of the bounding box its corners say",
     wmfWithBrush(colorRef(255, 0, 0))
         .record(0x041B, words({600, 600, 200, 200}))
         .placeableFile(0, 0, 1000, 1000, 1440),
     redSquare20To60},
    {"a WMF window set by its records overrides the bounding box",
     wmfWithBrush(colorRef(255, 0, 0))
         .record(0x020B, words({100, 100}))
         .record(0x020C, words({200, 200}))
         .record(0x041B, words({220, 220, 140, 140}))
         .placeableFile(0, 0, 10, 10, 1440),
     redSquare20To60},
    {"a plain WMF maps its window onto the target",
     wmfWithBrush(colorRef(255, 0, 0))
         .record(0x020B, words({100, 100}))
         .record(0x020C, words({200, 200}))
         .record(0x041B, words({220, 220, 140, 140}))
         .plainFile(),
     redSquare20To60},
    {"a WMF polygon is filled inside its points only",
     wmfWithBrush(colorRef(0, 0, 255))
         .record(0x0324, words({3, 10, 10, 90, 10, 10, 90}))
         .placeableFile(0, 0, 100, 100, 96),
     {{20, 20, blue}, {80, 80, white}}},
    {"a WMF line runs from the position MoveTo set",
     WmfBuilder()
         .record(0x02FA, words({0, 0, 0}) + dwords({colorRef(255, 0, 0)}))
         .record(0x012D, words({0}))
         .record(0x0214, words({50, 0}))
         .record(0x0213, words({50, 100}))
         .placeableFile(0, 0, 100, 100, 96),
     {{50, 50, red}, {50, 30, white}}},
    {"a WMF ellipse fills its inside and leaves the box's corners",
     wmfWithBrush(colorRef(0, 255, 0))
         .record(0x0418, words({90, 90, 10, 10}))
         .placeableFile(0, 0, 100, 100, 96),
     {{50, 50, green}, {13, 13, white}}},
    {"a WMF object slot freed by deletion is taken by the next object",
     wmfWithBrush(colorRef(0, 0, 255))
         .record(0x01F0, words({0}))
         .record(0x02FC, words({0}) + dwords({colorRef(255, 0, 0)}) + words({0}))
         .record(0x012D, words({0}))
         .record(0x041B, words({60, 60, 20, 20}))
         .placeableFile(0, 0, 100, 100, 96),
     redSquare20To60},
    {"selecting a deleted WMF object is skipped",
     wmfWithBrush(colorRef(255, 0, 0))
         .record(0x02FC, words({0}) + dwords({colorRef(0, 0, 255)}) + words({0}))
         .record(0x01F0, words({2}))
         .record(0x012D, words({2}))
         .record(0x041B, words({60, 60, 20, 20}))
         .placeableFile(0, 0, 100, 100, 96),
     redSquare20To60},
    {"a WMF stretched 2 by 2 bitmap fills its destination, top row first",
     WmfBuilder()
         .record(0x0F43, dwords({0x00CC0020}) + words({0, 2, 2, 0, 0, 80, 80, 10, 10}) + dibHeader2x2() +
                             dibPixels2x2())
         .placeableFile(0, 0, 100, 100, 96),
     {{20, 20, red}, {80, 20, white}, {20, 80, blue}, {80, 80, green}, {5, 5, white}}},
    {"a WMF pattern fill with the brush covers its rectangle",
     wmfWithBrush(colorRef(255, 0, 0))
         .record(0x061D, dwords({0x00F00021}) + words({40, 40, 20, 20}))
         .placeableFile(0, 0, 100, 100, 96),
     redSquare20To60},
};

class MetafileDrawing : public ::testing::TestWithParam<DrawCase>
{};

TEST_P(MetafileDrawing, PutsThePixelsWhereTheRecordsSay)
{
    const auto picture = MetafilePicture::parse(bytes(GetParam().file));
    ASSERT_TRUE(picture);
    const QImage image = render(*picture);
    for (const Pixel& p : GetParam().pixels) {
        EXPECT_EQ(QColor(image.pixel(p.x, p.y)), QColor(p.colour)) << "at " << p.x << ", " << p.y;
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, MetafileDrawing, ::testing::ValuesIn(drawCases), testing::SaysName());

// ---- Text -----------------------------------------------------------------------------------

struct TextCase
{
    const char* says;
    std::string file;
};

std::string emfFont(int height)
{
    std::string face = utf16(u"Sans");
    face.resize(64, '\0');
    return dwords({1, height, 0, 0, 0, 400}) + std::string(8, '\0') + face;
}

std::string wmfFont(int height)
{
    std::string face = "Sans";
    face.resize(32, '\0');
    return words({static_cast<std::uint16_t>(height), 0, 0, 0, 400}) + std::string(8, '\0') + face;
}

const TextCase textCases[] = {
    {"EMF wide text is drawn in the selected font",
     EmfBuilder()
         .record(82, emfFont(-30))
         .record(37, dwords({1}))
         .record(84, dwords({0, 0, 0, 0, 1, 0, 0, 10, 10, 4, 76, 0, 0, 0, 100, 100, 0}) + utf16(u"Hiya"))
         .file()},
    {"WMF TextOut draws its bytes", WmfBuilder()
                                        .record(0x02FB, wmfFont(-30))
                                        .record(0x012D, words({0}))
                                        .record(0x0521, words({4}) + "Hiya" + words({10, 10}))
                                        .placeableFile(0, 0, 100, 100, 96)},
    {"WMF ExtTextOut draws its bytes", WmfBuilder()
                                           .record(0x02FB, wmfFont(30))
                                           .record(0x012D, words({0}))
                                           .record(0x0A32, words({10, 10, 4, 0}) + "Hiya")
                                           .placeableFile(0, 0, 100, 100, 96)},
};

class MetafileText : public ::testing::TestWithParam<TextCase>
{};

TEST_P(MetafileText, LeavesInkOnTheTarget)
{
    const auto picture = MetafilePicture::parse(bytes(GetParam().file));
    ASSERT_TRUE(picture);
    EXPECT_GT(nonWhitePixels(render(*picture)), 20);
}

INSTANTIATE_TEST_SUITE_P(Cases, MetafileText, ::testing::ValuesIn(textCases), testing::SaysName());

// ---- Files that do not parse ----------------------------------------------------------------------

std::string truncated(std::string file, std::size_t size)
{
    file.resize(size);
    return file;
}

std::string redSquareEmf()
{
    return emfWithBrush(colorRef(255, 0, 0)).record(43, dwords({20, 20, 60, 60})).file();
}

std::string redSquareWmf()
{
    return wmfWithBrush(colorRef(255, 0, 0))
        .record(0x041B, words({60, 60, 20, 20}))
        .placeableFile(0, 0, 100, 100, 96);
}

// The EMF with its rectangle record claiming more bytes than the file holds.
std::string emfRecordPastTheEnd()
{
    std::string file = emfWithBrush(colorRef(255, 0, 0)).record(43, dwords({20, 20, 60, 60})).file();
    file.resize(file.size() - 20); // without the end-of-file record
    file[file.size() - 20] = '\x40';
    return file;
}

std::string wmfRecordPastTheEnd()
{
    std::string file = redSquareWmf();
    file.resize(file.size() - 6);
    file[file.size() - 14] = '\x20';
    return file;
}

struct BadCase
{
    const char* says;
    std::string file;
};

const BadCase badCases[] = {
    {"an empty file is no picture", ""},
    {"a text file is no picture", "hello, world: this is not a metafile at all"},
    {"an EMF whose record runs past the end is no picture", emfRecordPastTheEnd()},
    {"an EMF cut inside its header is no picture", truncated(redSquareEmf(), 60)},
    {"an EMF cut inside a record is no picture", truncated(redSquareEmf(), 88 + 30)},
    {"an EMF whose header claims more bytes than the file has is no picture",
     [] {
         std::string file = redSquareEmf();
         file[4] = '\x00';
         file[5] = '\x10';
         return file;
     }()},
    {"an EMF record of size zero is no picture",
     [] {
         std::string file = redSquareEmf();
         file[88 + 4] = '\0';
         return file;
     }()},
    {"a WMF whose record runs past the end is no picture", wmfRecordPastTheEnd()},
    {"a placeable WMF without its metafile header is no picture", truncated(redSquareWmf(), 22)},
    {"a placeable WMF with zero units per inch is no picture", WmfBuilder().placeableFile(0, 0, 100, 100, 0)},
    {"a WMF record of size zero is no picture",
     [] {
         std::string file = WmfBuilder().record(0x041B, words({60, 60, 20, 20})).plainFile();
         file[18] = '\0';
         return file;
     }()},
    {"a WMF header of the wrong length is no picture",
     [] {
         std::string file = WmfBuilder().plainFile();
         file[2] = '\x0A';
         return file;
     }()},
};

class MetafileRejected : public ::testing::TestWithParam<BadCase>
{};

TEST_P(MetafileRejected, GivesNothing)
{
    EXPECT_FALSE(MetafilePicture::parse(bytes(GetParam().file)));
}

INSTANTIATE_TEST_SUITE_P(Cases, MetafileRejected, ::testing::ValuesIn(badCases), testing::SaysName());

// ---- Hostile records that parse ---------------------------------------------------------------------

// Each file holds a hostile record and then a red rectangle from 20 to 60 drawn afresh, so the
// test sees both that nothing crashed and that playing went on.
struct HostileCase
{
    const char* says;
    std::string file;
};

EmfBuilder& redSquareAfter(EmfBuilder& emf)
{
    return emf.record(34, dwords({static_cast<std::uint32_t>(-1)}))
        .record(39, dwords({3, 0, colorRef(255, 0, 0), 0}))
        .record(37, dwords({3}))
        .record(37, dwords({nullPen}))
        .record(43, dwords({20, 20, 60, 60}));
}

std::string hostileEmf(const std::function<void(EmfBuilder&)>& hostile)
{
    EmfBuilder emf;
    emf.record(33, "");
    hostile(emf);
    return redSquareAfter(emf).file();
}

const HostileCase hostileCases[] = {
    {"a rectangle at the ends of the coordinate range", hostileEmf([](EmfBuilder& e) {
         e.record(39, dwords({1, 0, 0, 0}))
             .record(37, dwords({1}))
             .record(43, dwords({INT_MIN, INT_MIN, INT_MAX, INT_MAX}));
     })},
    {"a window extent of one against a viewport of 2^31 - 1", hostileEmf([](EmfBuilder& e) {
         e.record(17, dwords({8}))
             .record(9, dwords({1, 1}))
             .record(11, dwords({INT_MAX, INT_MAX}))
             .record(42, dwords({-5, -5, 5, 5}))
             .record(82, emfFont(INT_MAX))
             .record(37, dwords({1}))
             .record(84, dwords({0, 0, 0, 0, 1, 0, 0, 1, 1, 2, 76, 0, 0, 0, 1, 1, 0}) + utf16(u"Hi"));
     })},
    {"a window extent of 2^31 with a viewport of one", hostileEmf([](EmfBuilder& e) {
         e.record(17, dwords({8}))
             .record(9, dwords({INT_MIN, INT_MIN}))
             .record(11, dwords({1, 1}))
             .record(43, dwords({INT_MIN, 0, INT_MAX, 1}));
     })},
    {"a world transform of infinities and zeros", hostileEmf([](EmfBuilder& e) {
         e.record(35, floats({1e38f, 1e38f, 1e38f, 1e38f, 1e38f, 1e38f}))
             .record(43, dwords({0, 0, 10, 10}))
             .record(35, floats({0, 0, 0, 0, 0, 0}))
             .record(42, dwords({0, 0, 10, 10}));
     })},
    {"a polygon claiming a billion points", hostileEmf([](EmfBuilder& e) {
         e.record(86, dwords({0, 0, 0, 0, 1 << 30}) + words({1, 1, 2, 2}));
     })},
    {"a polypolygon whose counts overflow their total", hostileEmf([](EmfBuilder& e) {
         e.record(91, dwords({0, 0, 0, 0, 2, 4, 0xFFFFFFFF, 5}) + words({1, 1, 2, 2, 3, 3, 4, 4}));
     })},
    {"a pen wider than the picture", hostileEmf([](EmfBuilder& e) {
         e.record(38, dwords({1, 0, INT_MAX, 0, 0}))
             .record(37, dwords({1}))
             .record(87, dwords({0, 0, 0, 0, 2}) + words({0, 0, 99, 99}));
     })},
    {"objects created and selected at handles beyond the table", hostileEmf([](EmfBuilder& e) {
         e.record(39, dwords({70000, 0, 0, 0})).record(37, dwords({70000})).record(40, dwords({0xFFFFFFFF}));
     })},
    {"saves nested far deeper than kept", hostileEmf([](EmfBuilder& e) {
         for (int i = 0; i < 3000; ++i) {
             e.record(33, "");
         }
         e.record(34, dwords({-5000})).record(34, dwords({5000}));
     })},
    {"a bitmap whose header claims a billion pixels", hostileEmf([](EmfBuilder& e) {
         e.record(81, dwords({0, 0, 0, 0, 0, 0, 0, 0, 40000, 40000, 80, 40, 120, 16, 0, 0x00CC0020, 80, 80}) +
                          dwords({40, 40000, 40000}) + words({1, 24}) + dwords({0, 0, 0, 0, 0, 0}) +
                          dibPixels2x2());
     })},
    {"a bitmap whose pixels lie outside the record", hostileEmf([](EmfBuilder& e) {
         e.record(81, dwords({0, 0, 0, 0, 0, 0, 0, 0, 2, 2, 80, 40, 0x7FFFFFF0, 16, 0, 0x00CC0020, 80, 80}) +
                          dibHeader2x2() + dibPixels2x2());
     })},
    {"text whose string lies outside the record", hostileEmf([](EmfBuilder& e) {
         e.record(84, dwords({0, 0, 0, 0, 1, 0, 0, 1, 1, 0x7FFFFFFF, 76, 0, 0, 0, 1, 1, 0}) + utf16(u"Hi"));
     })},
};

class MetafileHostile : public ::testing::TestWithParam<HostileCase>
{};

TEST_P(MetafileHostile, IsSkippedOrClampedAndPlayingGoesOn)
{
    const auto picture = MetafilePicture::parse(bytes(GetParam().file));
    ASSERT_TRUE(picture);
    const QImage image = render(*picture);
    EXPECT_EQ(QColor(image.pixel(40, 40)), QColor(red));
}

INSTANTIATE_TEST_SUITE_P(Cases, MetafileHostile, ::testing::ValuesIn(hostileCases), testing::SaysName());

TEST(MetafilePicture, DrawsOnlyInsideTheTarget)
{
    const auto picture = MetafilePicture::parse(
        bytes(emfWithBrush(colorRef(255, 0, 0)).record(43, dwords({-50, -50, 150, 150})).file()));
    ASSERT_TRUE(picture);
    QImage image(100, 100, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    picture->draw(painter, QRectF(25, 25, 50, 50));
    painter.end();
    EXPECT_EQ(QColor(image.pixel(50, 50)), QColor(red));
    EXPECT_EQ(QColor(image.pixel(20, 50)), QColor(white));
    EXPECT_EQ(QColor(image.pixel(80, 80)), QColor(white));
}

} // namespace
} // namespace quorvane::metafile

namespace quorvane::metafile {
namespace {

int inkInColumns(const QImage& image, int from, int to)
{
    return nonWhitePixels(image.copy(from, 0, to - from, image.height()));
}

std::string spacedText(bool withAdvances)
{
    const std::string advances = withAdvances ? dwords({70, 10}) : std::string();
    return EmfBuilder()
        .record(82, emfFont(-30))
        .record(37, dwords({1}))
        .record(84, dwords({0, 0, 0, 0, 1, 0, 0, 5, 10, 2, 76, 0, 0, 0, 100, 100, withAdvances ? 80 : 0}) +
                        utf16(u"ll") + advances)
        .file();
}

TEST(MetafilePicture, TextFollowsTheAdvancesTheFileGives)
{
    const auto spaced = MetafilePicture::parse(bytes(spacedText(true)));
    const auto natural = MetafilePicture::parse(bytes(spacedText(false)));
    ASSERT_TRUE(spaced && natural);
    EXPECT_GT(inkInColumns(render(*spaced), 70, 100), 0);
    EXPECT_EQ(inkInColumns(render(*natural), 70, 100), 0);
    EXPECT_GT(inkInColumns(render(*natural), 0, 70), 0);
}

struct PatternCase
{
    const char* says;
    std::string file;
};

const PatternCase patternCases[] = {
    {"an EMF bitmap pattern brush fills with its bitmap's colours",
     EmfBuilder()
         .record(94, dwords({1, 0, 32, 40, 72, 16}) + dibHeader2x2() + dibPixels2x2())
         .record(37, dwords({1}))
         .record(37, dwords({nullPen}))
         .record(43, dwords({0, 0, 100, 100}))
         .file()},
    {"a WMF bitmap pattern brush fills with its bitmap's colours",
     WmfBuilder()
         .record(0x0142, words({5, 0}) + dibHeader2x2() + dibPixels2x2())
         .record(0x012D, words({0}))
         .record(0x02FA, words({5, 0, 0}) + dwords({0}))
         .record(0x012D, words({1}))
         .record(0x041B, words({100, 100, 0, 0}))
         .placeableFile(0, 0, 100, 100, 96)},
};

class MetafilePatternBrush : public ::testing::TestWithParam<PatternCase>
{};

TEST_P(MetafilePatternBrush, RepeatsItsBitmap)
{
    const auto picture = MetafilePicture::parse(bytes(GetParam().file));
    ASSERT_TRUE(picture);
    const QImage image = render(*picture);
    std::set<QRgb> colours;
    for (int y = 10; y < 90; ++y) {
        for (int x = 10; x < 90; ++x) {
            colours.insert(image.pixel(x, y) & 0xFFFFFF);
        }
    }
    EXPECT_EQ(colours, (std::set<QRgb>{red & 0xFFFFFF, green & 0xFFFFFF, blue & 0xFFFFFF, white & 0xFFFFFF}));
}

INSTANTIATE_TEST_SUITE_P(Cases, MetafilePatternBrush, ::testing::ValuesIn(patternCases), testing::SaysName());

} // namespace
} // namespace quorvane::metafile

namespace quorvane::metafile {
namespace {

// A WMF of this many background-mode records, then a red rectangle.
std::string manyRecordsThenRectangle(int records)
{
    WmfBuilder wmf = wmfWithBrush(colorRef(255, 0, 0));
    wmf.repeat(0x0102, words({1}), records - 4);
    return wmf.record(0x041B, words({60, 60, 20, 20})).placeableFile(0, 0, 100, 100, 96);
}

TEST(MetafilePicture, PlaysNoRecordBeyondTheRecordLimit)
{
    const auto within =
        MetafilePicture::parse(bytes(manyRecordsThenRectangle(MetafilePicture::maxRecords - 1)));
    const auto beyond = MetafilePicture::parse(bytes(manyRecordsThenRectangle(MetafilePicture::maxRecords)));
    ASSERT_TRUE(within && beyond);
    EXPECT_EQ(QColor(render(*within).pixel(40, 40)), QColor(red));
    EXPECT_EQ(QColor(render(*beyond).pixel(40, 40)), QColor(white));
}

} // namespace
} // namespace quorvane::metafile
