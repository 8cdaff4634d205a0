#include "ExifDateReader.h"

#include <exiv2/exiv2.hpp>
#include <memory>
#include <mutex>

namespace quorvane::core {

namespace {

std::mutex xmpToolkitMutex;

void lockXmpToolkit(void*, bool lock)
{
    if (lock) {
        xmpToolkitMutex.lock();
    } else {
        xmpToolkitMutex.unlock();
    }
}

// exiv2 writes its warnings to stderr and starts its XMP toolkit lazily, which is not safe on
// several threads at once: both are settled once, before the first read.
void prepareExiv2()
{
    static std::once_flag once;
    std::call_once(once, [] {
        Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
        Exiv2::XmpParser::initialize(lockXmpToolkit, nullptr);
    });
}

std::string tagText(const Exiv2::ExifData& exif, const char* key)
{
    const auto found = exif.findKey(Exiv2::ExifKey(key));
    if (found == exif.end() || found->count() == 0) {
        return {};
    }
    return found->toString();
}

struct DateTags
{
    const char* date;
    const char* subSeconds;
    const char* offset;
};
constexpr DateTags dateTags[] = {
    {"Exif.Photo.DateTimeOriginal", "Exif.Photo.SubSecTimeOriginal", "Exif.Photo.OffsetTimeOriginal"},
    {"Exif.Photo.DateTimeDigitized", "Exif.Photo.SubSecTimeDigitized", "Exif.Photo.OffsetTimeDigitized"},
    {"Exif.Image.DateTime", "Exif.Photo.SubSecTime", "Exif.Photo.OffsetTime"},
};

// The one boundary where exiv2's exceptions end: a file exiv2 does not know, or whose bytes it
// cannot make sense of, has no date taken.
template <class Open>
std::optional<DateTaken> dateOfImage(const Open& open)
{
    prepareExiv2();
    try {
        const Exiv2::Image::AutoPtr image = open();
        if (!image.get()) {
            return std::nullopt;
        }
        image->readMetadata();
        const Exiv2::ExifData& exif = image->exifData();
        for (const DateTags& tags : dateTags) {
            if (auto taken = parseExifDate(tagText(exif, tags.date), tagText(exif, tags.subSeconds),
                                           tagText(exif, tags.offset))) {
                return taken;
            }
        }
    } catch (...) {
        // Exiv2::Error for a corrupt block, std::exception for what its parsers run into.
    }
    return std::nullopt;
}

} // namespace

ExifDateReader::ExifDateReader()
{
    prepareExiv2();
}

std::optional<DateTaken> ExifDateReader::read(const std::string& path) const
{
    return dateOfImage([&]() -> Exiv2::Image::AutoPtr {
        // getType reads a few bytes; a file of no image type is left before exiv2 builds anything.
        if (Exiv2::ImageFactory::getType(path) == Exiv2::ImageType::none) {
            return Exiv2::Image::AutoPtr();
        }
        return Exiv2::ImageFactory::open(path);
    });
}

std::optional<DateTaken> readExifDate(const unsigned char* bytes, std::size_t size)
{
    return dateOfImage(
        [&]() -> Exiv2::Image::AutoPtr { return Exiv2::ImageFactory::open(bytes, static_cast<long>(size)); });
}

} // namespace quorvane::core
