#include "imaging/Conversion.h"

#include "ImageSamples.h"
#include "core/listing/Listing.h"
#include "imaging/Bmp.h"
#include "imaging/Jpeg.h"
#include "platform/ErrorCode.h"
#include "platform/posix/PosixFileSystem.h"
#include "support/CaseName.h"
#include "support/ForwardingFileSystem.h"
#include "support/FuseMount.h"
#include "support/TempFolder.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quorvane::imaging {
namespace {

using testing::gradient;
using testing::TempFolder;

// The real file system with chosen calls made to fail.
class FailingFileSystem final : public testing::ForwardingFileSystem
{
public:
    std::error_code failWrite;
    std::error_code failRename;

    std::error_code writeTemporaryFile(std::string_view folder, std::string_view bytes,
                                       std::optional<std::uint32_t> permissions,
                                       std::string& temporaryPath) override
    {
        return failWrite
                   ? failWrite
                   : ForwardingFileSystem::writeTemporaryFile(folder, bytes, permissions, temporaryPath);
    }
    std::error_code renameReplacing(std::string_view from, std::string_view to) override
    {
        return failRename ? failRename : ForwardingFileSystem::renameReplacing(from, to);
    }
};

core::FileTable beforeList(const std::vector<std::string>& names)
{
    core::FileTable table;
    table.setRow(0, core::beforeListHeader());
    table.setRowCount(static_cast<int>(names.size()) + 1);
    for (std::size_t i = 0; i < names.size(); ++i) {
        table.setCell(core::NameColumn, static_cast<int>(i) + 1, names[i]);
    }
    return table;
}

std::vector<std::string> filesIn(const TempFolder& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string bmpOf(int width, int height)
{
    return writeBmp(gradient(width, height));
}
std::string jpegOf(int width, int height)
{
    return encodeJpeg(gradient(width, height), {90, false, false}).value();
}

ConversionResult convert(const TempFolder& folder, const std::vector<std::string>& names,
                         ConversionOptions options, platform::FileSystem* fileSystem = nullptr)
{
    platform::PosixFileSystem real;
    return convertImages(beforeList(names), folder.path(), options,
                         fileSystem != nullptr ? *fileSystem : real);
}

struct NameCase
{
    const char* says;
    std::string name;
    ConversionMode mode;
    std::string expected;
};

const NameCase nameCases[] = {
    {"an upper-case extension matches and the new one is lower case", "Photo.BMP", ConversionMode::BmpToJpeg,
     "Photo.jpg"},
    {"only the last extension is replaced", "a.b.bmp", ConversionMode::BmpToNewJpeg, "a.b.jpg"},
    {"a jpeg extension becomes bmp", "scan.jpeg", ConversionMode::JpegToBmp, "scan.bmp"},
    {"a mixed-case jpg extension matches", "x.JpG", ConversionMode::JpegToNewBmp, "x.bmp"},
    {"a JPEG is not converted in a BMP mode", "x.jpg", ConversionMode::BmpToJpeg, ""},
    {"a bitmap is not converted in a JPEG mode", "x.bmp", ConversionMode::JpegToBmp, ""},
    {"a name without extension is not converted", "bmp", ConversionMode::BmpToJpeg, ""},
    {"a longer extension does not match", "x.bmpx", ConversionMode::BmpToJpeg, ""},
    {"only ASCII letters are folded", "x.\xEF\xBD\x82mp", ConversionMode::BmpToJpeg, ""},
    {"a name that is only an extension keeps its empty stem", ".bmp", ConversionMode::BmpToJpeg, ".jpg"},
};

class ConvertedName : public ::testing::TestWithParam<NameCase>
{};

TEST_P(ConvertedName, FollowsTheExtensionRule)
{
    EXPECT_EQ(convertedName(GetParam().name, GetParam().mode), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Names, ConvertedName, ::testing::ValuesIn(nameCases), testing::SaysName());

struct ModeCase
{
    const char* says;
    ConversionMode mode;
    std::string source;
    std::string target;
    bool sourceKept;
};

const ModeCase modeCases[] = {
    {"BMP to JPEG replaces the bitmap", ConversionMode::BmpToJpeg, "Photo.BMP", "Photo.jpg", false},
    {"JPEG to BMP replaces the JPEG", ConversionMode::JpegToBmp, "scan.jpeg", "scan.bmp", false},
    {"BMP to new JPEG keeps the bitmap", ConversionMode::BmpToNewJpeg, "a.b.bmp", "a.b.jpg", true},
    {"JPEG to new BMP keeps the JPEG", ConversionMode::JpegToNewBmp, "x.jpg", "x.bmp", true},
};

class ConversionMode_ : public ::testing::TestWithParam<ModeCase>
{};

TEST_P(ConversionMode_, ConvertsThePictureAndTreatsTheSourceAsTheModeSays)
{
    const ModeCase& c = GetParam();
    const TempFolder folder;
    const bool toJpeg = c.mode == ConversionMode::BmpToJpeg || c.mode == ConversionMode::BmpToNewJpeg;
    // An odd width pads every bitmap row.
    const Bitmap original = gradient(37, 23);
    folder.writeFile(c.source,
                     toJpeg ? writeBmp(original) : encodeJpeg(original, {100, false, false}).value());
    folder.writeFile("notes.txt", "text");
    const ConversionResult result = convert(folder, {"notes.txt", c.source}, {c.mode, 100, false, false, 0});

    ASSERT_FALSE(result.stop.has_value());
    EXPECT_EQ(result.converted, 1);
    EXPECT_EQ(result.message, "変換が完了しました");
    std::vector<std::string> expected = {"notes.txt", c.target};
    if (c.sourceKept) {
        expected.push_back(c.source);
    }
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(filesIn(folder), expected);

    const std::string written = folder.readFile(c.target);
    const std::optional<Bitmap> converted = toJpeg ? decodeJpeg(written) : readBmp(written);
    ASSERT_TRUE(converted.has_value());
    ASSERT_EQ(converted->width, 37);
    ASSERT_EQ(converted->height, 23);
    EXPECT_LT(testing::meanDifference(*converted, original), 2.0);
    // The preview shows the picture as read: the source bitmap, or the JPEG as decoded.
    ASSERT_TRUE(result.lastImage.has_value());
    EXPECT_EQ(readBmp(*result.lastImage), toJpeg ? std::optional<Bitmap>(original) : converted);
}

INSTANTIATE_TEST_SUITE_P(Modes, ConversionMode_, ::testing::ValuesIn(modeCases), testing::SaysName());

TEST(Conversion, AJpegDecodedToBmpIsWrittenExactlyAsDecoded)
{
    const TempFolder folder;
    const std::string jpeg = jpegOf(31, 7);
    folder.writeFile("odd.jpg", jpeg);
    convert(folder, {"odd.jpg"}, {ConversionMode::JpegToBmp, 100, false, false, 0});
    EXPECT_EQ(readBmp(folder.readFile("odd.bmp")), decodeJpeg(jpeg));
}

TEST(Conversion, AGreyscaleJpegBecomesAnEightBitBitmap)
{
    const TempFolder folder;
    folder.writeFile("grey.jpg", encodeJpeg(gradient(9, 9), {80, true, false}).value());
    convert(folder, {"grey.jpg"}, {ConversionMode::JpegToNewBmp, 100, false, false, 0});
    const std::string bmp = folder.readFile("grey.bmp");
    ASSERT_GT(bmp.size(), 30u);
    EXPECT_EQ(bmp[28], 8);
}

TEST(Conversion, TheOptionsReachTheEncoder)
{
    const TempFolder folder;
    folder.writeFile("p.bmp", bmpOf(20, 20));
    convert(folder, {"p.bmp"}, {ConversionMode::BmpToJpeg, 50, true, true, 0});
    const std::optional<Bitmap> decoded = decodeJpeg(folder.readFile("p.jpg"));
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(decoded->bitsPerPixel, 8);
    EXPECT_NE(folder.readFile("p.jpg").find("\xFF\xC2"), std::string::npos);
}

TEST(Conversion, AnInvalidImageIsSkippedSilentlyAndTheRunGoesOn)
{
    const TempFolder folder;
    folder.writeFile("broken.bmp", "not a bitmap");
    folder.writeFile("good.bmp", bmpOf(8, 8));
    folder.writeFile("last.bmp", "BM");
    const ConversionResult result = convert(folder, {"broken.bmp", "good.bmp", "last.bmp"},
                                            {ConversionMode::BmpToJpeg, 90, false, false, 0});
    ASSERT_FALSE(result.stop.has_value());
    EXPECT_EQ(result.converted, 1);
    EXPECT_EQ(result.message, "変換が完了しました");
    EXPECT_EQ(filesIn(folder), (std::vector<std::string>{"broken.bmp", "good.jpg", "last.bmp"}));
    EXPECT_FALSE(result.lastImage.has_value()) << "the last row failed, so the preview is empty";
}

TEST(Conversion, AListWithoutImagesStillCompletes)
{
    const TempFolder folder;
    folder.writeFile("a.txt", "x");
    const ConversionResult result = convert(folder, {"a.txt", ""}, {});
    EXPECT_EQ(result.message, "変換が完了しました");
    EXPECT_EQ(filesIn(folder), (std::vector<std::string>{"a.txt"}));
}

TEST(Conversion, ANewJpegReplacesAnExistingFileOfItsName)
{
    const TempFolder folder;
    folder.writeFile("p.bmp", bmpOf(8, 8));
    folder.writeFile("p.jpg", "old");
    const ConversionResult result =
        convert(folder, {"p.bmp", "p.jpg"}, {ConversionMode::BmpToNewJpeg, 90, false, false, 0});
    ASSERT_FALSE(result.stop.has_value());
    EXPECT_TRUE(decodeJpeg(folder.readFile("p.jpg")).has_value());
    EXPECT_EQ(filesIn(folder), (std::vector<std::string>{"p.bmp", "p.jpg"}));
}

TEST(Conversion, TheSecondRowWritingTheSameNewFileIsSkippedWithItsSourceKept)
{
    const TempFolder folder;
    const std::string first = jpegOf(10, 10);
    folder.writeFile("x.jpg", first);
    folder.writeFile("x.jpeg", jpegOf(12, 12));
    const ConversionResult result =
        convert(folder, {"x.jpg", "x.jpeg"}, {ConversionMode::JpegToBmp, 100, false, false, 0});
    ASSERT_FALSE(result.stop.has_value());
    EXPECT_EQ(filesIn(folder), (std::vector<std::string>{"x.bmp", "x.jpeg"}));
    EXPECT_EQ(readBmp(folder.readFile("x.bmp"))->width, 10);
    ASSERT_EQ(result.skipped.size(), 1u);
    EXPECT_EQ(result.skipped[0].name, "x.jpeg");
    EXPECT_NE(result.message.find("変換が完了しました"), std::string::npos);
    EXPECT_NE(result.message.find("x.jpeg → x.bmp"), std::string::npos);
}

TEST(Conversion, AFileThatVanishedStopsTheRunAtItsRowWithTheSystemsText)
{
    const TempFolder folder;
    folder.writeFile("a.bmp", bmpOf(8, 8));
    folder.writeFile("c.bmp", bmpOf(8, 8));
    const ConversionResult result =
        convert(folder, {"a.bmp", "b.bmp", "c.bmp"}, {ConversionMode::BmpToJpeg, 90, false, false, 2});
    ASSERT_TRUE(result.stop.has_value());
    EXPECT_EQ(result.stop->row, 2);
    EXPECT_EQ(result.stop->name, "b.bmp");
    EXPECT_EQ(result.stop->errorText, platform::errorText(platform::errorFromErrno(ENOENT)));
    EXPECT_TRUE(result.message.empty());
    EXPECT_EQ(filesIn(folder), (std::vector<std::string>{"a.jpg", "c.bmp"}));
}

TEST(Conversion, AReadOnlyTargetStopsTheRunAndStaysAsItWas)
{
    const TempFolder folder;
    folder.writeFile("p.bmp", bmpOf(8, 8));
    folder.writeFile("p.jpg", "protected");
    chmod(folder.pathOf("p.jpg").c_str(), 0444);
    const ConversionResult result =
        convert(folder, {"p.bmp"}, {ConversionMode::BmpToJpeg, 90, false, false, 0});
    ASSERT_TRUE(result.stop.has_value());
    EXPECT_EQ(result.stop->errorText, platform::errorText(platform::errorFromErrno(EACCES)));
    EXPECT_EQ(folder.readFile("p.jpg"), "protected");
    EXPECT_EQ(filesIn(folder), (std::vector<std::string>{"p.bmp", "p.jpg"}));
}

TEST(Conversion, AFailedWriteLeavesNoPartFileAndKeepsTheFileItWouldReplace)
{
    const TempFolder folder;
    folder.writeFile("p.bmp", bmpOf(8, 8));
    folder.writeFile("p.jpg", "earlier picture");
    FailingFileSystem failing;
    failing.failWrite = platform::errorFromErrno(ENOSPC);
    const ConversionResult result =
        convert(folder, {"p.bmp"}, {ConversionMode::BmpToJpeg, 90, false, false, 0}, &failing);
    ASSERT_TRUE(result.stop.has_value());
    EXPECT_EQ(result.stop->errorText, platform::errorText(platform::errorFromErrno(ENOSPC)));
    EXPECT_EQ(folder.readFile("p.jpg"), "earlier picture");
    EXPECT_EQ(filesIn(folder), (std::vector<std::string>{"p.bmp", "p.jpg"}));
}

TEST(Conversion, AFailedRenameRemovesTheTemporaryFileAndKeepsTheSource)
{
    const TempFolder folder;
    folder.writeFile("p.bmp", bmpOf(8, 8));
    FailingFileSystem failing;
    failing.failRename = platform::errorFromErrno(EIO);
    const ConversionResult result =
        convert(folder, {"p.bmp"}, {ConversionMode::BmpToJpeg, 90, false, false, 0}, &failing);
    ASSERT_TRUE(result.stop.has_value());
    EXPECT_EQ(filesIn(folder), (std::vector<std::string>{"p.bmp"}));
}

// Property: with workers, the files and the stopping row are those of converting row by row.
TEST(Conversion, WorkersProduceTheFilesOfInOrderProcessing)
{
    for (const int threads : {1, 2, 4}) {
        const TempFolder folder;
        std::vector<std::string> names;
        for (int i = 0; i < 12; ++i) {
            names.push_back("p" + std::to_string(10 + i) + ".bmp");
            if (i != 7) {
                folder.writeFile(names.back(), i == 3 ? "broken" : bmpOf(16 + i, 8));
            }
        }
        std::vector<std::pair<int, int>> progress;
        platform::PosixFileSystem real;
        const ConversionResult result = convertImages(
            beforeList(names), folder.path(), {ConversionMode::BmpToJpeg, 90, false, false, threads}, real,
            [&](int done, int total) { progress.emplace_back(done, total); });
        ASSERT_TRUE(result.stop.has_value());
        EXPECT_EQ(result.stop->name, "p17.bmp");
        EXPECT_EQ(result.converted, 6);
        EXPECT_EQ(filesIn(folder),
                  (std::vector<std::string>{"p10.jpg", "p11.jpg", "p12.jpg", "p13.bmp", "p14.jpg", "p15.jpg",
                                            "p16.jpg", "p18.bmp", "p19.bmp", "p20.bmp", "p21.bmp"}))
            << threads << " threads";
        ASSERT_EQ(progress.size(), 7u);
        EXPECT_EQ(progress.back(), std::make_pair(7, 12));
        ASSERT_TRUE(result.lastImage.has_value());
        EXPECT_EQ(readBmp(*result.lastImage)->width, 22);
    }
}

// The workers write new files ahead of the row being committed; a stop discards those.
TEST(Conversion, AStopRemovesTheNewFilesAlreadyWrittenForLaterRows)
{
    for (const ConversionMode mode : {ConversionMode::BmpToJpeg, ConversionMode::JpegToBmp}) {
        const TempFolder folder;
        const bool toJpeg = mode == ConversionMode::BmpToJpeg;
        std::vector<std::string> names;
        for (const char* stem : {"a", "b", "c", "d", "e", "f"}) {
            names.push_back(std::string(stem) + (toJpeg ? ".bmp" : ".jpg"));
            folder.writeFile(names.back(), toJpeg ? bmpOf(24, 16) : jpegOf(24, 16));
        }
        const std::string target = toJpeg ? "c.jpg" : "c.bmp";
        folder.writeFile(target, "protected");
        chmod(folder.pathOf(target).c_str(), 0444);
        const ConversionResult result = convert(folder, names, {mode, 90, false, false, 2});
        ASSERT_TRUE(result.stop.has_value());
        EXPECT_EQ(result.stop->name, names[2]);
        EXPECT_EQ(result.converted, 2);
        EXPECT_EQ(folder.readFile(target), "protected");
        const std::string a = toJpeg ? "a.jpg" : "a.bmp";
        const std::string b = toJpeg ? "b.jpg" : "b.bmp";
        std::vector<std::string> expected = {a, b, target, names[2], names[3], names[4], names[5]};
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(filesIn(folder), expected);
    }
}

TEST(ConversionOnExfat, TwoSourcesWhoseNewNamesDifferOnlyInCaseKeepTheFirstPictureAndTheSecondSource)
{
    const testing::FuseMount exfat(testing::FuseMount::Exfat);
    if (!exfat.mounted()) {
        GTEST_SKIP() << exfat.skipReason();
    }
    std::ofstream(exfat.pathOf("Photo.jpg"), std::ios::binary) << jpegOf(10, 10);
    std::ofstream(exfat.pathOf("photo.jpeg"), std::ios::binary) << jpegOf(12, 12);
    platform::PosixFileSystem fileSystem;
    const ConversionResult result =
        convertImages(beforeList({"Photo.jpg", "photo.jpeg"}), exfat.path(),
                      {ConversionMode::JpegToBmp, 100, false, false, 0}, fileSystem);
    ASSERT_FALSE(result.stop.has_value());
    ASSERT_EQ(result.skipped.size(), 1u);
    EXPECT_EQ(result.skipped[0].name, "photo.jpeg");
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(exfat.path())) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    // The source went to the trash at the top of the file system, which the run made.
    EXPECT_EQ(names,
              (std::vector<std::string>{".Trash-" + std::to_string(getuid()), "Photo.bmp", "photo.jpeg"}));
    std::ifstream in(exfat.pathOf("Photo.bmp"), std::ios::binary);
    const std::string bitmap{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    ASSERT_TRUE(readBmp(bitmap).has_value());
    EXPECT_EQ(readBmp(bitmap)->width, 10);
}

struct PermissionCase
{
    const char* says;
    ConversionMode mode;
    mode_t source;
    std::optional<mode_t> target; // a file the new one replaces
    mode_t expected;
};

void PrintTo(const PermissionCase& c, std::ostream* out)
{
    *out << c.says;
}

const PermissionCase permissionCases[] = {
    {"a private source gives a private new file", ConversionMode::BmpToJpeg, 0600, std::nullopt, 0600},
    {"a read-only source gives a read-only new file", ConversionMode::JpegToNewBmp, 0444, std::nullopt, 0444},
    {"a replaced file does not pass its own bits on", ConversionMode::BmpToNewJpeg, 0640, 0666, 0640},
};

class ConversionPermissions : public ::testing::TestWithParam<PermissionCase>
{};

TEST_P(ConversionPermissions, AreTheSourcesPermissionBits)
{
    const PermissionCase& c = GetParam();
    const TempFolder folder;
    const bool toJpeg = c.mode == ConversionMode::BmpToJpeg || c.mode == ConversionMode::BmpToNewJpeg;
    const std::string source = toJpeg ? "p.bmp" : "p.jpg";
    const std::string made = toJpeg ? "p.jpg" : "p.bmp";
    folder.writeFile(source, toJpeg ? bmpOf(8, 8) : jpegOf(8, 8));
    chmod(folder.pathOf(source).c_str(), c.source);
    if (c.target) {
        folder.writeFile(made, "older");
        chmod(folder.pathOf(made).c_str(), *c.target);
    }
    ASSERT_FALSE(convert(folder, {source}, {c.mode, 90, false, false, 0}).stop.has_value());
    struct stat info
    {};
    ASSERT_EQ(stat(folder.pathOf(made).c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, c.expected);
}

INSTANTIATE_TEST_SUITE_P(Modes, ConversionPermissions, ::testing::ValuesIn(permissionCases),
                         testing::SaysName());

TEST(Conversion, ASourceReplacedAfterTheListingStopsTheRunAndStaysAsItIs)
{
    const TempFolder folder;
    folder.writeFile("a.bmp", bmpOf(8, 8));
    platform::PosixFileSystem fileSystem;
    core::FileTable before;
    core::FileTable after;
    core::listFolder(fileSystem, {folder.path(), "*", false, false}, before, after);
    folder.writeFile(".replacement", bmpOf(4, 4));
    ASSERT_EQ(rename(folder.pathOf(".replacement").c_str(), folder.pathOf("a.bmp").c_str()), 0);

    const ConversionResult result =
        convertImages(before, folder.path(), {ConversionMode::BmpToJpeg, 90, false, false, 0}, fileSystem);
    ASSERT_TRUE(result.stop.has_value());
    EXPECT_EQ(result.stop->errorText, "一覧に表示した後で、別のファイルに置き換えられています");
    EXPECT_EQ(filesIn(folder), std::vector<std::string>{"a.bmp"});
    EXPECT_EQ(folder.readFile("a.bmp"), bmpOf(4, 4));
}

TEST(Conversion, AListedFolderThatIsGoneConvertsNothingAndSaysSo)
{
    const TempFolder root;
    root.makeFolder("photos");
    root.writeFile("photos/a.bmp", bmpOf(8, 8));
    const std::string folder = root.pathOf("photos");
    platform::PosixFileSystem fileSystem;
    core::FileTable before;
    core::FileTable after;
    core::listFolder(fileSystem, {folder, "*", false, false}, before, after);
    ASSERT_EQ(rename(folder.c_str(), root.pathOf("moved").c_str()), 0);
    root.makeFolder("photos");
    root.writeFile("photos/a.bmp", bmpOf(4, 4));

    const ConversionResult result =
        convertImages(before, folder, {ConversionMode::BmpToJpeg, 90, false, false, 0}, fileSystem);
    EXPECT_TRUE(result.refusal);
    EXPECT_EQ(result.message,
              "一覧のフォルダが削除されたか、別のフォルダに変わっています。何も変更しませんでした\r\n\r\n" +
                  folder);
    EXPECT_EQ(root.readFile("photos/a.bmp"), bmpOf(4, 4));
    EXPECT_FALSE(std::filesystem::exists(root.pathOf("photos/a.jpg")));
}

// Records, in order, each new file put in place, each folder sync, each move to the trash and each
// deletion; a sync may fail.
class RecordingFileSystem final : public testing::ForwardingFileSystem
{
public:
    std::vector<std::string> calls;
    std::error_code failSync;

    std::error_code renameReplacing(std::string_view from, std::string_view to) override
    {
        calls.push_back("put " + std::string(to.substr(to.rfind('/') + 1)));
        return ForwardingFileSystem::renameReplacing(from, to);
    }
    std::error_code syncFolder(std::string_view folder) override
    {
        calls.emplace_back("sync");
        return failSync ? failSync : ForwardingFileSystem::syncFolder(folder);
    }
    std::error_code removeFile(std::string_view path) override
    {
        calls.push_back("delete " + std::string(path.substr(path.rfind('/') + 1)));
        return ForwardingFileSystem::removeFile(path);
    }
    std::error_code moveToTrash(std::string_view path, std::string& trashedPath) override
    {
        calls.push_back("trash " + std::string(path.substr(path.rfind('/') + 1)));
        return ForwardingFileSystem::moveToTrash(path, trashedPath);
    }
};

TEST(Conversion, TheFolderIsSyncedBetweenPuttingANewFileInPlaceAndTrashingItsSource)
{
    const TempFolder folder;
    folder.writeFile("a.bmp", bmpOf(8, 8));
    folder.writeFile("b.bmp", bmpOf(8, 8));
    RecordingFileSystem fileSystem;
    ASSERT_FALSE(
        convert(folder, {"a.bmp", "b.bmp"}, {ConversionMode::BmpToJpeg, 90, false, false, 2}, &fileSystem)
            .stop.has_value());
    EXPECT_EQ(fileSystem.calls, (std::vector<std::string>{"put a.jpg", "sync", "trash a.bmp", "put b.jpg",
                                                          "sync", "trash b.bmp"}));

    // A folder that cannot be synced keeps the source, and the message names it.
    folder.writeFile("c.bmp", bmpOf(8, 8));
    fileSystem.failSync = platform::errorFromErrno(EIO);
    const ConversionResult result =
        convert(folder, {"c.bmp"}, {ConversionMode::BmpToJpeg, 90, false, false, 0}, &fileSystem);
    EXPECT_EQ(result.undeletedSources, std::vector<std::string>{"c.bmp"});
    EXPECT_EQ(filesIn(folder), (std::vector<std::string>{"a.jpg", "b.jpg", "c.bmp", "c.jpg"}));
}

struct ThreadLimitCase
{
    const char* says;
    int startable; // threads the system gives before it refuses
};

void PrintTo(const ThreadLimitCase& c, std::ostream* out)
{
    *out << c.says;
}

const ThreadLimitCase threadLimitCases[] = {
    {"without any thread the calling thread converts every row", 0},
    {"with one thread of four the run goes on with that one", 1},
};

class ConversionAtTheThreadLimit : public ::testing::TestWithParam<ThreadLimitCase>
{};

TEST_P(ConversionAtTheThreadLimit, ConvertsEveryRow)
{
    const ThreadLimitCase& c = GetParam();
    const TempFolder folder;
    std::vector<std::string> names;
    for (int i = 0; i < 6; ++i) {
        names.push_back("p" + std::to_string(i) + ".bmp");
        folder.writeFile(names.back(), bmpOf(8 + i, 8));
    }
    int started = 0;
    ConversionOptions options{ConversionMode::BmpToJpeg, 90, false, false, 4};
    options.startThread = [&](std::function<void()> work) {
        if (started == c.startable) {
            throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
        }
        ++started;
        return std::thread(std::move(work));
    };
    const ConversionResult result = convert(folder, names, options);
    ASSERT_FALSE(result.stop.has_value());
    EXPECT_EQ(result.converted, 6);
    EXPECT_EQ(filesIn(folder),
              (std::vector<std::string>{"p0.jpg", "p1.jpg", "p2.jpg", "p3.jpg", "p4.jpg", "p5.jpg"}));
}

INSTANTIATE_TEST_SUITE_P(Limits, ConversionAtTheThreadLimit, ::testing::ValuesIn(threadLimitCases),
                         testing::SaysName());

} // namespace
} // namespace quorvane::imaging
