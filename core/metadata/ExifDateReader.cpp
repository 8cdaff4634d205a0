#include "ExifDateReader.h"

#include <exiv2/exiv2.hpp>
#include <memory>
#include <mutex>
#include <vector>

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

std::string tagText(const Exiv2::ExifData& exif, const Exiv2::ExifKey& key)
{
    const auto found = exif.findKey(key);
    if (found == exif.end() || found->count() == 0) {
        return {};
    }
    return found->toString();
}

// The tags of a date, by preference. The keys are made once: each costs a parse of its name.
struct DateTags
{
    Exiv2::ExifKey date;
    Exiv2::ExifKey subSeconds;
    Exiv2::ExifKey offset;
};

const std::vector<DateTags>& dateTags()
{
    static const std::vector<DateTags> tags = {
        {Exiv2::ExifKey("Exif.Photo.DateTimeOriginal"), Exiv2::ExifKey("Exif.Photo.SubSecTimeOriginal"),
         Exiv2::ExifKey("Exif.Photo.OffsetTimeOriginal")},
        {Exiv2::ExifKey("Exif.Photo.DateTimeDigitized"), Exiv2::ExifKey("Exif.Photo.SubSecTimeDigitized"),
         Exiv2::ExifKey("Exif.Photo.OffsetTimeDigitized")},
        {Exiv2::ExifKey("Exif.Image.DateTime"), Exiv2::ExifKey("Exif.Photo.SubSecTime"),
         Exiv2::ExifKey("Exif.Photo.OffsetTime")},
    };
    return tags;
}

// How much of a file is read first: a JPEG's EXIF block is one segment of at most 64 KiB, which
// a JFIF segment of a few bytes may precede.
constexpr std::size_t headBytes = 72 * 1024;

struct Parsed
{
    std::optional<DateTaken> date;
    bool knownType = false;   // exiv2 knows the image type
    bool allMetadata = false; // every metadata segment was in the bytes parsed
};

// The one boundary where exiv2's exceptions end: bytes exiv2 does not know, or cannot make sense
// of, hold no date taken.
Parsed parseImage(const unsigned char* bytes, std::size_t size)
{
    prepareExiv2();
    Parsed parsed;
    try {
        const Exiv2::Image::AutoPtr image = Exiv2::ImageFactory::open(bytes, static_cast<long>(size));
        if (!image.get()) {
            return parsed;
        }
        parsed.knownType = true;
        image->readMetadata();
        // A JPEG's reader stops at the picture data and fails when the bytes end before it; the
        // other formats may point anywhere in the file.
        parsed.allMetadata = image->imageType() == Exiv2::ImageType::jpeg;
        const Exiv2::ExifData& exif = image->exifData();
        for (const DateTags& tags : dateTags()) {
            parsed.date = parseExifDate(tagText(exif, tags.date), tagText(exif, tags.subSeconds),
                                        tagText(exif, tags.offset));
            if (parsed.date) {
                break;
            }
        }
    } catch (...) {
        // Exiv2::Error for a corrupt block, std::exception for what its parsers run into.
    }
    return parsed;
}

const unsigned char* unsignedBytes(const std::string& bytes)
{
    return reinterpret_cast<const unsigned char*>(bytes.data());
}

} // namespace

ExifDateReader::ExifDateReader(platform::FileSystem& fileSystem) : fileSystem_(fileSystem)
{
    prepareExiv2();
}

std::optional<DateTaken> ExifDateReader::read(const std::string& path) const
{
    // One buffer per worker thread, reused from file to file.
    thread_local std::string bytes;
    if (fileSystem_.readStart(path, headBytes, bytes)) {
        return std::nullopt;
    }
    const Parsed head = parseImage(unsignedBytes(bytes), bytes.size());
    if (head.date || !head.knownType || head.allMetadata || bytes.size() < headBytes) {
        return head.date;
    }
    // An image whose metadata may lie beyond its start, such as a TIFF or a raw file.
    if (fileSystem_.readFile(path, bytes)) {
        return std::nullopt;
    }
    return parseImage(unsignedBytes(bytes), bytes.size()).date;
}

std::optional<DateTaken> readExifDate(const unsigned char* bytes, std::size_t size)
{
    return parseImage(bytes, size).date;
}

} // namespace quorvane::core
