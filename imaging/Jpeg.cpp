#include "Jpeg.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
// jpeglib.h needs size_t and FILE declared before it.
#include <jpeglib.h>

namespace quorvane::imaging {

namespace {

// libjpeg reports a fatal error by calling error_exit, which must not return. It jumps back to
// the one setjmp of the encode or decode call; between the setjmp and any jump, only libjpeg's
// own C frames run, so no C++ destructor is skipped.
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

} // namespace

std::optional<std::string> encodeJpeg(const Bitmap& bitmap, const JpegSettings& settings)
{
    const bool grey = bitmap.bitsPerPixel == 8;
    std::vector<std::uint8_t> rgbRow(grey ? static_cast<std::size_t>(bitmap.width) * 3 : 0);
    jpeg_compress_struct info{};
    ErrorManager errors{};
    unsigned char* output = nullptr;
    unsigned long outputSize = 0;
    info.err = &errors.manager;
    installErrorManager(errors);
    if (setjmp(errors.jump) != 0) {
        jpeg_destroy_compress(&info);
        std::free(output);
        return std::nullopt;
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &output, &outputSize);
    info.image_width = static_cast<JDIMENSION>(bitmap.width);
    info.image_height = static_cast<JDIMENSION>(bitmap.height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
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
    while (info.next_scanline < info.image_height) {
        const std::uint8_t* in = bitmap.row(static_cast<int>(info.next_scanline));
        if (grey) {
            for (int x = 0; x < bitmap.width; ++x) {
                rgbRow[3 * x] = rgbRow[3 * x + 1] = rgbRow[3 * x + 2] = in[x];
            }
            in = rgbRow.data();
        }
        JSAMPROW row = const_cast<JSAMPROW>(in);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    std::string encoded(reinterpret_cast<const char*>(output), outputSize);
    jpeg_destroy_compress(&info);
    std::free(output);
    return encoded;
}

std::optional<Bitmap> decodeJpeg(std::string_view bytes, std::uint64_t pixelLimit)
{
    Bitmap bitmap;
    std::vector<std::uint8_t> cmykRow;
    jpeg_decompress_struct info{};
    ErrorManager errors{};
    info.err = &errors.manager;
    installErrorManager(errors);
    if (setjmp(errors.jump) != 0) {
        jpeg_destroy_decompress(&info);
        return std::nullopt;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.data()),
                 static_cast<unsigned long>(bytes.size()));
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK) {
        jpeg_destroy_decompress(&info);
        return std::nullopt;
    }
    if (info.image_width == 0 || info.image_height == 0 ||
        std::uint64_t{info.image_width} * info.image_height > pixelLimit) {
        jpeg_destroy_decompress(&info);
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
            jpeg_destroy_decompress(&info);
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
    jpeg_destroy_decompress(&info);
    return bitmap;
}

} // namespace quorvane::imaging
