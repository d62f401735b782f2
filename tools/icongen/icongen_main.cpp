// kuzari-icongen: writes the desktop's icons, nearest-neighbour enlargements
// of the game's 32 x 32 icon art, as RGBA PNGs.
//   kuzari-icongen SIZE FILE.png [SIZE FILE.png]...   (SIZE a multiple of 32)
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "hosts/shared/icon_art.h"
#include "hosts/shared/png/png_file.h"

namespace {

bool write_icon_png(const char* path, int size) {
    const int scale = size / icon_size;
    std::vector<uint8_t> rgba(size_t(size) * size * 4);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const IconColour& c = icon_pixel(x / scale, y / scale);
            uint8_t* out = &rgba[(size_t(y) * size + x) * 4];
            out[0] = c.r;
            out[1] = c.g;
            out[2] = c.b;
            out[3] = c.a;
        }
    return write_png(path, size, size, 4, rgba.data());
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
