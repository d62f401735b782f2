// kuzari-icongen: writes the desktop's icons, nearest-neighbour enlargements
// of the game's 32 x 32 icon art, as RGBA PNGs; with an "m" before the size,
// a maskable one for installing on a phone: the art whole inside the circle
// a launcher may cut the icon to, on an opaque black square.
//   kuzari-icongen [m]SIZE FILE.png [[m]SIZE FILE.png]...   (SIZE a multiple of 32)
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "hosts/shared/icon_art.h"
#include "hosts/shared/png/png_file.h"

namespace {

// A launcher may show no more of a maskable icon than the circle of 80 % of
// its width; the art's square must lie inside that circle, so its side is
// at most 0.8 / sqrt(2) of the icon's, at a whole scale.
constexpr double maskable_side = 0.5657;

bool write_icon_png(const char* path, int size, bool maskable) {
    const int scale = maskable ? std::max(1, int(size * maskable_side) / icon_size) : size / icon_size;
    const int margin = (size - scale * icon_size) / 2;
    std::vector<uint8_t> rgba(size_t(size) * size * 4);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const int ax = x - margin, ay = y - margin;
            const bool art = ax >= 0 && ay >= 0 && ax < scale * icon_size && ay < scale * icon_size;
            IconColour c = art ? icon_pixel(ax / scale, ay / scale) : IconColour{0, 0, 0, 0};
            if (maskable) {  // opaque: the art over black
                c = IconColour{uint8_t(c.r * c.a / 255), uint8_t(c.g * c.a / 255), uint8_t(c.b * c.a / 255), 255};
            }
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
        std::fprintf(stderr, "usage: kuzari-icongen [m]SIZE FILE.png [[m]SIZE FILE.png]...\n");
        return 2;
    }
    for (int i = 1; i < argc; i += 2) {
        const bool maskable = argv[i][0] == 'm';
        char* end = nullptr;
        const long size = std::strtol(argv[i] + (maskable ? 1 : 0), &end, 10);
        if (*end || size < icon_size || size > 1024 || size % icon_size) {
            std::fprintf(stderr, "kuzari-icongen: size '%s' is not a multiple of %d up to 1024\n", argv[i],
                         icon_size);
            return 2;
        }
        if (!write_icon_png(argv[i + 1], int(size), maskable)) {
            std::fprintf(stderr, "kuzari-icongen: cannot write '%s'\n", argv[i + 1]);
            return 1;
        }
    }
    return 0;
}
