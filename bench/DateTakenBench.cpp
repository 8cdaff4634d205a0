// A serial preview that names 10,000 photos by when they were taken, against reading the first
// 64 KiB of each of them in one loop (the least a reader of their EXIF blocks could do), with the
// page cache warm; and a second preview of the same folder, whose dates are kept, against the first.

#include "BenchSupport.h"
#include "core/listing/Listing.h"
#include "core/metadata/DatesTaken.h"
#include "core/rules/SerialNaming.h"
#include "platform/posix/PosixFileSystem.h"
#include "support/PhotoSamples.h"
#include "support/TempFolder.h"

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

using namespace quorvane;

namespace {

constexpr int fileCount = 10000;
// A camera's JPEG is megabytes; what follows the EXIF block stands in for its picture data.
constexpr std::size_t pictureBytes = 96 * 1024;

void makeTakenPhotos(const testing::TempFolder& folder)
{
    const std::string picture(pictureBytes, '\x55');
    for (int i = 0; i < fileCount; ++i) {
        const std::string path = folder.pathOf("IMG_" + std::to_string(100000 + i) + ".jpg");
        char date[32];
        std::snprintf(date, sizeof date, "2024:08:%02d %02d:%02d:%02d", 1 + i % 28, i / 3600 % 24,
                      i / 60 % 60, i % 60);
        testing::writePhoto(path, {{"Exif.Image.Make", "Camera"},
                                   {"Exif.Image.Model", "Model 1"},
                                   {"Exif.Photo.DateTimeOriginal", date},
                                   {"Exif.Photo.SubSecTimeOriginal", "25"},
                                   {"Exif.Photo.OffsetTimeOriginal", "+09:00"}});
        const int fd = open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
        if (fd >= 0) {
            (void)!write(fd, picture.data(), picture.size());
            close(fd);
        }
    }
}

} // namespace

int main()
{
    const testing::TempFolder folder;
    makeTakenPhotos(folder);
    platform::PosixFileSystem fileSystem;
    const core::ListingOptions options{folder.path(), "*.*", false, false};
    core::FileTable before;
    core::FileTable after;
    if (!bench::listPhotoFolder(fileSystem, options, before, after, fileCount)) {
        return 1;
    }
    const std::vector<std::string> names = before.column(core::NameColumn);
    std::vector<char> buffer(64 * 1024);
    const auto readHeads = [&] {
        for (std::size_t row = 1; row < names.size(); ++row) {
            const int fd = open(folder.pathOf(names[row]).c_str(), O_RDONLY | O_CLOEXEC);
            if (fd >= 0) {
                (void)!read(fd, buffer.data(), buffer.size());
                close(fd);
            }
        }
    };
    readHeads(); // warms the page cache

    const core::SerialOptions serial{core::PieceKind::TakenDateTime, core::PieceKind::Underscore,
                                     core::PieceKind::Serial, 1, "3"};
    const core::Clock clock = platform::localNow;
    const auto preview = [&](core::DatesTaken& dates) {
        core::TakenTimes taken;
        for (const core::RowDateTaken& date : dates.of(before)) {
            taken.push_back(date.date.local);
        }
        core::planSerialNaming(before, after, serial, clock, taken);
    };
    const double firstRatio = bench::alternatingRatio(
        5,
        [&] {
            core::DatesTaken dates(core::makeDateTakenReader(fileSystem));
            preview(dates);
        },
        readHeads);
    if (after.cell(core::NameColumn, 1) != "20240801000000_001.jpg") {
        std::fprintf(stderr, "the preview named the first photo %s\n",
                     std::string(after.cell(core::NameColumn, 1)).c_str());
        return 1;
    }
    bench::report("date-taken-10k", firstRatio, 1.5);

    core::DatesTaken kept(core::makeDateTakenReader(fileSystem));
    preview(kept); // the first preview, which reads every file
    const double secondRatio = bench::alternatingRatio(
        5, [&] { preview(kept); },
        [&] {
            core::DatesTaken dates(core::makeDateTakenReader(fileSystem));
            preview(dates);
        });
    bench::report("date-taken-10k-second-preview", secondRatio, 0.1);
    return 0;
}
