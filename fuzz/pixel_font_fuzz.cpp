// The overlay font's reader on arbitrary bytes: the first two bytes (little
// endian) say how many of the rest are glyphs.txt, the others are glyphs.bmp.
// A font it takes has each character once, in order, each in a cell of the
// sheet; drawing any text with it stays inside the picture.
#include <cstdlib>
#include <string>

#include "hosts/shared/pixel_font.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    size_t text_size = size_t(data[0]) | size_t(data[1]) << 8;
    if (text_size > size - 2) text_size = size - 2;
    const std::vector<uint8_t> characters(data + 2, data + 2 + text_size);
    const std::vector<uint8_t> sheet(data + 2 + text_size, data + size);

    PixelFont font;
    std::string error;
    if (!parse_pixel_font(&font, sheet, characters, &error)) {
        if (error.compare(0, 11, "font/glyphs") != 0 || !font.glyphs.empty()) std::abort();
        return 0;
    }
    const size_t cells = size_t(font.sheet_width / pixel_font_cell) * size_t(font.sheet_height / pixel_font_cell);
    if (font.glyphs.empty() || font.glyphs.size() > cells) std::abort();
    if (font.ink.size() != size_t(font.sheet_width) * size_t(font.sheet_height)) std::abort();
    for (size_t i = 0; i < font.glyphs.size(); ++i) {
        const PixelGlyph& glyph = font.glyphs[i];
        if (glyph.cell < 0 || size_t(glyph.cell) >= font.glyphs.size()) std::abort();
        if (glyph.advance < 1 || glyph.advance > 2 * pixel_font_cell) std::abort();
        if (i > 0 && font.glyphs[i - 1].character >= glyph.character) std::abort();
    }

    // Its own characters file as text, drawn partly off a small picture.
    const std::string text(characters.begin(), characters.end());
    OverlayImage image;
    clear_overlay(&image, 40, 12);
    draw_pixel_text(&image, font, -3, -2, text.c_str(), 0x80FFFFFF);
    if (image.pixels.size() != 40 * 12) std::abort();
    if (pixel_text_width(font, text.c_str()) < 0) std::abort();
    return 0;
}
