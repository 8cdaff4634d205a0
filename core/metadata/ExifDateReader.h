#pragma once

#include "DateTaken.h"
#include "platform/FileSystem.h"

#include <cstddef>
#include <optional>
#include <string>

namespace quorvane::core {

// The date an image was taken from its EXIF block, through exiv2: DateTimeOriginal, else
// DateTimeDigitized, else DateTime, with the sub-seconds and offset that belong to the date found.
// Reads JPEG, TIFF, PNG, WebP, HEIC and the raw formats exiv2 knows; any other file gives nothing.
// Only the start of a file is read where its metadata lies there, as it does in a JPEG.
class ExifDateReader : public DateTakenReader
{
public:
    // Reads the files through fileSystem, which must outlive the reader.
    explicit ExifDateReader(platform::FileSystem& fileSystem);
    std::optional<DateTaken> read(const std::string& path) const override;

private:
    platform::FileSystem& fileSystem_;
};

// The same for an image held in memory, as the fuzz target feeds it.
std::optional<DateTaken> readExifDate(const unsigned char* bytes, std::size_t size);

} // namespace quorvane::core
