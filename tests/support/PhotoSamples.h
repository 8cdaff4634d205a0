#pragma once

#include <exiv2/exiv2.hpp>
#include <string>
#include <utility>
#include <vector>

namespace quorvane::testing {

// EXIF tags and their values, such as {"Exif.Photo.DateTimeOriginal", "2024:08:12 14:35:01"}.
using ExifTags = std::vector<std::pair<std::string, std::string>>;

// Writes an image of the given exiv2 type (jpeg, tiff, png) to path with the tags as its EXIF
// block; exiv2 makes the image itself, a real one of a single pixel.
inline void writePhoto(const std::string& path, const ExifTags& tags, int type = Exiv2::ImageType::jpeg)
{
    Exiv2::Image::AutoPtr image;
    if (type == Exiv2::ImageType::tiff) {
        // exiv2 cannot make a TIFF: a baseline one of a single grey pixel, little-endian, with the
        // eight tags such an image needs and the pixel after its directory.
        const unsigned char tiff[] = {
            'I',  'I',  42, 0, 8, 0, 0, 0, 8,   0,       //
            0x00, 0x01, 3,  0, 1, 0, 0, 0, 1,   0, 0, 0, // ImageWidth 1
            0x01, 0x01, 3,  0, 1, 0, 0, 0, 1,   0, 0, 0, // ImageLength 1
            0x02, 0x01, 3,  0, 1, 0, 0, 0, 8,   0, 0, 0, // BitsPerSample 8
            0x03, 0x01, 3,  0, 1, 0, 0, 0, 1,   0, 0, 0, // no compression
            0x06, 0x01, 3,  0, 1, 0, 0, 0, 1,   0, 0, 0, // black is zero
            0x11, 0x01, 4,  0, 1, 0, 0, 0, 110, 0, 0, 0, // StripOffsets
            0x16, 0x01, 3,  0, 1, 0, 0, 0, 1,   0, 0, 0, // RowsPerStrip 1
            0x17, 0x01, 4,  0, 1, 0, 0, 0, 1,   0, 0, 0, // StripByteCounts 1
            0,    0,    0,  0,                           // no next directory
            0x80,                                        // the pixel
        };
        Exiv2::FileIo file(path);
        file.open("wb");
        file.write(tiff, sizeof tiff);
        file.close();
        image = Exiv2::ImageFactory::open(path);
    } else {
        image = Exiv2::ImageFactory::create(type, path);
    }
    Exiv2::ExifData exif;
    for (const auto& [key, value] : tags) {
        exif[key] = value;
    }
    image->setExifData(exif);
    image->writeMetadata();
}

// The tags of a photo taken at date ("YYYY:MM:DD HH:MM:SS").
inline ExifTags takenAt(const std::string& date)
{
    return {{"Exif.Photo.DateTimeOriginal", date}};
}

} // namespace quorvane::testing
