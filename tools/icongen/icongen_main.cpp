// kuzari-icongen: writes the desktop's icons from the game's 32 x 32 icon
// art: RGBA PNGs, nearest-neighbour enlargements at whole factors; at a half
// factor (48) the art enlarged to twice the size and each 2 x 2 block
// averaged, so that no column is wider than another; with an "m" before the
// size, a maskable one for installing on a phone: the art whole inside the
// circle a launcher may cut the icon to, on an opaque black square; and an
// SVG of the art's pixels as squares, for any size the desktop asks for.
//   kuzari-icongen [m]SIZE FILE.png [[m]SIZE FILE.png]...   (SIZE a multiple of 16)
//   kuzari-icongen svg FILE.svg
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "hosts/shared/icon_art.h"
#include "hosts/shared/png/png_file.h"

namespace {

// A launcher may show no more of a maskable icon than the circle of 80 % of
// its width; the art's square must lie inside that circle, so its side is
// at most 0.8 / sqrt(2) of the icon's, at a whole scale.
constexpr double maskable_side = 0.5657;

std::vector<uint8_t> enlarged(int size, bool maskable) {
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
    return rgba;
}

// Each 2 x 2 block of `big` as one pixel, its colours weighted by their
// opacity so that a transparent neighbour does not darken an edge.
std::vector<uint8_t> halved(const std::vector<uint8_t>& big, int size) {
    const int half = size / 2;
    std::vector<uint8_t> rgba(size_t(half) * half * 4);
    for (int y = 0; y < half; ++y)
        for (int x = 0; x < half; ++x) {
            unsigned sum[3] = {0, 0, 0}, alpha = 0;
            for (int dy = 0; dy < 2; ++dy)
                for (int dx = 0; dx < 2; ++dx) {
                    const uint8_t* in = &big[(size_t(2 * y + dy) * size + size_t(2 * x + dx)) * 4];
                    for (int i = 0; i < 3; ++i) sum[i] += unsigned(in[i]) * in[3];
                    alpha += in[3];
                }
            uint8_t* out = &rgba[(size_t(y) * half + x) * 4];
            for (int i = 0; i < 3; ++i) out[i] = uint8_t(alpha ? (sum[i] + alpha / 2) / alpha : 0);
            out[3] = uint8_t((alpha + 2) / 4);
        }
    return rgba;
}

bool write_icon_png(const char* path, int size, bool maskable) {
    if (maskable || size % icon_size == 0) return write_png(path, size, size, 4, enlarged(size, maskable).data());
    return write_png(path, size, size, 4, halved(enlarged(2 * size, false), 2 * size).data());
}

// One square a pixel, joined along a row where the colour repeats.
bool write_icon_svg(const char* path) {
    std::string svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + std::to_string(icon_size) +
                      "\" height=\"" + std::to_string(icon_size) + "\" viewBox=\"0 0 " + std::to_string(icon_size) +
                      " " + std::to_string(icon_size) + "\" shape-rendering=\"crispEdges\">\n";
    for (int y = 0; y < icon_size; ++y)
        for (int x = 0; x < icon_size;) {
            const IconColour& c = icon_pixel(x, y);
            int run = 1;
            while (x + run < icon_size && std::memcmp(&icon_pixel(x + run, y), &c, sizeof c) == 0) ++run;
            if (c.a) {
                char rect[160];
                std::snprintf(rect, sizeof rect,
                              "<rect x=\"%d\" y=\"%d\" width=\"%d\" height=\"1\" fill=\"#%02x%02x%02x\"", x, y, run,
                              c.r, c.g, c.b);
                svg += rect;
                if (c.a != 255) {
                    std::snprintf(rect, sizeof rect, " fill-opacity=\"%.3f\"", c.a / 255.0);
                    svg += rect;
                }
                svg += "/>\n";
            }
            x += run;
        }
    svg += "</svg>\n";
    FILE* file = std::fopen(path, "wb");
    if (!file) return false;
    const bool written = std::fwrite(svg.data(), 1, svg.size(), file) == svg.size();
    return std::fclose(file) == 0 && written;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3 || argc % 2 == 0) {
        std::fprintf(stderr, "usage: kuzari-icongen [m]SIZE FILE.png|svg FILE.svg [...]\n");
        return 2;
    }
    for (int i = 1; i < argc; i += 2) {
        if (std::strcmp(argv[i], "svg") == 0) {
            if (write_icon_svg(argv[i + 1])) continue;
            std::fprintf(stderr, "kuzari-icongen: cannot write '%s'\n", argv[i + 1]);
            return 1;
        }
        const bool maskable = argv[i][0] == 'm';
        char* end = nullptr;
        const long size = std::strtol(argv[i] + (maskable ? 1 : 0), &end, 10);
        if (*end || size < icon_size || size > 1024 || size % (icon_size / 2)) {
            std::fprintf(stderr, "kuzari-icongen: size '%s' is not a multiple of %d up to 1024\n", argv[i],
                         icon_size / 2);
            return 2;
        }
        if (!write_icon_png(argv[i + 1], int(size), maskable)) {
            std::fprintf(stderr, "kuzari-icongen: cannot write '%s'\n", argv[i + 1]);
            return 1;
        }
    }
    return 0;
}
