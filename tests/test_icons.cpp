// The icon art and the desktop's icons drawn from it at build time.
#include <gtest/gtest.h>
#include <png.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "hosts/shared/icon_art.h"

namespace {

struct RgbaImage {
    int width = 0, height = 0;
    std::vector<unsigned char> pixels;  // 4 bytes a pixel, rows top to bottom
};

// Reads any PNG as 8-bit RGBA; an empty image when it cannot be read.
RgbaImage read_png(const std::string& path) {
    RgbaImage image;
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&png, path.c_str())) return image;
    png.format = PNG_FORMAT_RGBA;
    std::vector<unsigned char> pixels(PNG_IMAGE_SIZE(png));
    if (!png_image_finish_read(&png, nullptr, pixels.data(), 0, nullptr)) return image;
    image.width = int(png.width);
    image.height = int(png.height);
    image.pixels = std::move(pixels);
    return image;
}

}  // namespace

// A row one digit short would read its terminator as a colour.
TEST(IconArt, EveryRowHoldsThirtyTwoPaletteDigits) {
    for (int y = 0; y < icon_size; ++y) {
        ASSERT_EQ(std::strlen(icon_rows[y]), size_t(icon_size)) << "row " << y;
        for (int x = 0; x < icon_size; ++x) {
            const char c = icon_rows[y][x];
            EXPECT_TRUE((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')) << "row " << y << " column " << x;
        }
    }
    // Transparent corners, so the picture stands free on any panel.
    EXPECT_EQ(icon_pixel(0, 0).a, 0);
    EXPECT_EQ(icon_pixel(31, 31).a, 0);
}

TEST(DesktopIcons, AreWholeFactorEnlargementsOfTheArt) {
    for (int size : {32, 64, 128, 256}) {
        SCOPED_TRACE(size);
        const RgbaImage image = read_png(std::string(KUZARI_ICON_DIR) + "/" + std::to_string(size) + "x" +
                                         std::to_string(size) + "/kuzari.png");
        ASSERT_EQ(image.width, size);
        ASSERT_EQ(image.height, size);
        const int scale = size / icon_size;
        int wrong = 0;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                const IconColour& want = icon_pixel(x / scale, y / scale);
                const unsigned char* got = &image.pixels[(y * size + x) * 4];
                if (got[3] != want.a || (want.a && (got[0] != want.r || got[1] != want.g || got[2] != want.b)))
                    ++wrong;
            }
        EXPECT_EQ(wrong, 0);
    }
}

// 48 is one and a half times the art: averaged, no column wider than another.
// Every third pixel lies wholly inside one pixel of the art.
TEST(DesktopIcons, TheHalfFactorSizeIsTheArtEvenlyAveraged) {
    const RgbaImage image = read_png(std::string(KUZARI_ICON_DIR) + "/48x48/kuzari.png");
    ASSERT_EQ(image.width, 48);
    ASSERT_EQ(image.height, 48);
    int wrong = 0;
    for (int y = 0; y < 48; y += 3)
        for (int x = 0; x < 48; x += 3) {
            const IconColour& want = icon_pixel(x / 3 * 2, y / 3 * 2);
            const unsigned char* got = &image.pixels[(y * 48 + x) * 4];
            if (got[3] != want.a || (want.a && (got[0] != want.r || got[1] != want.g || got[2] != want.b))) ++wrong;
        }
    EXPECT_EQ(wrong, 0);
}

// The scalable icon covers exactly the art's visible pixels, each once.
TEST(DesktopIcons, TheScalableOneIsTheArtsPixels) {
    FILE* file = std::fopen((std::string(KUZARI_ICON_DIR) + "/scalable/kuzari.svg").c_str(), "rb");
    ASSERT_NE(file, nullptr);
    std::vector<int> covered(icon_size * icon_size, 0);
    char line[256];
    int x, y, width;
    while (std::fgets(line, sizeof line, file))
        if (std::sscanf(line, "<rect x=\"%d\" y=\"%d\" width=\"%d\"", &x, &y, &width) == 3)
            for (int i = 0; i < width; ++i)
                if (x + i < icon_size && y < icon_size) ++covered[y * icon_size + x + i];
    std::fclose(file);
    int wrong = 0;
    for (int py = 0; py < icon_size; ++py)
        for (int px = 0; px < icon_size; ++px) wrong += covered[py * icon_size + px] != (icon_pixel(px, py).a ? 1 : 0);
    EXPECT_EQ(wrong, 0);
}
