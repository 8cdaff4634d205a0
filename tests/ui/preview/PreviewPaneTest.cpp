#include "ui/preview/PreviewPane.h"

#include "imaging/Bmp.h"
#include "imaging/Jpeg.h"
#include "metafile/MetafileSamples.h"
#include "support/CaseName.h"
#include "ui/window/WindowSupport.h"

#include <QBuffer>
#include <QCheckBox>
#include <QFile>
#include <QImageWriter>
#include <QLabel>
#include <QMediaPlayer>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QStatusBar>
#include <QToolButton>
#include <QVideoWidget>
#include <cmath>
#include <filesystem>
#include <gtest/gtest.h>

namespace quorvane::ui {
namespace {

using testing::colorRef;
using testing::dwords;
using testing::EmfBuilder;
using testing::TempFolder;
using testing::WmfBuilder;
using testing::words;
using Button = MediaPlayer::Button;

imaging::Bitmap redBitmap(int width, int height)
{
    imaging::Bitmap bitmap{width, height, 24, {}};
    bitmap.pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3);
    for (std::size_t i = 0; i < bitmap.pixels.size(); i += 3) {
        bitmap.pixels[i] = 0xff;
    }
    return bitmap;
}

std::string redJpeg(int width, int height)
{
    return imaging::encodeJpeg(redBitmap(width, height), {}).value();
}

std::string redIcon(int size)
{
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "ico");
    EXPECT_TRUE(writer.write(image));
    return bytes.toStdString();
}

std::string pngFile()
{
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes.toStdString();
}

void putLittleEndian(std::string& out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xff));
    }
}

// A mono 16-bit PCM WAV file at 8 kHz holding a quiet tone of the given length.
std::string wavFile(int milliseconds)
{
    const std::uint32_t rate = 8000;
    const std::uint32_t samples = rate * static_cast<std::uint32_t>(milliseconds) / 1000;
    std::string file = "RIFF";
    putLittleEndian(file, 36 + samples * 2, 4);
    file += "WAVEfmt ";
    putLittleEndian(file, 16, 4);
    putLittleEndian(file, 1, 2); // PCM
    putLittleEndian(file, 1, 2); // mono
    putLittleEndian(file, rate, 4);
    putLittleEndian(file, rate * 2, 4);
    putLittleEndian(file, 2, 2);
    putLittleEndian(file, 16, 2);
    file += "data";
    putLittleEndian(file, samples * 2, 4);
    for (std::uint32_t i = 0; i < samples; ++i) {
        const auto value = static_cast<std::int16_t>(1000 * std::sin(i * 0.3));
        putLittleEndian(file, static_cast<std::uint16_t>(value), 2);
    }
    return file;
}

// The smallest rectangle holding every red pixel of an image, empty without one.
QRect redBox(const QImage& image)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.alpha() > 200 && c.red() > 200 && c.green() < 80 && c.blue() < 80) {
                box |= QRect(x, y, 1, 1);
            }
        }
    }
    return box;
}

QRect drawnBox(const TestWindow& w)
{
    return redBox(w->preview->img_Preview->grab().toImage());
}

// Selects the before list's row of a file and refreshes the preview as a press on the row does.
void showRow(TestWindow& w, const std::string& name)
{
    for (int row = 1; row < w->before.rowCount(); ++row) {
        if (w->before.cell(core::NameColumn, row) == name) {
            w->before.setSelection(row, row);
            w->prc_ShowPreview();
            return;
        }
    }
    ADD_FAILURE() << name << " is not listed";
}

// A window listing the folder with the preview shown.
void openWithPreview(TestWindow& w, const TempFolder& folder)
{
    ASSERT_TRUE(w.choose(folder.path()));
    w->btn_Preview->click();
    ASSERT_TRUE(w->PreviewOn);
}

// --- Images -----------------------------------------------------------------------------------

// An enhanced metafile of width by height pixels filled red by one rectangle.
std::string redEmf(int width, int height)
{
    EmfBuilder emf;
    emf.record(39, dwords({1, 0, colorRef(255, 0, 0), 0})).record(37, dwords({1}));
    emf.record(37, dwords({0x80000008})); // the stock null pen
    emf.record(43, dwords({-5, -5, width + 5, height + 5}));
    return emf.file(width, height);
}

// A placeable Windows metafile of 96 by 48 pixels filled red by one rectangle.
std::string redWmf()
{
    WmfBuilder wmf;
    wmf.record(0x02FC, words({0}) + dwords({colorRef(255, 0, 0)}) + words({0})).record(0x012D, words({0}));
    wmf.record(0x02FA, words({5, 0, 0}) + dwords({0})).record(0x012D, words({1}));
    wmf.record(0x041B, words({60, 110, -10, -10}));
    return wmf.placeableFile(0, 0, 96, 48, 96);
}

struct ImageCase
{
    const char* says;
    std::string name;
    std::function<std::string()> content;
    QString status;
    QRect drawn;
};

const ImageCase imageCases[] = {
    {"a JPEG named in capitals is drawn across the width", "PHOTO.JPG", [] { return redJpeg(640, 480); },
     QStringLiteral("Size: 480x640"), QRect(0, 20, 162, 121)},
    {"a small bitmap is enlarged to the whole area", "small.bmp",
     [] { return imaging::writeBmp(redBitmap(16, 16)); }, QStringLiteral("Size: 16x16"),
     QRect(0, 0, 162, 162)},
    {"a tall bitmap is drawn across the height", "tall.bmp",
     [] { return imaging::writeBmp(redBitmap(30, 60)); }, QStringLiteral("Size: 60x30"),
     QRect(40, 0, 81, 162)},
    {"an icon is drawn at its own size in the top left corner", "app.ico", [] { return redIcon(32); },
     QStringLiteral("Size: 32x32"), QRect(0, 0, 32, 32)},
    {"an enhanced metafile is drawn scaled", "chart.emf", [] { return redEmf(200, 100); },
     QStringLiteral("Size: 100x200"), QRect(0, 40, 162, 81)},
    {"a Windows metafile is drawn scaled", "chart.WMF", [] { return redWmf(); },
     QStringLiteral("Size: 48x96"), QRect(0, 40, 162, 81)},
};

class PreviewImageShown : public ::testing::TestWithParam<ImageCase>
{};

TEST_P(PreviewImageShown, WithItsSizeInStatusPanelTwo)
{
    const ImageCase& c = GetParam();
    TempFolder folder;
    folder.writeFile(c.name, c.content());
    TestWindow w;
    openWithPreview(w, folder);
    showRow(w, c.name);
    EXPECT_EQ(w->statusText(2), c.status);
    EXPECT_EQ(drawnBox(w), c.drawn);
    EXPECT_TRUE(w->preview->mdi_Player->isHidden());
    EXPECT_TRUE(w.boxes.errors.empty());
}

INSTANTIATE_TEST_SUITE_P(PreviewPane, PreviewImageShown, ::testing::ValuesIn(imageCases),
                         testing::SaysName());

struct BadImageCase
{
    const char* says;
    std::string name;
    std::function<std::string()> content;
};

std::string hugeBitmapHeader()
{
    std::string file = imaging::writeBmp(redBitmap(2, 2));
    for (const int offset : {18, 22}) {
        file[static_cast<std::size_t>(offset)] = static_cast<char>(30000 & 0xff);
        file[static_cast<std::size_t>(offset) + 1] = static_cast<char>(30000 >> 8);
    }
    return file;
}

const BadImageCase badImageCases[] = {
    {"a JPEG holding a PNG", "lie.jpg",
     [] {
         return pngFile();
     }},
    {"an empty bitmap", "zero.bmp",
     [] {
         return std::string();
     }},
    {"a bitmap cut short", "cut.bmp",
     [] {
         return imaging::writeBmp(redBitmap(40, 40)).substr(0, 300);
     }},
    {"a JPEG cut inside its header", "cut.jpg",
     [] {
         return redJpeg(40, 40).substr(0, 60);
     }},
    {"a bitmap header claiming thirty thousand pixels square", "huge.bmp",
     [] {
         return hugeBitmapHeader();
     }},
    {"an icon holding a bitmap", "lie.ico",
     [] {
         return imaging::writeBmp(redBitmap(8, 8));
     }},
    {"an empty icon", "zero.ico",
     [] {
         return std::string();
     }},
    {"an enhanced metafile of text", "text.emf",
     [] {
         return std::string("not a metafile at all");
     }},
    {"an empty Windows metafile", "zero.wmf",
     [] {
         return std::string();
     }},
    {"an enhanced metafile named as a Windows one", "lie.wmf",
     [] {
         return redEmf(20, 20);
     }},
    {"a Windows metafile named as an enhanced one", "lie.emf",
     [] {
         return redWmf();
     }},
    {"an enhanced metafile cut short", "cut.emf",
     [] {
         return redEmf(20, 20).substr(0, 100);
     }},
};

class PreviewOfABadImage : public ::testing::TestWithParam<BadImageCase>
{};

TEST_P(PreviewOfABadImage, LeavesThePaneAndStatusPanelTwoEmptyWithoutAMessage)
{
    const BadImageCase& c = GetParam();
    TempFolder folder;
    folder.writeFile("good.bmp", imaging::writeBmp(redBitmap(16, 16)));
    folder.writeFile(c.name, c.content());
    TestWindow w;
    openWithPreview(w, folder);
    showRow(w, "good.bmp");
    ASSERT_FALSE(w->preview->img_Preview->isEmpty());
    showRow(w, c.name);
    EXPECT_TRUE(w->preview->img_Preview->isEmpty());
    EXPECT_EQ(w->statusText(2), QString());
    EXPECT_TRUE(drawnBox(w).isEmpty());
    EXPECT_TRUE(w.boxes.errors.empty());
}

INSTANTIATE_TEST_SUITE_P(PreviewPane, PreviewOfABadImage, ::testing::ValuesIn(badImageCases),
                         testing::SaysName());

TEST(PreviewPane, ABitmapFileLargerThanAnyPictureWithinTheLimitIsNotReadAndLeavesThePaneEmpty)
{
    TempFolder folder;
    folder.writeFile("big.bmp", imaging::writeBmp(redBitmap(16, 16)));
    // A sparse file: its valid bitmap followed by 600 MB of nothing on disk.
    std::filesystem::resize_file(folder.pathOf("big.bmp"), std::uintmax_t{600} << 20);
    TestWindow w;
    openWithPreview(w, folder);
    showRow(w, "big.bmp");
    EXPECT_TRUE(w->preview->img_Preview->isEmpty());
    EXPECT_EQ(w->statusText(2), QString());
    EXPECT_TRUE(w.boxes.errors.empty());
}

TEST(PreviewPane, AFileOfNoKindLeavesThePaneEmpty)
{
    TempFolder folder;
    folder.writeFile("a.bmp", imaging::writeBmp(redBitmap(16, 16)));
    folder.writeFile("song.mid", "MThd");
    folder.writeFile("notes.txt", "text");
    TestWindow w;
    openWithPreview(w, folder);
    for (const std::string name : {"song.mid", "notes.txt"}) {
        showRow(w, "a.bmp");
        showRow(w, name);
        EXPECT_TRUE(w->preview->img_Preview->isEmpty()) << name;
        EXPECT_EQ(w->statusText(2), QString()) << name;
    }
}

TEST(PreviewPane, AnEmptyFolderLeavesThePaneEmpty)
{
    TempFolder folder;
    TestWindow w;
    openWithPreview(w, folder);
    EXPECT_EQ(w->before.cell(core::NameColumn, 1), "");
    w->prc_ShowPreview();
    EXPECT_TRUE(w->preview->img_Preview->isEmpty());
    EXPECT_TRUE(w->preview->mdi_Player->isHidden());
    EXPECT_EQ(w->statusText(2), QString());
}

TEST(PreviewPane, TurningThePreviewOnShowsTheSelectedFileAtOnceAndOffEmptiesIt)
{
    TempFolder folder;
    folder.writeFile("a.bmp", imaging::writeBmp(redBitmap(20, 10)));
    TestWindow w;
    ASSERT_TRUE(w.choose(folder.path()));
    EXPECT_TRUE(w->preview->img_Preview->isEmpty());
    w->btn_Preview->click();
    EXPECT_EQ(w->pnl_Preview->width(), 170);
    EXPECT_EQ(w->statusText(2), QStringLiteral("Size: 10x20"));
    EXPECT_EQ(w->preview->img_Preview->geometry(), QRect(2, 2, 162, 162));
    w->btn_Preview->click();
    EXPECT_FALSE(w->PreviewOn);
    EXPECT_EQ(w->pnl_Preview->maximumWidth(), 0);
    EXPECT_TRUE(w->preview->img_Preview->isEmpty());
    EXPECT_EQ(w->statusText(2), QString());
}

TEST(PreviewPane, WithThePreviewHiddenMovingThroughTheListChangesNothing)
{
    TempFolder folder;
    folder.writeFile("a.bmp", imaging::writeBmp(redBitmap(20, 10)));
    folder.writeFile("b.bmp", imaging::writeBmp(redBitmap(20, 10)));
    TestWindow w;
    ASSERT_TRUE(w.choose(folder.path()));
    showRow(w, "b.bmp");
    EXPECT_TRUE(w->preview->img_Preview->isEmpty());
    EXPECT_EQ(w->statusText(2), QString());
}

TEST(PreviewPane, AFileDeletedAfterTheListingIsReportedAndLeavesThePaneEmpty)
{
    TempFolder folder;
    folder.writeFile("gone.bmp", imaging::writeBmp(redBitmap(16, 16)));
    TestWindow w;
    ASSERT_TRUE(w.choose(folder.path()));
    std::filesystem::remove(folder.pathOf("gone.bmp"));
    w->btn_Preview->click();
    EXPECT_TRUE(w->preview->img_Preview->isEmpty());
    EXPECT_EQ(w->statusText(2), QString());
    ASSERT_EQ(w.boxes.errors.size(), 1u);
    EXPECT_FALSE(w.boxes.errors[0].isEmpty());
}

TEST(PreviewPane, TheLastPictureOfAConversionIsShownAlsoWithThePreviewHidden)
{
    TempFolder folder;
    folder.writeFile("a.bmp", imaging::writeBmp(redBitmap(40, 20)));
    TestWindow w;
    ASSERT_TRUE(w.choose(folder.path()));
    w->btn_ChangeBMP2JPEG->click();
    EXPECT_EQ(w->preview->img_Preview->pictureSize(), QSize(40, 20));
    EXPECT_EQ(w->statusText(2), QString());

    // A run that converts nothing leaves the picture alone; one whose last file fails clears it.
    w->btn_ChangeBMP2JPEG->click();
    EXPECT_EQ(w->preview->img_Preview->pictureSize(), QSize(40, 20));
    folder.writeFile("b.bmp", "no bitmap");
    w->btn_Filter->click();
    w->btn_ChangeBMP2JPEG->click();
    EXPECT_TRUE(w->preview->img_Preview->isEmpty());
}

// --- Media --------------------------------------------------------------------------------------

// Whether Qt's media backend plays a WAV file here at all; the media tests skip when it cannot.
bool mediaBackendWorks()
{
    static const bool works = [] {
        TempFolder folder;
        folder.writeFile("probe.wav", wavFile(100));
        QMediaPlayer probe;
        probe.setSource(QUrl::fromLocalFile(QString::fromStdString(folder.pathOf("probe.wav"))));
        const bool loaded =
            QTest::qWaitFor([&] { return probe.mediaStatus() == QMediaPlayer::LoadedMedia; }, 5000);
        probe.setSource(QUrl());
        return loaded;
    }();
    return works;
}

#define SKIP_WITHOUT_MEDIA_BACKEND()                                                                         \
    if (!mediaBackendWorks()) {                                                                              \
        GTEST_SKIP() << "the GStreamer media backend cannot play a WAV file on this machine";                \
    }

// Whether a shared library whose name contains this text is loaded into the test.
bool libraryLoaded(const char* name)
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains(name);
}

TEST(PreviewPane, MediaPlayThroughTheGStreamerBackendEvenWhereFFmpegIsInstalled)
{
    SKIP_WITHOUT_MEDIA_BACKEND();
    EXPECT_TRUE(libraryLoaded("libgstreamermediaplugin"));
    EXPECT_FALSE(libraryLoaded("libffmpegmediaplugin"));
}

std::vector<Button> enabledButtons(const MediaPlayer& player)
{
    std::vector<Button> enabled;
    for (const Button b :
         {Button::Play, Button::Pause, Button::Stop, Button::Prev, Button::Step, Button::Back}) {
        if (player.isButtonEnabled(b)) {
            enabled.push_back(b);
        }
    }
    return enabled;
}

const std::vector<Button> stoppedSet{Button::Play, Button::Prev, Button::Step, Button::Back};
const std::vector<Button> playingSet{Button::Pause, Button::Stop};

TEST(PreviewPane, ASoundOpensStoppedWithTheBarAlongTheBottomAndThePositionOverStatusPanelTwo)
{
    SKIP_WITHOUT_MEDIA_BACKEND();
    TempFolder folder;
    folder.writeFile("sound.wav", wavFile(300));
    TestWindow w;
    openWithPreview(w, folder);
    showRow(w, "sound.wav");
    MediaPlayer& player = *w->preview->mdi_Player;
    EXPECT_TRUE(player.isOpen());
    EXPECT_FALSE(player.isHidden());
    EXPECT_EQ(player.geometry(), QRect(-3, 147, 170, 20));
    EXPECT_TRUE(w->preview->tim_Timer.isActive());
    EXPECT_EQ(w->preview->tim_Timer.interval(), 100);
    EXPECT_EQ(enabledButtons(player), stoppedSet);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return w->preview->positionDisplayText() == QStringLiteral("00:0:0 / 00:0:3"); }, 3000))
        << w->preview->positionDisplayText().toStdString();
    // The display covers panel 2 but its edges, and draws its text in black.
    auto* display = w->sta_StatusBar->findChild<QWidget*>(QStringLiteral("tim_TimerDisplay"));
    ASSERT_NE(display, nullptr);
    const QRect panel =
        w->sta_StatusBar->findChild<QLabel*>(QStringLiteral("sta_StatusBar_Panel2"))->geometry();
    EXPECT_EQ(display->geometry(), QRect(panel.left() + 5, 3, 155, w->sta_StatusBar->height() - 8));
    const QImage drawn = display->grab().toImage();
    bool black = false;
    for (int y = 0; y < drawn.height() && !black; ++y) {
        for (int x = 0; x < drawn.width() && !black; ++x) {
            black = drawn.pixelColor(x, y).lightness() < 60;
        }
    }
    EXPECT_TRUE(black);
    EXPECT_TRUE(w->preview->img_Preview->isEmpty());
    EXPECT_EQ(w->statusText(2), QString());
    EXPECT_TRUE(w.boxes.errors.empty());
}

TEST(PreviewPane, AutoPlayPlaysAtOnceAndTheEndOfPlaybackEnablesTheStoppedSet)
{
    SKIP_WITHOUT_MEDIA_BACKEND();
    TempFolder folder;
    folder.writeFile("short.wav", wavFile(300));
    TestWindow w;
    w->chk_Set_AutoPlay->setChecked(true);
    openWithPreview(w, folder);
    showRow(w, "short.wav");
    MediaPlayer& player = *w->preview->mdi_Player;
    EXPECT_EQ(enabledButtons(player), playingSet);
    EXPECT_TRUE(QTest::qWaitFor([&] { return player.isButtonEnabled(Button::Play); }, 5000));
    EXPECT_EQ(enabledButtons(player), stoppedSet);
    EXPECT_EQ(player.mode(), MediaPlayer::Mode::Stopped);

    // Play at the end starts again from the beginning and ends again.
    player.press(Button::Play);
    EXPECT_EQ(enabledButtons(player), playingSet);
    EXPECT_TRUE(QTest::qWaitFor([&] { return player.mode() == MediaPlayer::Mode::Playing; }, 2000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return player.isButtonEnabled(Button::Play); }, 5000));
    EXPECT_TRUE(w.boxes.errors.empty());
}

TEST(PreviewPane, StopDuringPlaybackReturnsToTheStartWithTheStoppedSet)
{
    SKIP_WITHOUT_MEDIA_BACKEND();
    TempFolder folder;
    folder.writeFile("long.wav", wavFile(3000));
    TestWindow w;
    w->chk_Set_AutoPlay->setChecked(true);
    openWithPreview(w, folder);
    showRow(w, "long.wav");
    MediaPlayer& player = *w->preview->mdi_Player;
    ASSERT_TRUE(QTest::qWaitFor([&] { return player.position() >= 200; }, MediaPlayer::loadLimit + 1000))
        << "open " << player.isOpen() << ", mode " << static_cast<int>(player.mode());
    player.press(Button::Stop);
    EXPECT_TRUE(QTest::qWaitFor([&] { return player.position() == 0; }, 2000));
    EXPECT_EQ(player.mode(), MediaPlayer::Mode::Stopped);
    EXPECT_EQ(enabledButtons(player), stoppedSet);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return w->preview->positionDisplayText() == QStringLiteral("00:0:0 / 00:3:0"); }, 2000));

    // Pause keeps the position and Play goes on from it.
    player.press(Button::Play);
    ASSERT_TRUE(QTest::qWaitFor([&] { return player.position() >= 200; }, MediaPlayer::loadLimit + 1000));
    player.press(Button::Pause);
    ASSERT_TRUE(QTest::qWaitFor([&] { return player.mode() == MediaPlayer::Mode::Paused; }, 2000));
    EXPECT_EQ(enabledButtons(player), stoppedSet);
    const qint64 paused = player.position();
    EXPECT_GE(paused, 200);
    player.press(Button::Play);
    EXPECT_EQ(enabledButtons(player), playingSet);
    EXPECT_TRUE(QTest::qWaitFor([&] { return player.position() > paused; }, 2000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return player.position() >= paused + 100; }, 2000));
    player.press(Button::Stop);
    ASSERT_TRUE(QTest::qWaitFor([&] { return player.position() == 0; }, 2000));

    // Step and Back move no sound and report nothing.
    player.press(Button::Step);
    player.press(Button::Back);
    EXPECT_EQ(player.position(), 0);
    EXPECT_TRUE(w.boxes.errors.empty());
}

TEST(PreviewPane, ARunClosesThePlayerButLeavesTheBarAndATickDrawsNothing)
{
    SKIP_WITHOUT_MEDIA_BACKEND();
    TempFolder folder;
    folder.writeFile("sound.wav", wavFile(2000));
    TestWindow w;
    w->chk_Set_AutoPlay->setChecked(true);
    openWithPreview(w, folder);
    showRow(w, "sound.wav");
    MediaPlayer& player = *w->preview->mdi_Player;
    ASSERT_TRUE(player.isOpen());
    w->btn_ChangeAttrRun->click();
    EXPECT_FALSE(player.isOpen());
    EXPECT_FALSE(player.isHidden());
    EXPECT_TRUE(w->preview->tim_Timer.isActive());
    EXPECT_TRUE(QTest::qWaitFor([&] { return w->preview->positionDisplayShown(); }, 2000));
    EXPECT_EQ(w->preview->positionDisplayText(), QString());

    player.button(player.isButtonEnabled(Button::Play) ? Button::Play : Button::Stop)->click();
    EXPECT_EQ(w.boxes.errors, std::vector<QString>{QStringLiteral("MCI デバイスがありません")});

    showRow(w, "sound.wav");
    EXPECT_TRUE(player.isOpen());
}

TEST(PreviewPane, SelectingATextFileOrHidingThePreviewStopsTheSound)
{
    SKIP_WITHOUT_MEDIA_BACKEND();
    TempFolder folder;
    folder.writeFile("sound.wav", wavFile(2000));
    folder.writeFile("notes.txt", "text");
    TestWindow w;
    w->chk_Set_AutoPlay->setChecked(true);
    openWithPreview(w, folder);
    MediaPlayer& player = *w->preview->mdi_Player;

    showRow(w, "sound.wav");
    ASSERT_EQ(player.mode(), MediaPlayer::Mode::Playing);
    showRow(w, "notes.txt");
    EXPECT_FALSE(player.isOpen());
    EXPECT_TRUE(player.isHidden());
    EXPECT_FALSE(w->preview->tim_Timer.isActive());
    EXPECT_FALSE(w->preview->positionDisplayShown());

    showRow(w, "sound.wav");
    ASSERT_TRUE(player.isOpen());
    w->btn_Preview->click();
    EXPECT_FALSE(player.isOpen());
    EXPECT_FALSE(player.isHidden());
    EXPECT_TRUE(w->preview->tim_Timer.isActive());
    QTest::qWait(150);
    EXPECT_FALSE(w->preview->positionDisplayShown());
}

struct BadMediaCase
{
    const char* says;
    std::string name;
    std::function<std::string()> content;
};

const BadMediaCase badMediaCases[] = {
    {"an empty sound file", "empty.wav",
     [] {
         return std::string();
     }},
    {"a sound file cut inside its header", "cut.wav",
     [] {
         return wavFile(300).substr(0, 20);
     }},
    {"an MP3 holding text", "text.mp3",
     [] {
         return std::string(4000, 'x');
     }},
    {"a video cut inside its header", "cut.avi",
     [] {
         return std::string("RIFF\x40\0\0\0AVI LIST\x20\0\0\0hdrl", 24);
     }},
};

class PreviewOfBadMedia : public ::testing::TestWithParam<BadMediaCase>
{};

TEST_P(PreviewOfBadMedia, LeavesThePaneEmptyTheBarHiddenAndTheTimerStoppedWithoutAMessage)
{
    SKIP_WITHOUT_MEDIA_BACKEND();
    const BadMediaCase& c = GetParam();
    TempFolder folder;
    folder.writeFile(c.name, c.content());
    TestWindow w;
    openWithPreview(w, folder);
    showRow(w, c.name);
    MediaPlayer& player = *w->preview->mdi_Player;
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return !player.isOpen() && player.isHidden() && !w->preview->tim_Timer.isActive(); },
        MediaPlayer::loadLimit + 3000));
    EXPECT_TRUE(w->preview->img_Preview->isEmpty());
    EXPECT_TRUE(w.boxes.errors.empty());
}

INSTANTIATE_TEST_SUITE_P(PreviewPane, PreviewOfBadMedia, ::testing::ValuesIn(badMediaCases),
                         testing::SaysName());

TEST(PreviewPane, AVideoIsDrawnInItsRectangleAndStepsByOneFrame)
{
    SKIP_WITHOUT_MEDIA_BACKEND();
    const QString launcher = QStandardPaths::findExecutable(QStringLiteral("gst-launch-1.0"));
    if (launcher.isEmpty()) {
        GTEST_SKIP() << "gst-launch-1.0 is not installed, so no test video can be made";
    }
    TempFolder folder;
    const QString video = QString::fromStdString(folder.pathOf("clip.avi"));
    QProcess make;
    make.start(launcher,
               {QStringLiteral("-q"), QStringLiteral("videotestsrc"), QStringLiteral("num-buffers=10"),
                QStringLiteral("!"), QStringLiteral("video/x-raw,width=64,height=48,framerate=10/1"),
                QStringLiteral("!"), QStringLiteral("jpegenc"), QStringLiteral("!"), QStringLiteral("avimux"),
                QStringLiteral("!"), QStringLiteral("filesink"), QStringLiteral("location=") + video});
    if (!make.waitForFinished(10000) || make.exitCode() != 0) {
        GTEST_SKIP() << "GStreamer's test sources could not make an MJPEG video";
    }
    TestWindow w;
    openWithPreview(w, folder);
    showRow(w, "clip.avi");
    MediaPlayer& player = *w->preview->mdi_Player;
    auto* display = w->pnl_Preview->findChild<QVideoWidget*>(QStringLiteral("mdi_PlayerDisplay"));
    ASSERT_NE(display, nullptr);
    EXPECT_TRUE(QTest::qWaitFor([&] { return player.hasVideo() && !display->isHidden(); }, 3000));
    EXPECT_EQ(display->geometry(), QRect(2, 2, 162, 144));
    EXPECT_TRUE(QTest::qWaitFor([&] { return player.length() >= 900; }, 3000));

    // Ten frames a second: a step is a tenth of a second.
    player.press(Button::Play);
    ASSERT_TRUE(QTest::qWaitFor([&] { return player.position() >= 300; }, MediaPlayer::loadLimit + 1000));
    player.press(Button::Pause);
    ASSERT_TRUE(QTest::qWaitFor([&] { return player.mode() == MediaPlayer::Mode::Paused; }, 2000));
    const qint64 paused = player.position();
    player.press(Button::Step);
    EXPECT_TRUE(QTest::qWaitFor([&] { return player.position() == paused + 100; }, 2000))
        << player.position();
    player.press(Button::Back);
    player.press(Button::Back);
    EXPECT_TRUE(QTest::qWaitFor([&] { return player.position() == paused - 100; }, 2000))
        << player.position();
    EXPECT_TRUE(w.boxes.errors.empty());
}

} // namespace
} // namespace quorvane::ui
