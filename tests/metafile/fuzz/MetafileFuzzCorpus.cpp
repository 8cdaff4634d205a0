// Writes a small seed corpus for the metafile fuzz target: EMF and WMF files that use every kind
// of record the player knows, so that fuzzing starts from valid files instead of guessing headers.
#include "../MetafileSamples.h"

#include <cstdio>
#include <fstream>
#include <string>

using namespace quorvane::testing;

namespace {

void save(const std::string& folder, int number, const std::string& bytes)
{
    std::ofstream(folder + "/seed" + std::to_string(number), std::ios::binary) << bytes;
}

std::string emfShapes()
{
    EmfBuilder emf;
    emf.record(39, dwords({1, 0, colorRef(255, 0, 0), 0}))
        .record(37, dwords({1}))
        .record(38, dwords({2, 1, 3, 0, colorRef(0, 0, 255)}))
        .record(37, dwords({2}))
        .record(33, "")
        .record(17, dwords({8}))
        .record(9, dwords({1000, 1000}))
        .record(10, dwords({-10, -10}))
        .record(11, dwords({100, 100}))
        .record(12, dwords({5, 5}))
        .record(43, dwords({200, 200, 600, 600}))
        .record(42, dwords({10, 10, 90, 90}))
        .record(44, dwords({10, 10, 90, 90, 20, 20}))
        .record(45, dwords({10, 10, 90, 90, 0, 0, 90, 90}))
        .record(47, dwords({10, 10, 90, 90, 90, 0, 0, 90}))
        .record(34, dwords({-1}))
        .record(86, dwords({0, 0, 0, 0, 3}) + words({10, 10, 90, 10, 10, 90}))
        .record(87, dwords({0, 0, 0, 0, 3}) + words({10, 10, 90, 10, 90, 90}))
        .record(91, dwords({0, 0, 0, 0, 2, 6, 3, 3}) + words({1, 1, 5, 1, 1, 5, 7, 7, 9, 7, 7, 9}))
        .record(2, dwords({0, 0, 0, 0, 4, 0, 0, 10, 30, 20, 30, 30, 0}))
        .record(27, dwords({0, 50}))
        .record(54, dwords({100, 50}))
        .record(30, dwords({0, 0, 50, 100}))
        .record(35, floats({1, 0.5f, -0.5f, 1, 3, 4}))
        .record(36, floats({2, 0, 0, 2, 0, 0}) + dwords({3}))
        .record(40, dwords({1}));
    return emf.file();
}

std::string emfText()
{
    std::string face = utf16(u"Sans");
    face.resize(64, '\0');
    EmfBuilder emf;
    emf.record(82, dwords({1, -30, 0, 450, 0, 700}) + std::string(8, '\0') + face)
        .record(37, dwords({1}))
        .record(22, dwords({24}))
        .record(24, dwords({colorRef(0, 128, 0)}))
        .record(18, dwords({2}))
        .record(84, dwords({0, 0, 0, 0, 1, 0, 0, 10, 10, 4, 76, 2, 0, 0, 100, 100, 0}) + utf16(u"Hiya"))
        .record(83, dwords({0, 0, 0, 0, 1, 0, 0, 10, 10, 4, 76, 0, 0, 0, 100, 100, 0}) + "Hiya");
    return emf.file();
}

std::string emfPathAndBitmaps()
{
    EmfBuilder emf;
    emf.record(59, "")
        .record(27, dwords({20, 20}))
        .record(54, dwords({60, 20}))
        .record(89, dwords({0, 0, 0, 0, 2}) + words({60, 60, 20, 60}))
        .record(61, "")
        .record(60, "")
        .record(63, dwords({0, 0, 0, 0}))
        .record(81, dwords({0, 0, 0, 0, 10, 10, 0, 0, 2, 2, 80, 40, 120, 16, 0, 0x00CC0020, 80, 80}) +
                        dibHeader2x2() + dibPixels2x2())
        .record(76, dwords({0, 0, 0, 0, 0, 0, 50, 50, 0x00F00021, 0, 0}) + floats({1, 0, 0, 1, 0, 0}) +
                        dwords({0, 0, 0, 0, 0, 0}));
    return emf.file();
}

std::string wmfShapes()
{
    WmfBuilder wmf;
    std::string face = "Sans";
    face.resize(32, '\0');
    wmf.record(0x02FC, words({0}) + dwords({colorRef(255, 0, 0)}) + words({0}))
        .record(0x012D, words({0}))
        .record(0x02FA, words({0, 2, 0}) + dwords({colorRef(0, 0, 255)}))
        .record(0x012D, words({1}))
        .record(0x02FB, words({static_cast<std::uint16_t>(-30), 0, 0, 0, 400}) + std::string(8, '\0') + face)
        .record(0x012D, words({2}))
        .record(0x001E, "")
        .record(0x0103, words({8}))
        .record(0x020B, words({100, 100}))
        .record(0x020C, words({200, 200}))
        .record(0x041B, words({220, 220, 140, 140}))
        .record(0x0418, words({90, 90, 10, 10}))
        .record(0x061C, words({10, 10, 90, 90, 10, 10}))
        .record(0x0817, words({0, 0, 90, 90, 90, 90, 10, 10}))
        .record(0x0127, words({static_cast<std::uint16_t>(-1)}))
        .record(0x0324, words({3, 10, 10, 90, 10, 10, 90}))
        .record(0x0325, words({3, 10, 10, 90, 10, 90, 90}))
        .record(0x0538, words({2, 3, 3, 1, 1, 5, 1, 1, 5, 7, 7, 9, 7, 7, 9}))
        .record(0x0214, words({50, 0}))
        .record(0x0213, words({50, 100}))
        .record(0x0521, words({4}) + "Hiya" + words({10, 10}))
        .record(0x0A32, words({10, 10, 4, 2, 0, 0, 50, 50}) + "Hiya")
        .record(0x0416, words({50, 50, 0, 0}))
        .record(0x061D, dwords({0x00F00021}) + words({40, 40, 20, 20}))
        .record(0x01F0, words({0}));
    return wmf.placeableFile(0, 0, 100, 100, 96);
}

std::string wmfBitmaps()
{
    WmfBuilder wmf;
    wmf.record(0x0F43, dwords({0x00CC0020}) + words({0, 2, 2, 0, 0, 80, 80, 10, 10}) + dibHeader2x2() +
                           dibPixels2x2())
        .record(0x0B41,
                dwords({0x00CC0020}) + words({2, 2, 0, 0, 40, 40, 0, 0}) + dibHeader2x2() + dibPixels2x2())
        .record(0x0940, dwords({0x00CC0020}) + words({0, 0, 2, 2, 0, 0}) + dibHeader2x2() + dibPixels2x2());
    return wmf.plainFile();
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: metafile_fuzz_corpus folder\n");
        return 2;
    }
    const std::string folder = argv[1];
    int number = 0;
    save(folder, number++, emfShapes());
    save(folder, number++, emfText());
    save(folder, number++, emfPathAndBitmaps());
    save(folder, number++, wmfShapes());
    save(folder, number++, wmfBitmaps());
    return 0;
}
