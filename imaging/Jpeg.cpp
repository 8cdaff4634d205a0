#include "Jpeg.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <utility>
// jpeglib.h needs size_t and FILE declared before it; jerror.h names its message codes.
#include <jerror.h>
#include <jpeglib.h>

namespace quorvane::imaging {

namespace {

// libjpeg reports a fatal error by calling error_exit, which must not return. It jumps back to
// the one setjmp of the encode or decode call; between the setjmp and any jump only libjpeg's own
// C frames and the string destination's callbacks run, and those hold no object with a
// destructor when they call error_exit, so no C++ destructor is skipped.
struct ErrorManager
{
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

extern "C" void jumpOnError(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}

// Warnings and trace messages are neither printed nor treated as errors.
extern "C" void ignoreMessage(j_common_ptr, int) {}
extern "C" void ignoreOutput(j_common_ptr) {}

void installErrorManager(ErrorManager& errors)
{
    jpeg_std_error(&errors.manager);
    errors.manager.error_exit = jumpOnError;
    errors.manager.emit_message = ignoreMessage;
    errors.manager.output_message = ignoreOutput;
}

std::uint8_t cmykChannel(unsigned ink, unsigned black, bool inverted)
{
    // Adobe's files store the inks inverted (255 is no ink); others store them plainly.
    if (inverted) {
        return static_cast<std::uint8_t>(ink * black / 255);
    }
    return static_cast<std::uint8_t>((255 - ink) * (255 - black) / 255);
}

// Destroys the libjpeg object however its function is left: by a return, by the jump from
// error_exit back to the setjmp (the guard is made before it, so it stays alive), or by an
// exception such as std::bad_alloc. Destroying twice is harmless.
template <typename Info, void (*destroy)(Info*)>
class Destroyer
{
public:
    explicit Destroyer(Info& info) : info_(info) {}
    ~Destroyer() { destroy(&info_); }
    Destroyer(const Destroyer&) = delete;
    Destroyer& operator=(const Destroyer&) = delete;

private:
    Info& info_;
};

using CompressGuard = Destroyer<jpeg_compress_struct, jpeg_destroy_compress>;
using DecompressGuard = Destroyer<jpeg_decompress_struct, jpeg_destroy_decompress>;

// A destination that compresses straight into a string, grown as needed, using the memory the
// string already holds. The manager comes first so that libjpeg's pointer to it is a pointer to
// the whole.
struct StringDestination
{
    jpeg_destination_mgr manager{};
    std::string& bytes;
    std::size_t initialSize = 0;
};

StringDestination& destinationOf(j_compress_ptr info)
{
    return *reinterpret_cast<StringDestination*>(info->dest);
}

bool resized(std::string& bytes, std::size_t size)
{
    try {
        bytes.resize(size);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

// Reports a failed allocation as libjpeg's own, by its error exit; called outside any catch block
// so that the jump leaves no exception behind.
void outOfMemory(j_compress_ptr info)
{
    info->err->msg_code = JERR_OUT_OF_MEMORY;
    info->err->error_exit(reinterpret_cast<j_common_ptr>(info));
}

extern "C" void startDestination(j_compress_ptr info)
{
    StringDestination& destination = destinationOf(info);
    if (!resized(destination.bytes, std::max(destination.initialSize, destination.bytes.capacity()))) {
        outOfMemory(info);
    }
    destination.manager.next_output_byte = reinterpret_cast<JOCTET*>(destination.bytes.data());
    destination.manager.free_in_buffer = destination.bytes.size();
}

// Called when the whole string is full: doubles it.
extern "C" boolean growDestination(j_compress_ptr info)
{
    StringDestination& destination = destinationOf(info);
    const std::size_t used = destination.bytes.size();
    if (!resized(destination.bytes, 2 * used)) {
        outOfMemory(info);
    }
    destination.manager.next_output_byte = reinterpret_cast<JOCTET*>(destination.bytes.data()) + used;
    destination.manager.free_in_buffer = destination.bytes.size() - used;
    return TRUE;
}

extern "C" void finishDestination(j_compress_ptr info)
{
    StringDestination& destination = destinationOf(info);
    destination.bytes.resize(destination.bytes.size() - destination.manager.free_in_buffer);
}

// How many scan lines are handed to libjpeg per call.
constexpr int linesPerCall = 16;

// Compresses the rows that rowAt(y) gives, top to bottom, each width pixels of three components in
// the input colour space. Only the input layout differs between callers; every parameter that
// shapes the stream is set here.
template <typename RowAt>
bool compress(int width, int height, J_COLOR_SPACE inputSpace, const JpegSettings& settings, RowAt& rowAt,
              std::string& jpeg)
{
    jpeg_compress_struct info{};
    ErrorManager errors{};
    StringDestination destination{{}, jpeg, 0};
    // Room for two bits a pixel, which photos at middle qualities stay under, so that a new string
    // seldom grows; a reused one starts from all the memory it holds.
    destination.initialSize =
        std::min<std::size_t>(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) / 4,
                              1u << 26) +
        4096;
    destination.manager.init_destination = startDestination;
    destination.manager.empty_output_buffer = growDestination;
    destination.manager.term_destination = finishDestination;
    info.err = &errors.manager;
    installErrorManager(errors);
    const CompressGuard guard(info);
    if (setjmp(errors.jump) != 0) {
        return false;
    }
    jpeg_create_compress(&info);
    info.dest = &destination.manager;
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = 3;
    info.in_color_space = inputSpace;
    jpeg_set_defaults(&info);
    info.dct_method = JDCT_FLOAT;
    jpeg_set_quality(&info, settings.quality, TRUE);
    if (settings.greyscale) {
        jpeg_set_colorspace(&info, JCS_GRAYSCALE);
    }
    if (settings.progressive) {
        jpeg_simple_progression(&info);
    }
    jpeg_start_compress(&info, TRUE);
    JSAMPROW rows[linesPerCall];
    while (info.next_scanline < info.image_height) {
        const int first = static_cast<int>(info.next_scanline);
        const int count = std::min(linesPerCall, height - first);
        for (int i = 0; i < count; ++i) {
            rows[i] = const_cast<JSAMPROW>(rowAt(first + i));
        }
        jpeg_write_scanlines(&info, rows, static_cast<JDIMENSION>(count));
    }
    jpeg_finish_compress(&info);
    return true;
}

enum class Decoded
{
    Done,
    Invalid,
    Cmyk, // left to decodeJpeg, which turns the inks into RGB
};

// Decodes the stream into bmpFile laid out as writeBmp lays it out: colour straight in the file's
// blue, green, red order (libjpeg computes the same values in either order), grey as it is.
Decoded decodeIntoBmp(std::string_view bytes, std::string& bmpFile, std::uint64_t pixelLimit)
{
    jpeg_decompress_struct info{};
    ErrorManager errors{};
    info.err = &errors.manager;
    installErrorManager(errors);
    const DecompressGuard guard(info);
    if (setjmp(errors.jump) != 0) {
        return Decoded::Invalid;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.data()),
                 static_cast<unsigned long>(bytes.size()));
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK) {
        return Decoded::Invalid;
    }
    if (info.image_width == 0 || info.image_height == 0 ||
        std::uint64_t{info.image_width} * info.image_height > pixelLimit) {
        return Decoded::Invalid;
    }
    if (info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK) {
        return Decoded::Cmyk;
    }
    const bool grey = info.jpeg_color_space == JCS_GRAYSCALE;
    info.out_color_space = grey ? JCS_GRAYSCALE : JCS_EXT_BGR;
    info.dct_method = JDCT_FLOAT;
    info.do_block_smoothing = TRUE;
    info.scale_num = 1;
    info.scale_denom = 1;
    jpeg_start_decompress(&info);
    const int width = static_cast<int>(info.output_width);
    const int height = static_cast<int>(info.output_height);
    const int bits = grey ? 8 : 24;
    blankBmpFile(width, height, bits, bmpFile);
    auto* file = reinterpret_cast<std::uint8_t*>(bmpFile.data());
    JSAMPROW rows[linesPerCall];
    while (info.output_scanline < info.output_height) {
        const int first = static_cast<int>(info.output_scanline);
        const int count = std::min(linesPerCall, height - first);
        for (int i = 0; i < count; ++i) {
            rows[i] = file + bmpRowOffset(width, height, bits, first + i);
        }
        // Only a suspending source returns no line; the memory source never does.
        if (jpeg_read_scanlines(&info, rows, static_cast<JDIMENSION>(count)) == 0) {
            return Decoded::Invalid;
        }
    }
    jpeg_finish_decompress(&info);
    return Decoded::Done;
}

} // namespace

std::optional<std::string> encodeJpeg(const Bitmap& bitmap, const JpegSettings& settings)
{
    std::string jpeg;
    if (bitmap.bitsPerPixel != 8) {
        const auto rowAt = [&](int y) {
            return bitmap.row(y);
        };
        return compress(bitmap.width, bitmap.height, JCS_RGB, settings, rowAt, jpeg)
                   ? std::optional(std::move(jpeg))
                   : std::nullopt;
    }
    // Grey pixels are handed over as RGB like every other depth; each call's rows get their own
    // place in the scratch buffer, which libjpeg reads only during that call.
    const std::size_t rowBytes = static_cast<std::size_t>(bitmap.width) * 3;
    std::vector<std::uint8_t> rgb(rowBytes * linesPerCall);
    const auto rowAt = [&](int y) {
        std::uint8_t* out = rgb.data() + static_cast<std::size_t>(y % linesPerCall) * rowBytes;
        const std::uint8_t* in = bitmap.row(y);
        for (int x = 0; x < bitmap.width; ++x) {
            out[3 * x] = out[3 * x + 1] = out[3 * x + 2] = in[x];
        }
        return static_cast<const std::uint8_t*>(out);
    };
    return compress(bitmap.width, bitmap.height, JCS_RGB, settings, rowAt, jpeg)
               ? std::optional(std::move(jpeg))
               : std::nullopt;
}

bool encodeJpeg(const BgrRows& rows, const JpegSettings& settings, std::string& jpeg)
{
    const auto rowAt = [&](int y) {
        return rows.row(y);
    };
    return compress(rows.width, rows.height, JCS_EXT_BGR, settings, rowAt, jpeg);
}

std::optional<Bitmap> decodeJpeg(std::string_view bytes, std::uint64_t pixelLimit)
{
    Bitmap bitmap;
    std::vector<std::uint8_t> cmykRow;
    jpeg_decompress_struct info{};
    ErrorManager errors{};
    info.err = &errors.manager;
    installErrorManager(errors);
    const DecompressGuard guard(info);
    if (setjmp(errors.jump) != 0) {
        return std::nullopt;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.data()),
                 static_cast<unsigned long>(bytes.size()));
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK) {
        return std::nullopt;
    }
    if (info.image_width == 0 || info.image_height == 0 ||
        std::uint64_t{info.image_width} * info.image_height > pixelLimit) {
        return std::nullopt;
    }
    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    const bool grey = info.jpeg_color_space == JCS_GRAYSCALE;
    info.out_color_space = cmyk ? JCS_CMYK : grey ? JCS_GRAYSCALE : JCS_RGB;
    info.dct_method = JDCT_FLOAT;
    info.do_block_smoothing = TRUE;
    info.scale_num = 1;
    info.scale_denom = 1;
    jpeg_start_decompress(&info);
    bitmap.width = static_cast<int>(info.output_width);
    bitmap.height = static_cast<int>(info.output_height);
    bitmap.bitsPerPixel = grey ? 8 : 24;
    bitmap.pixels.resize(bitmap.rowBytes() * static_cast<std::size_t>(bitmap.height));
    if (cmyk) {
        cmykRow.resize(static_cast<std::size_t>(bitmap.width) * 4);
    }
    while (info.output_scanline < info.output_height) {
        const int y = static_cast<int>(info.output_scanline);
        JSAMPROW row = cmyk ? cmykRow.data() : bitmap.row(y);
        if (jpeg_read_scanlines(&info, &row, 1) != 1) {
            // Only a suspending source returns no line; the memory source never does.
            return std::nullopt;
        }
        if (cmyk) {
            std::uint8_t* out = bitmap.row(y);
            for (int x = 0; x < bitmap.width; ++x) {
                const std::uint8_t* ink = cmykRow.data() + 4 * x;
                for (int channel = 0; channel < 3; ++channel) {
                    out[3 * x + channel] = cmykChannel(ink[channel], ink[3], info.saw_Adobe_marker);
                }
            }
        }
    }
    jpeg_finish_decompress(&info);
    return bitmap;
}

bool decodeJpegToBmp(std::string_view bytes, std::string& bmpFile, std::uint64_t pixelLimit)
{
    switch (decodeIntoBmp(bytes, bmpFile, pixelLimit)) {
    case Decoded::Done:
        return true;
    case Decoded::Invalid:
        return false;
    case Decoded::Cmyk:
        break;
    }
    const std::optional<Bitmap> bitmap = decodeJpeg(bytes, pixelLimit);
    if (!bitmap) {
        return false;
    }
    bmpFile = writeBmp(*bitmap);
    return true;
}

} // namespace quorvane::imaging
