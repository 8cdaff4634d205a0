#include "core/metadata/DateTaken.h"

#include "core/listing/Listing.h"
#include "core/metadata/DatesTaken.h"
#include "core/metadata/ExifDateReader.h"
#include "core/metadata/MediaDateReader.h"
#include "platform/posix/PosixFileSystem.h"
#include "support/PhotoSamples.h"
#include "support/TempFolder.h"

#include <atomic>
#include <cstdlib>
#include <gtest/gtest.h>
#include <optional>
#include <string>

namespace quorvane::core {
namespace {

using platform::LocalDateTime;
using testing::ExifTags;
using testing::TempFolder;
using testing::writePhoto;

struct ExifCase
{
    const char* says;
    ExifTags tags;
    int type;
    std::optional<DateTaken> expected;
};

DateTaken taken(LocalDateTime local, std::uint32_t nanoseconds = 0, std::optional<int> offset = std::nullopt)
{
    return {local, nanoseconds, offset};
}

TEST(ExifDateReader, ReadsTheDateAPhotoWasTakenFromItsExifBlock)
{
    const int jpeg = Exiv2::ImageType::jpeg;
    const ExifCase cases[] = {
        {"the original date with its sub-seconds and offset",
         {{"Exif.Photo.DateTimeOriginal", "2024:08:12 14:35:01"},
          {"Exif.Photo.SubSecTimeOriginal", "25"},
          {"Exif.Photo.OffsetTimeOriginal", "+09:00"},
          {"Exif.Image.DateTime", "2025:01:01 00:00:00"}},
         jpeg,
         taken({2024, 8, 12, 14, 35, 1}, 250000000, 540)},
        {"the original date alone is the camera's local time", testing::takenAt("2023:12:31 23:59:59"), jpeg,
         taken({2023, 12, 31, 23, 59, 59})},
        {"the digitized date when there is no original",
         {{"Exif.Photo.DateTimeDigitized", "2020:02:29 06:07:08"},
          {"Exif.Photo.OffsetTimeDigitized", "-05:30"}},
         jpeg,
         taken({2020, 2, 29, 6, 7, 8}, 0, -330)},
        {"the image's date when there is neither",
         {{"Exif.Image.DateTime", "2019:05:06 07:08:09"}},
         jpeg,
         taken({2019, 5, 6, 7, 8, 9})},
        {"an original date of zeros, as an unset camera writes, gives way to the next",
         {{"Exif.Photo.DateTimeOriginal", "0000:00:00 00:00:00"},
          {"Exif.Image.DateTime", "2019:05:06 07:08:09"}},
         jpeg,
         taken({2019, 5, 6, 7, 8, 9})},
        {"an impossible date is none", testing::takenAt("2023:02:30 10:00:00"), jpeg, std::nullopt},
        {"a malformed offset is ignored",
         {{"Exif.Photo.DateTimeOriginal", "2024:08:12 14:35:01"}, {"Exif.Photo.OffsetTimeOriginal", "+9"}},
         jpeg,
         taken({2024, 8, 12, 14, 35, 1})},
        {"a photo without a date has none", {{"Exif.Image.Make", "Camera"}}, jpeg, std::nullopt},
        {"a TIFF", testing::takenAt("2021:03:04 05:06:07"), Exiv2::ImageType::tiff,
         taken({2021, 3, 4, 5, 6, 7})},
        {"a TIFF whose EXIF lies beyond its first 72 KiB",
         {{"Exif.Image.ImageDescription", std::string(100000, 'd')},
          {"Exif.Photo.DateTimeOriginal", "2021:03:04 05:06:08"}},
         Exiv2::ImageType::tiff,
         taken({2021, 3, 4, 5, 6, 8})},
        {"a PNG", testing::takenAt("2022:11:12 13:14:15"), Exiv2::ImageType::png,
         taken({2022, 11, 12, 13, 14, 15})},
    };
    const TempFolder folder;
    platform::PosixFileSystem fileSystem;
    const ExifDateReader reader(fileSystem);
    int index = 0;
    for (const ExifCase& c : cases) {
        SCOPED_TRACE(c.says);
        const std::string path = folder.pathOf("photo" + std::to_string(index++));
        writePhoto(path, c.tags, c.type);
        EXPECT_EQ(reader.read(path), c.expected);
    }
}

// A JPEG whose APP1 segment holds "Exif\0\0" and then the given TIFF bytes.
std::string jpegWithExifBlock(const std::string& tiff)
{
    const std::size_t length = tiff.size() + 8;
    std::string jpeg = "\xFF\xD8\xFF\xE1";
    jpeg += static_cast<char>(length >> 8);
    jpeg += static_cast<char>(length & 0xFF);
    jpeg += std::string("Exif\0\0", 6) + tiff;
    return jpeg + "\xFF\xD9";
}

TEST(ExifDateReader, AFileExiv2CannotMakeSenseOfHasNoDateAndBreaksNothing)
{
    const struct
    {
        const char* says;
        std::string bytes;
    } cases[] = {
        {"an empty file", ""},
        {"a text file", "2024:08:12 14:35:01\n"},
        {"a JPEG cut off in its EXIF block", jpegWithExifBlock("II*\0\x08\0\0\0\x05\0").substr(0, 16)},
        {"an EXIF block of garbage", jpegWithExifBlock(std::string(40, '\xA5'))},
        {"an IFD that claims a huge count of entries",
         jpegWithExifBlock(std::string("II*\0\x08\0\0\0\xFF\xFF", 10))},
        {"an IFD that points beyond the block",
         jpegWithExifBlock(
             std::string("II*\0\x08\0\0\0\x01\0\x32\x01\x02\0\x14\0\0\0\xF0\xFF\xFF\x7F\0\0\0\0", 26))},
        {"an IFD that points to itself",
         jpegWithExifBlock(
             std::string("MM\0*\0\0\0\x08\0\x01\x87\x69\0\x04\0\0\0\x01\0\0\0\x08\0\0\0\0", 26))},
    };
    const TempFolder folder;
    platform::PosixFileSystem fileSystem;
    const ExifDateReader reader(fileSystem);
    int index = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.says);
        const std::string name = "photo" + std::to_string(index++) + ".jpg";
        folder.writeFile(name, c.bytes);
        EXPECT_EQ(reader.read(folder.pathOf(name)), std::nullopt);
        EXPECT_EQ(readExifDate(reinterpret_cast<const unsigned char*>(c.bytes.data()), c.bytes.size()),
                  std::nullopt);
    }
}

// Counts the files the real reader is asked to read.
class CountingReader : public DateTakenReader
{
public:
    explicit CountingReader(platform::FileSystem& fileSystem) : inner(fileSystem) {}
    std::optional<DateTaken> read(const std::string& path) const override
    {
        ++reads;
        return inner.read(path);
    }
    ExifDateReader inner;
    mutable std::atomic<int> reads{0};
};

TEST(DatesTaken, ReadsEachFileOnceUntilItIsListedChangedAndGivesTheModifiedTimeToFilesWithoutADate)
{
    const testing::TimeZone zone("UTC");
    const TempFolder folder;
    for (int i = 0; i < 40; ++i) {
        writePhoto(folder.pathOf("p" + std::to_string(100 + i) + ".jpg"),
                   testing::takenAt("2024:08:12 10:00:" + std::to_string(10 + i)));
    }
    folder.writeFile("notes.txt", "text");
    folder.setTimes("notes.txt", {1000000000, 0}, {1234567890, 500});
    platform::PosixFileSystem fileSystem;
    FileTable before, after;
    ASSERT_EQ(listFolder(fileSystem, {folder.path(), "*.*"}, before, after).fileCount, 41);
    auto counting = std::make_unique<CountingReader>(fileSystem);
    CountingReader& reader = *counting;
    DatesTaken dates(std::move(counting));

    // Rows in name order: notes.txt, then p100.jpg to p139.jpg.
    const std::vector<RowDateTaken> first = dates.of(before);
    ASSERT_EQ(first.size(), 41u);
    EXPECT_EQ(reader.reads, 41);
    EXPECT_FALSE(first[0].fromContent);
    EXPECT_EQ(first[0].date.local, (LocalDateTime{2009, 2, 13, 23, 31, 30}));
    EXPECT_EQ(instantOf(first[0].date), (platform::FileTime{1234567890, 500}));
    EXPECT_TRUE(first[1].fromContent);
    EXPECT_EQ(first[1].date.local, (LocalDateTime{2024, 8, 12, 10, 0, 10}));
    EXPECT_EQ(first[40].date.local, (LocalDateTime{2024, 8, 12, 10, 0, 49}));

    EXPECT_EQ(dates.of(before).size(), 41u);
    EXPECT_EQ(reader.reads, 41) << "a second look reads no unchanged file";

    writePhoto(folder.pathOf("p100.jpg"), testing::takenAt("2001:01:01 01:01:01"));
    folder.setTimes("p100.jpg", {1000000000, 0}, {1100000000, 0});
    listFolder(fileSystem, {folder.path(), "*.*"}, before, after);
    const std::vector<RowDateTaken> again = dates.of(before);
    EXPECT_EQ(reader.reads, 42) << "a file changed and listed again is read again";
    EXPECT_EQ(again[1].date.local, (LocalDateTime{2001, 1, 1, 1, 1, 1}));
}

// A video's creation time is the "mvhd" box's, in seconds since 1904 in UTC, as phones and cameras
// write it; the muxer stamps the time of muxing, which the test replaces with a chosen one.
TEST(MediaDateReader, ReadsTheCreationDateOfAVideoAsTheLocalTimeOfThatInstant)
{
    const TempFolder folder;
    const std::string muxed = folder.pathOf("muxed.mp4");
    const std::string command =
        "gst-launch-1.0 -q videotestsrc num-buffers=5 ! video/x-raw,width=64,height=48,framerate=5/1 ! "
        "avenc_mpeg4 ! mp4mux ! filesink location=" +
        muxed + " >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0) {
        GTEST_SKIP() << "gst-launch-1.0 with avenc_mpeg4 and mp4mux is not installed: no video to read";
    }
    std::string video = folder.readFile("muxed.mp4");
    const std::size_t box = video.find("mvhd");
    ASSERT_NE(box, std::string::npos);
    const std::uint32_t created = 1689325687u + 2082844800u; // 2023-07-14 09:08:07 UTC
    for (int i = 0; i < 4; ++i) {
        video[box + 8 + static_cast<std::size_t>(i)] = static_cast<char>(created >> (24 - 8 * i));
    }
    folder.writeFile("clip.MP4", video);
    const testing::TimeZone zone("Asia/Tokyo");
    platform::PosixFileSystem fileSystem;
    const std::optional<DateTaken> date = makeDateTakenReader(fileSystem)->read(folder.pathOf("clip.MP4"));
    ASSERT_TRUE(date.has_value());
    EXPECT_EQ(date->local, (LocalDateTime{2023, 7, 14, 18, 8, 7}));
    EXPECT_EQ(instantOf(*date), (platform::FileTime{1689325687, 0}));
    EXPECT_EQ(MediaDateReader().read(folder.pathOf("missing.mp4")), std::nullopt);
}

} // namespace
} // namespace quorvane::core
