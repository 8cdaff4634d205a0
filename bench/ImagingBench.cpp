// Converts 4000 by 3000 pictures and compares with libjpeg's own tools given the same parameters.
#include "BenchSupport.h"
#include "imaging/Bmp.h"
#include "imaging/Conversion.h"
#include "imaging/Jpeg.h"
#include "platform/posix/PosixFileSystem.h"
#include "support/TempFolder.h"

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <unistd.h>

namespace {

using namespace quorvane;

// A photo-like picture: smooth colour with fine noise, so that the encoder has real work to do.
imaging::Bitmap photo(int width, int height)
{
    imaging::Bitmap bitmap{width, height, 24, {}};
    bitmap.pixels.resize(static_cast<std::size_t>(width) * height * 3);
    std::minstd_rand random(7);
    std::uint8_t* pixel = bitmap.pixels.data();
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x, pixel += 3) {
            const int noise = static_cast<int>(random() % 16);
            pixel[0] = static_cast<std::uint8_t>((x * 255 / width + noise) & 0xFF);
            pixel[1] = static_cast<std::uint8_t>((y * 255 / height + noise) & 0xFF);
            pixel[2] = static_cast<std::uint8_t>(((x + y) / 16 + noise) & 0xFF);
        }
    }
    return bitmap;
}

core::FileTable beforeList(const std::vector<std::string>& names)
{
    core::FileTable table;
    table.setRowCount(static_cast<int>(names.size()) + 1);
    for (std::size_t i = 0; i < names.size(); ++i) {
        table.setCell(core::NameColumn, static_cast<int>(i) + 1, names[i]);
    }
    return table;
}

void run(const std::string& command)
{
    if (std::system(command.c_str()) != 0) {
        std::fprintf(stderr, "failed: %s\n", command.c_str());
        std::exit(1);
    }
}

void convert(const std::string& folder, const std::vector<std::string>& names, imaging::ConversionMode mode)
{
    // Each run writes new files, as the tools do: a new file of the same name left by the last run
    // would be moved to the trash first, which the tools never do.
    for (const std::string& name : names) {
        unlink((folder + "/" + imaging::convertedName(name, mode)).c_str());
    }
    platform::PosixFileSystem fileSystem;
    const imaging::ConversionResult result =
        imaging::convertImages(beforeList(names), folder, {mode, 75, false, false, 0}, fileSystem);
    if (result.stop || result.converted != static_cast<int>(names.size())) {
        std::fprintf(stderr, "the conversion failed\n");
        std::exit(1);
    }
}

} // namespace

int main()
{
    // Whatever goes to the trash goes to one of this run's own, never the user's.
    const testing::TempFolder dataHome;
    setenv("XDG_DATA_HOME", dataHome.path().c_str(), 1);
    const testing::TempFolder folder;
    const std::string& path = folder.path();
    const imaging::Bitmap picture = photo(4000, 3000);
    folder.writeFile("photo.bmp", imaging::writeBmp(picture));
    folder.writeFile("photo.jpg", imaging::encodeJpeg(picture, {75, false, false}).value());

    const double bmp2jpeg = bench::alternatingRatio(
        5, [&] { convert(path, {"photo.bmp"}, imaging::ConversionMode::BmpToNewJpeg); },
        [&] {
            run("cjpeg -quality 75 -dct float -baseline -outfile '" + path + "/tool.jpg' '" + path +
                "/photo.bmp'");
        });
    bench::report("convert-bmp2jpeg", bmp2jpeg, 1.05);

    const double jpeg2bmp = bench::alternatingRatio(
        5, [&] { convert(path, {"photo.jpg"}, imaging::ConversionMode::JpegToNewBmp); },
        [&] { run("djpeg -bmp -dct float -outfile '" + path + "/tool.bmp' '" + path + "/photo.jpg'"); });
    bench::report("convert-jpeg2bmp", jpeg2bmp, 1.05);

    std::vector<std::string> batch;
    const std::string bmp = folder.readFile("photo.bmp");
    for (int i = 0; i < 16; ++i) {
        batch.push_back("batch" + std::to_string(i) + ".bmp");
        folder.writeFile(batch.back(), bmp);
    }
    // The sources are flushed first, so that neither side pays for writing them back to the disk.
    sync();
    // Five runs like the single pictures: a median of three is swayed by one busy moment.
    const double parallelOverSerial = bench::alternatingRatio(
        5, [&] { convert(path, batch, imaging::ConversionMode::BmpToNewJpeg); },
        [&] {
            for (const std::string& name : batch) {
                run("cjpeg -quality 75 -dct float -baseline -outfile '" + path + "/tool.jpg' '" + path + "/" +
                    name + "'");
            }
        });
    std::printf("bench convert-batch: %.3f (target >= 1.7)\n", 1.0 / parallelOverSerial);
    return 0;
}
