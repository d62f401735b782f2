#include "hosts/shared/png/png_file.h"

#include <png.h>

#include <vector>

#include "hosts/shared/file_writer.h"

namespace {

void append_bytes(png_structp png, png_bytep data, png_size_t size) {
    auto* bytes = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    bytes->insert(bytes->end(), data, data + size);
}

void no_flush(png_structp) {}

// The whole picture as a PNG file's bytes; false when libpng gives up.
bool encode_png(int width, int height, int channels, const uint8_t* pixels, std::vector<uint8_t>* bytes) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, bytes, append_bytes, no_flush);
    png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8,
                 channels == 4 ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y)
        png_write_row(png, const_cast<png_bytep>(pixels + size_t(y) * size_t(width) * size_t(channels)));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

bool write_png(const std::string& path, int width, int height, int channels, const uint8_t* pixels,
               std::string* error) {
    std::vector<uint8_t> bytes;
    std::string reason = "the picture cannot be encoded";
    const bool written = encode_png(width, height, channels, pixels, &bytes) &&
                         write_whole_file(path, bytes.data(), bytes.size(), &reason);
    if (!written && error) *error = reason;
    return written;
}

bool write_rgb565_png(const std::string& path, const uint16_t* pixels, int width, int height, int pitch,
                      int scale, std::string* error) {
    const size_t out_width = size_t(width) * size_t(scale), out_height = size_t(height) * size_t(scale);
    std::vector<uint8_t> rgb(out_width * out_height * 3);
    for (size_t y = 0; y < out_height; ++y)
        for (size_t x = 0; x < out_width; ++x) {
            const uint16_t p = pixels ? pixels[(y / size_t(scale)) * size_t(pitch) + x / size_t(scale)] : 0;
            const unsigned r = (p >> 11) & 0x1F, g = (p >> 5) & 0x3F, b = p & 0x1F;
            uint8_t* out = &rgb[(y * out_width + x) * 3];
            out[0] = uint8_t(r << 3 | r >> 2);
            out[1] = uint8_t(g << 2 | g >> 4);
            out[2] = uint8_t(b << 3 | b >> 2);
        }
    return write_png(path, int(out_width), int(out_height), 3, rgb.data(), error);
}
