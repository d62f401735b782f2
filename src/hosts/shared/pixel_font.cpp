// The overlay's pixel font: read and checked once, then looked up by binary
// search for every character drawn.
#include "hosts/shared/pixel_font.h"

#include <algorithm>

#include "core/data_file.h"
#include "graphics/picture.h"

namespace {

constexpr const char* sheet_path = "font/glyphs.bmp";
constexpr const char* characters_path = "font/glyphs.txt";
// Far more than the font needs (27 kB and 10 kB), far less than would hurt.
constexpr size_t max_sheet_bytes = 1 << 20;
constexpr size_t max_characters_bytes = 256 << 10;
constexpr int max_advance = 2 * pixel_font_cell;

// A character the font lacks: an outlined box, as tall as a capital.
constexpr int box_width = 5, box_height = 7, box_advance = box_width + 1;

constexpr char32_t not_a_character = 0xFFFFFFFF;

// The character starting at text[*at], moving *at past it; not_a_character
// (after one byte) for anything but well-formed UTF-8: overlong forms,
// surrogates and values past U+10FFFF included.
char32_t next_character(const uint8_t* text, size_t size, size_t* at) {
    const uint8_t lead = text[(*at)++];
    if (lead < 0x80) return lead;
    int more;
    char32_t value, least;
    if (lead >= 0xC2 && lead <= 0xDF) {
        more = 1, value = lead & 0x1Fu, least = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        more = 2, value = lead & 0x0Fu, least = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        more = 3, value = lead & 0x07u, least = 0x10000;
    } else {
        return not_a_character;
    }
    if (size - *at < size_t(more)) return not_a_character;
    for (int i = 0; i < more; ++i) {
        const uint8_t next = text[*at + size_t(i)];
        if ((next & 0xC0) != 0x80) return not_a_character;
        value = value << 6 | (next & 0x3Fu);
    }
    if (value < least || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return not_a_character;
    *at += size_t(more);
    return value;
}

bool is_control(char32_t c) { return c < 0x20 || (c >= 0x7F && c < 0xA0); }

std::string hex_code(char32_t c) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out = "U+";
    bool started = false;
    for (int shift = 20; shift >= 0; shift -= 4) {
        const unsigned digit = unsigned(c >> shift) & 15u;
        if (digit || started || shift < 16) out += digits[digit], started = true;
    }
    return out;
}

bool refuse(std::string* error, const char* path, const std::string& why) {
    if (error) *error = std::string(path) + ": " + why;
    return false;
}

// glyphs.txt into glyphs in cell order.
bool parse_characters(const std::vector<uint8_t>& text, std::vector<PixelGlyph>* glyphs, std::string* error) {
    size_t at = 0;
    int line = 0;
    while (at < text.size()) {
        ++line;
        const std::string where = "line " + std::to_string(line) + ": ";
        if (text[at] == '#') {
            while (at < text.size() && text[at] != '\n') ++at;
            ++at;
            continue;
        }
        int advance = 0, digits = 0;
        while (at < text.size() && text[at] >= '0' && text[at] <= '9' && digits < 3)
            advance = advance * 10 + (text[at++] - '0'), ++digits;
        if (digits == 0) return refuse(error, characters_path, where + "no advance");
        if (advance < 1 || advance > max_advance)
            return refuse(error, characters_path, where + "the advance is not 1 to " + std::to_string(max_advance));
        if (at >= text.size() || text[at] != ' ')
            return refuse(error, characters_path, where + "no space after the advance");
        ++at;
        const size_t before = glyphs->size();
        while (at < text.size() && text[at] != '\n') {
            const char32_t c = next_character(text.data(), text.size(), &at);
            if (c == not_a_character) return refuse(error, characters_path, where + "not UTF-8");
            if (is_control(c)) return refuse(error, characters_path, where + "a control character");
            glyphs->push_back(PixelGlyph{c, int(glyphs->size()), advance});
        }
        if (glyphs->size() == before) return refuse(error, characters_path, where + "no characters");
        ++at;
    }
    if (glyphs->empty()) return refuse(error, characters_path, "no characters");
    return true;
}

const PixelGlyph* find_glyph(const PixelFont& font, char32_t c) {
    const auto found = std::lower_bound(font.glyphs.begin(), font.glyphs.end(), c,
                                        [](const PixelGlyph& g, char32_t key) { return g.character < key; });
    return found != font.glyphs.end() && found->character == c ? &*found : nullptr;
}

// Each character of the text with its glyph (null when the font lacks it),
// malformed bytes counting as a character the font lacks.
template <typename Visit>
void each_glyph(const PixelFont& font, const char* utf8, Visit visit) {
    const auto* text = reinterpret_cast<const uint8_t*>(utf8);
    const size_t size = std::char_traits<char>::length(utf8);
    size_t at = 0;
    while (at < size) {
        const char32_t c = next_character(text, size, &at);
        visit(c == not_a_character ? nullptr : find_glyph(font, c));
    }
}

int advance_of(const PixelGlyph* glyph) { return glyph ? glyph->advance : box_advance; }

}  // namespace

bool parse_pixel_font(PixelFont* font, const std::vector<uint8_t>& sheet_bmp,
                      const std::vector<uint8_t>& characters_utf8, std::string* error) {
    *font = PixelFont{};
    std::vector<PixelGlyph> glyphs;
    if (!parse_characters(characters_utf8, &glyphs, error)) return false;

    Picture picture;
    if (!decode_bitmap_bytes(sheet_bmp.data(), sheet_bmp.size(), &picture))
        return refuse(error, sheet_path, "not a Windows bitmap the game reads");
    if (picture.width % pixel_font_cell || picture.height % pixel_font_cell)
        return refuse(error, sheet_path,
                      "its size is not a whole number of " + std::to_string(pixel_font_cell) + "-pixel cells");
    const size_t per_row = size_t(picture.width / pixel_font_cell), rows = size_t(picture.height / pixel_font_cell);
    if (glyphs.size() > per_row * rows || glyphs.size() <= per_row * (rows - 1))
        return refuse(error, sheet_path,
                      std::to_string(per_row * rows) + " cells in " + std::to_string(rows) + " rows for " +
                          std::to_string(glyphs.size()) + " characters in " + characters_path);

    std::sort(glyphs.begin(), glyphs.end(),
              [](const PixelGlyph& a, const PixelGlyph& b) { return a.character < b.character; });
    for (size_t i = 1; i < glyphs.size(); ++i)
        if (glyphs[i].character == glyphs[i - 1].character)
            return refuse(error, characters_path, hex_code(glyphs[i].character) + " comes twice");

    font->ink.resize(picture.pixels.size());
    std::transform(picture.pixels.begin(), picture.pixels.end(), font->ink.begin(),
                   [](uint16_t pixel) { return uint8_t(pixel != 0); });
    font->sheet_width = picture.width;
    font->sheet_height = picture.height;
    font->glyphs = std::move(glyphs);
    return true;
}

bool load_pixel_font(PixelFont* font, std::string* error) {
    std::vector<uint8_t> sheet_bmp, characters;
    if (!read_data_file(sheet_path, max_sheet_bytes, &sheet_bmp))
        return refuse(error, sheet_path, "cannot be read");
    if (!read_data_file(characters_path, max_characters_bytes, &characters))
        return refuse(error, characters_path, "cannot be read");
    return parse_pixel_font(font, sheet_bmp, characters, error);
}

int pixel_text_width(const PixelFont& font, const char* utf8) {
    int width = 0;
    each_glyph(font, utf8, [&](const PixelGlyph* glyph) { width += advance_of(glyph); });
    return width;
}

void draw_pixel_text(OverlayImage* image, const PixelFont& font, int x, int y, const char* utf8,
                     OverlayColour colour) {
    const int per_row = font.sheet_width / pixel_font_cell;
    each_glyph(font, utf8, [&](const PixelGlyph* glyph) {
        if (!glyph) {
            fill_overlay_box(image, x, y, box_width, 1, colour);
            fill_overlay_box(image, x, y + box_height - 1, box_width, 1, colour);
            fill_overlay_box(image, x, y + 1, 1, box_height - 2, colour);
            fill_overlay_box(image, x + box_width - 1, y + 1, 1, box_height - 2, colour);
        } else if (per_row > 0) {
            const int left = glyph->cell % per_row * pixel_font_cell, top = glyph->cell / per_row * pixel_font_cell;
            for (int row = 0; row < pixel_font_cell; ++row)
                for (int column = 0; column < pixel_font_cell; ++column)
                    if (font.ink[size_t(top + row) * size_t(font.sheet_width) + size_t(left + column)])
                        fill_overlay_box(image, x + column, y + row, 1, 1, colour);
        }
        x += advance_of(glyph);
    });
}

bool pixel_font_covers(const PixelFont& font, const char* utf8) {
    bool covered = true;
    each_glyph(font, utf8, [&](const PixelGlyph* glyph) { covered = covered && glyph; });
    return covered;
}
