// kuzari-icongen: writes the desktop's icons, nearest-neighbour enlargements
// of the game's 32 x 32 icon art, as RGBA PNGs.
//   kuzari-icongen SIZE FILE.png [SIZE FILE.png]...   (SIZE a multiple of 32)
#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/sdl/icon_art.h"

namespace {

bool write_icon_png(const char* path, int size) {
    std::FILE* file = std::fopen(path, "wb");
    if (!file) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, size, size, 8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    const int scale = size / icon_size;
    std::vector<png_byte> row(size * 4);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const IconColour& c = icon_pixel(x / scale, y / scale);
            png_byte* out = &row[x * 4];
            out[0] = c.r;
            out[1] = c.g;
            out[2] = c.b;
            out[3] = c.a;
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3 || argc % 2 == 0) {
        std::fprintf(stderr, "usage: kuzari-icongen SIZE FILE.png [SIZE FILE.png]...\n");
        return 2;
    }
    for (int i = 1; i < argc; i += 2) {
        char* end = nullptr;
        const long size = std::strtol(argv[i], &end, 10);
        if (*end || size < icon_size || size > 1024 || size % icon_size) {
            std::fprintf(stderr, "kuzari-icongen: size '%s' is not a multiple of %d up to 1024\n", argv[i],
                         icon_size);
            return 2;
        }
        if (!write_icon_png(argv[i + 1], int(size))) {
            std::fprintf(stderr, "kuzari-icongen: cannot write '%s'\n", argv[i + 1]);
            return 1;
        }
    }
    return 0;
}
