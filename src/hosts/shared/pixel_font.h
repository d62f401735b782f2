// The game's own pixel fonts for the host's overlay: an 8-pixel Japanese face
// and a proportional Latin one, read from the data folder (font/glyphs.bmp, the
// glyph cells, and font/glyphs.txt, the characters in cell order) as
// tools/datagen writes them.
//
// glyphs.bmp: cells of pixel_font_cell x pixel_font_cell, filled left to right
// and top to bottom, with no more rows than the cells need; black is clear and
// any other colour ink (the file is 1-bit). A glyph stands at its cell's top-left.
// glyphs.txt: UTF-8, "\n" line ends. A line starting with '#' is a comment;
// every other line is an advance in pixels, one space, then the characters
// that advance so, in cell order, the lines following each other in cell order.
// The Latin face advances its ink's width plus one, the Japanese face 8.
#pragma once

#include <string>
#include <vector>

#include "hosts/shared/overlay_image.h"

constexpr int pixel_font_line_height = 10;  // a line of text, with room between lines
constexpr int pixel_font_cell = 8;          // a glyph's cell, square

struct PixelGlyph {
    char32_t character;
    int cell;     // its cell in the sheet
    int advance;  // pixels to the next glyph's left edge
};

struct PixelFont {
    std::vector<uint8_t> ink;  // one byte a pixel of the cells' sheet: 0 clear, 1 ink
    int sheet_width = 0, sheet_height = 0;
    std::vector<PixelGlyph> glyphs;  // sorted by character
};

// Reads the font from the data folder; false (with *error naming the file and
// what is wrong) when it is missing or malformed. The overlay then goes without text.
bool load_pixel_font(PixelFont* font, std::string* error);
// The same from bytes already read, for the tests and the fuzz target.
bool parse_pixel_font(PixelFont* font, const std::vector<uint8_t>& sheet_bmp,
                      const std::vector<uint8_t>& characters_utf8, std::string* error);

// Width in pixels of UTF-8 text on one line: the sum of its advances (so the
// Latin face's gap after the last glyph counts); a character the font lacks counts as a box.
int pixel_text_width(const PixelFont& font, const char* utf8);
// Draws text with its top-left at (x, y), clipped to the image.
void draw_pixel_text(OverlayImage* image, const PixelFont& font, int x, int y, const char* utf8,
                     OverlayColour colour);
// Whether every character of the text has a glyph (the tests hold every text to it).
bool pixel_font_covers(const PixelFont& font, const char* utf8);
