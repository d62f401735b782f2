#include "screenshot.h"

#include <vector>

#include "graphics/graphics.h"
#include "png_file.h"

bool write_screenshot_png(const std::string& path, const uint16_t* pixels) {
    std::vector<uint8_t> rgb(screen_width * screen_height * 3);
    for (int i = 0; i < screen_width * screen_height; ++i) {
        const uint16_t p = pixels ? pixels[i] : 0;
        const unsigned r = (p >> 11) & 0x1F, g = (p >> 5) & 0x3F, b = p & 0x1F;
        rgb[i * 3 + 0] = uint8_t(r << 3 | r >> 2);
        rgb[i * 3 + 1] = uint8_t(g << 2 | g >> 4);
        rgb[i * 3 + 2] = uint8_t(b << 3 | b >> 2);
    }
    return write_png(path, screen_width, screen_height, 3, rgb.data());
}
