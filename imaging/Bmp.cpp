#include "Bmp.h"

#include "platform/LargeBuffer.h"

#include <algorithm>
#include <array>
#include <bit>
#include <climits>

namespace quorvane::imaging {

namespace {

// Bounds-checked little-endian access to the file's bytes.
class Bytes
{
public:
    explicit Bytes(std::string_view bytes) : bytes_(bytes) {}

    std::uint64_t size() const { return bytes_.size(); }
    bool holds(std::uint64_t offset, std::uint64_t count) const
    {
        return offset <= bytes_.size() && count <= bytes_.size() - offset;
    }
    std::uint8_t u8(std::uint64_t offset) const { return static_cast<std::uint8_t>(bytes_[offset]); }
    std::uint16_t u16(std::uint64_t offset) const
    {
        return static_cast<std::uint16_t>(u8(offset) | (u8(offset + 1) << 8));
    }
    std::uint32_t u32(std::uint64_t offset) const
    {
        return static_cast<std::uint32_t>(u16(offset)) | (static_cast<std::uint32_t>(u16(offset + 2)) << 16);
    }
    std::int32_t i32(std::uint64_t offset) const { return static_cast<std::int32_t>(u32(offset)); }

private:
    std::string_view bytes_;
};

enum Compression : std::uint32_t
{
    Uncompressed = 0,
    Rle8 = 1,
    Rle4 = 2,
    BitFields = 3,
    AlphaBitFields = 6,
};

struct Rgb
{
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
};

// One colour channel of a 16- or 32-bit pixel, given by its mask.
class Channel
{
public:
    // A mask whose set bits are not contiguous is no valid mask.
    bool set(std::uint32_t mask)
    {
        mask_ = mask;
        if (mask == 0) {
            return true;
        }
        shift_ = std::countr_zero(mask);
        const std::uint32_t field = mask >> shift_;
        if ((field & (field + 1)) != 0) {
            return false;
        }
        bits_ = std::popcount(field);
        return true;
    }
    std::uint8_t value(std::uint32_t pixel) const
    {
        if (mask_ == 0) {
            return 0;
        }
        const std::uint32_t field = (pixel & mask_) >> shift_;
        if (bits_ >= 8) {
            return static_cast<std::uint8_t>(field >> (bits_ - 8));
        }
        return static_cast<std::uint8_t>(field * 255u / ((1u << bits_) - 1u));
    }

private:
    std::uint32_t mask_ = 0;
    int shift_ = 0;
    int bits_ = 0;
};

struct Header
{
    std::uint64_t width = 0;
    std::uint64_t height = 0;
    bool topDown = false;
    int bitsPerPixel = 0;
    std::uint32_t compression = Uncompressed;
    std::uint64_t pixelOffset = 0;
    std::array<Rgb, 256> palette{}; // entries the file does not give stay black
    Channel red, green, blue;
};

bool readMasks(const Bytes& file, std::uint64_t offset, Header& header)
{
    return header.red.set(file.u32(offset)) && header.green.set(file.u32(offset + 4)) &&
           header.blue.set(file.u32(offset + 8));
}

std::optional<Header> readHeader(const Bytes& file, std::uint64_t pixelLimit)
{
    if (!file.holds(0, 18) || file.u8(0) != 'B' || file.u8(1) != 'M') {
        return std::nullopt;
    }
    Header header;
    header.pixelOffset = file.u32(10);
    const std::uint32_t headerSize = file.u32(14);
    if (!file.holds(14, headerSize)) {
        return std::nullopt;
    }
    std::uint64_t paletteOffset = 14 + std::uint64_t{headerSize};
    std::uint32_t colourCount = 0;
    std::uint64_t paletteEntrySize = 4;
    if (headerSize == 12) {
        header.width = file.u16(18);
        header.height = file.u16(20);
        if (file.u16(22) != 1) {
            return std::nullopt;
        }
        header.bitsPerPixel = file.u16(24);
        paletteEntrySize = 3;
    } else if (headerSize == 40 || headerSize == 52 || headerSize == 56 || headerSize == 64 ||
               headerSize == 108 || headerSize == 124) {
        const std::int32_t width = file.i32(18);
        const std::int32_t height = file.i32(22);
        if (width <= 0 || height == 0 || height == INT32_MIN || file.u16(26) != 1) {
            return std::nullopt;
        }
        header.width = static_cast<std::uint64_t>(width);
        header.topDown = height < 0;
        header.height = static_cast<std::uint64_t>(height < 0 ? -static_cast<std::int64_t>(height) : height);
        header.bitsPerPixel = file.u16(28);
        header.compression = file.u32(30);
        colourCount = file.u32(46);
        // The 64-byte OS/2 header gives compression 3 another meaning (Huffman), which is not read.
        if (headerSize == 64 && header.compression == BitFields) {
            return std::nullopt;
        }
    } else {
        return std::nullopt;
    }
    if (header.width == 0 || header.height == 0 || header.width * header.height > pixelLimit) {
        return std::nullopt;
    }

    const int bits = header.bitsPerPixel;
    switch (header.compression) {
    case Uncompressed:
        if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) {
            return std::nullopt;
        }
        break;
    case Rle8:
    case Rle4:
        if (bits != (header.compression == Rle8 ? 8 : 4) || header.topDown) {
            return std::nullopt;
        }
        break;
    case BitFields:
    case AlphaBitFields:
        if (bits != 16 && bits != 32) {
            return std::nullopt;
        }
        break;
    default:
        return std::nullopt;
    }

    if (header.compression == BitFields || header.compression == AlphaBitFields) {
        // The masks follow a 40-byte header, or sit inside the longer ones.
        if (!file.holds(54, 12) || !readMasks(file, 54, header)) {
            return std::nullopt;
        }
        if (headerSize == 40) {
            paletteOffset += header.compression == BitFields ? 12 : 16;
        }
    } else if (bits == 16) {
        header.red.set(0x7C00);
        header.green.set(0x03E0);
        header.blue.set(0x001F);
    } else if (bits == 32) {
        header.red.set(0xFF0000);
        header.green.set(0x00FF00);
        header.blue.set(0x0000FF);
    }

    if (bits <= 8) {
        const std::uint32_t most = 1u << bits;
        std::uint64_t count = colourCount == 0 || colourCount > most ? most : colourCount;
        // Many writers give fewer entries than the bit count allows; the palette ends where the
        // pixels begin.
        if (header.pixelOffset > paletteOffset) {
            count = std::min(count, (header.pixelOffset - paletteOffset) / paletteEntrySize);
        }
        if (!file.holds(paletteOffset, count * paletteEntrySize)) {
            return std::nullopt;
        }
        for (std::uint64_t i = 0; i < count; ++i) {
            const std::uint64_t entry = paletteOffset + i * paletteEntrySize;
            header.palette[i] = {file.u8(entry + 2), file.u8(entry + 1), file.u8(entry)};
        }
    }
    if (!file.holds(header.pixelOffset, 0)) {
        return std::nullopt;
    }
    return header;
}

Bitmap blankBitmap(const Header& header)
{
    Bitmap bitmap;
    bitmap.width = static_cast<int>(header.width);
    bitmap.height = static_cast<int>(header.height);
    bitmap.bitsPerPixel = 24;
    bitmap.pixels.resize(header.width * header.height * 3);
    return bitmap;
}

void put(std::uint8_t* pixel, const Rgb& colour)
{
    pixel[0] = colour.red;
    pixel[1] = colour.green;
    pixel[2] = colour.blue;
}

std::optional<Bitmap> readUncompressed(const Bytes& file, const Header& header)
{
    const std::uint64_t bits = static_cast<std::uint64_t>(header.bitsPerPixel);
    const std::uint64_t stride = (header.width * bits + 31) / 32 * 4;
    const std::uint64_t rowBytes = (header.width * bits + 7) / 8;
    // The last row's padding may be missing; its pixels may not.
    if (!file.holds(header.pixelOffset, stride * (header.height - 1) + rowBytes)) {
        return std::nullopt;
    }
    Bitmap bitmap = blankBitmap(header);
    for (std::uint64_t fileRow = 0; fileRow < header.height; ++fileRow) {
        const std::uint64_t y = header.topDown ? fileRow : header.height - 1 - fileRow;
        const std::uint64_t start = header.pixelOffset + fileRow * stride;
        std::uint8_t* out = bitmap.row(static_cast<int>(y));
        for (std::uint64_t x = 0; x < header.width; ++x, out += 3) {
            switch (header.bitsPerPixel) {
            case 1:
                put(out, header.palette[(file.u8(start + x / 8) >> (7 - x % 8)) & 1]);
                break;
            case 4:
                put(out, header.palette[(file.u8(start + x / 2) >> (x % 2 == 0 ? 4 : 0)) & 0x0F]);
                break;
            case 8:
                put(out, header.palette[file.u8(start + x)]);
                break;
            case 16: {
                const std::uint32_t pixel = file.u16(start + 2 * x);
                put(out, {header.red.value(pixel), header.green.value(pixel), header.blue.value(pixel)});
                break;
            }
            case 24: {
                const std::uint64_t at = start + 3 * x;
                put(out, {file.u8(at + 2), file.u8(at + 1), file.u8(at)});
                break;
            }
            default: {
                const std::uint32_t pixel = file.u32(start + 4 * x);
                put(out, {header.red.value(pixel), header.green.value(pixel), header.blue.value(pixel)});
                break;
            }
            }
        }
    }
    return bitmap;
}

// Run-length data: pixels that no run reaches keep colour 0, runs past a row's end are cut off,
// and data ending without its end marker keeps what was decoded.
std::optional<Bitmap> readRunLength(const Bytes& file, const Header& header)
{
    const bool fourBits = header.compression == Rle4;
    std::vector<std::uint8_t> indexes(header.width * header.height, 0);
    std::uint64_t x = 0;
    std::uint64_t y = 0; // counted from the bottom row, as stored
    const auto set = [&](std::uint8_t index) {
        if (x < header.width && y < header.height) {
            indexes[y * header.width + x] = index;
        }
        ++x;
    };
    std::uint64_t at = header.pixelOffset;
    while (y < header.height && file.holds(at, 2)) {
        const std::uint8_t count = file.u8(at);
        const std::uint8_t value = file.u8(at + 1);
        at += 2;
        if (count > 0) {
            for (unsigned i = 0; i < count && x < header.width; ++i) {
                set(fourBits ? static_cast<std::uint8_t>(i % 2 == 0 ? value >> 4 : value & 0x0F) : value);
            }
        } else if (value == 0) {
            x = 0;
            ++y;
        } else if (value == 1) {
            break;
        } else if (value == 2) {
            if (!file.holds(at, 2)) {
                break;
            }
            x += file.u8(at);
            y += file.u8(at + 1);
            at += 2;
        } else {
            const std::uint64_t dataBytes = fourBits ? (value + 1u) / 2 : value;
            if (!file.holds(at, dataBytes)) {
                break;
            }
            for (unsigned i = 0; i < value; ++i) {
                const std::uint8_t byte = file.u8(at + (fourBits ? i / 2 : i));
                set(fourBits ? static_cast<std::uint8_t>(i % 2 == 0 ? byte >> 4 : byte & 0x0F) : byte);
            }
            at += dataBytes + (dataBytes & 1); // absolute runs are padded to 16 bits
        }
    }
    Bitmap bitmap = blankBitmap(header);
    for (std::uint64_t row = 0; row < header.height; ++row) {
        std::uint8_t* out = bitmap.row(static_cast<int>(header.height - 1 - row));
        const std::uint8_t* in = indexes.data() + row * header.width;
        for (std::uint64_t column = 0; column < header.width; ++column, out += 3) {
            put(out, header.palette[in[column]]);
        }
    }
    return bitmap;
}

void setU16(char* at, std::uint32_t value)
{
    at[0] = static_cast<char>(value & 0xFF);
    at[1] = static_cast<char>((value >> 8) & 0xFF);
}

void setU32(char* at, std::uint32_t value)
{
    setU16(at, value & 0xFFFF);
    setU16(at + 2, value >> 16);
}

struct Layout
{
    std::size_t stride = 0;
    std::size_t pixelOffset = 0;
    std::size_t imageBytes = 0;
};

Layout layoutOf(int width, int height, int bitsPerPixel)
{
    Layout layout;
    const std::size_t rowBytes = static_cast<std::size_t>(width) * (bitsPerPixel == 8 ? 1 : 3);
    layout.stride = (rowBytes + 3) / 4 * 4;
    layout.pixelOffset = 14 + 40 + (bitsPerPixel == 8 ? 256 * 4 : 0);
    layout.imageBytes = layout.stride * static_cast<std::size_t>(height);
    return layout;
}

} // namespace

std::optional<Bitmap> readBmp(std::string_view bytes, std::uint64_t pixelLimit)
{
    const Bytes file(bytes);
    const std::optional<Header> header = readHeader(file, pixelLimit);
    if (!header) {
        return std::nullopt;
    }
    if (header->compression == Rle8 || header->compression == Rle4) {
        return readRunLength(file, *header);
    }
    return readUncompressed(file, *header);
}

std::optional<BgrRows> uncompressedBgrRows(std::string_view bytes, std::uint64_t pixelLimit)
{
    const Bytes file(bytes);
    const std::optional<Header> header = readHeader(file, pixelLimit);
    if (!header || header->compression != Uncompressed || header->bitsPerPixel != 24) {
        return std::nullopt;
    }
    const std::uint64_t stride = (header->width * 3 + 3) / 4 * 4;
    // The same extent as readBmp requires: the last row's padding may be missing.
    if (!file.holds(header->pixelOffset, stride * (header->height - 1) + header->width * 3)) {
        return std::nullopt;
    }
    const auto* pixels = reinterpret_cast<const std::uint8_t*>(bytes.data()) + header->pixelOffset;
    const auto step = static_cast<std::ptrdiff_t>(stride);
    BgrRows rows{static_cast<int>(header->width), static_cast<int>(header->height), pixels, step};
    if (!header->topDown) {
        rows.top = pixels + static_cast<std::ptrdiff_t>(header->height - 1) * step;
        rows.step = -step;
    }
    return rows;
}

void blankBmpFile(int width, int height, int bitsPerPixel, std::string& file)
{
    const bool grey = bitsPerPixel == 8;
    const Layout layout = layoutOf(width, height, bitsPerPixel);
    // The earlier content is not cleared: a reused string keeps its bytes, all of which are
    // written below or by the caller's rows, so no time goes into filling it with zeros first.
    platform::reserveLargeBuffer(file, layout.pixelOffset + layout.imageBytes);
    file.resize(layout.pixelOffset + layout.imageBytes);
    char* out = file.data();
    std::fill(out, out + layout.pixelOffset, '\0');
    const std::size_t rowBytes = static_cast<std::size_t>(width) * (grey ? 1 : 3);
    for (std::size_t padding = rowBytes; padding < layout.stride && height > 0; ++padding) {
        for (std::size_t row = 0; row < static_cast<std::size_t>(height); ++row) {
            out[layout.pixelOffset + row * layout.stride + padding] = '\0';
        }
    }
    out[0] = 'B';
    out[1] = 'M';
    setU32(out + 2, static_cast<std::uint32_t>(layout.pixelOffset + layout.imageBytes));
    setU32(out + 10, static_cast<std::uint32_t>(layout.pixelOffset));
    setU32(out + 14, 40);
    setU32(out + 18, static_cast<std::uint32_t>(width));
    setU32(out + 22, static_cast<std::uint32_t>(height)); // positive: rows bottom-up
    setU16(out + 26, 1);
    setU16(out + 28, grey ? 8 : 24);
    setU32(out + 30, Uncompressed);
    setU32(out + 34, static_cast<std::uint32_t>(layout.imageBytes));
    setU32(out + 46, grey ? 256 : 0);
    for (std::uint32_t level = 0; grey && level < 256; ++level) {
        setU32(out + 54 + 4 * level, level * 0x010101u);
    }
}

std::size_t bmpRowOffset(int width, int height, int bitsPerPixel, int y)
{
    const Layout layout = layoutOf(width, height, bitsPerPixel);
    return layout.pixelOffset + static_cast<std::size_t>(height - 1 - y) * layout.stride;
}

std::string writeBmp(const Bitmap& bitmap)
{
    std::string out;
    blankBmpFile(bitmap.width, bitmap.height, bitmap.bitsPerPixel, out);
    const bool grey = bitmap.bitsPerPixel == 8;
    for (int y = 0; y < bitmap.height; ++y) {
        const std::uint8_t* in = bitmap.row(y);
        char* pixel = out.data() + bmpRowOffset(bitmap.width, bitmap.height, bitmap.bitsPerPixel, y);
        if (grey) {
            std::copy(in, in + bitmap.rowBytes(), pixel);
            continue;
        }
        for (int x = 0; x < bitmap.width; ++x, in += 3, pixel += 3) {
            pixel[0] = static_cast<char>(in[2]);
            pixel[1] = static_cast<char>(in[1]);
            pixel[2] = static_cast<char>(in[0]);
        }
    }
    return out;
}

} // namespace quorvane::imaging
