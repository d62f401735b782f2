// The overlay's pixel font: the committed one covers what the host writes with
// it, a malformed one is refused, and text is drawn from the sheet's cells.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/data_file.h"
#include "hosts/shared/captions.h"
#include "hosts/shared/pixel_font.h"
#include "support/bmp_writer.h"
#include "support/committed_font.h"

namespace {

std::vector<uint8_t> bytes_of(const std::string& text) { return std::vector<uint8_t>(text.begin(), text.end()); }

// A sheet of `cells` cells across and `rows` down, each cell's pixel (i, 0)
// inked for cell i, so every cell differs.
std::vector<uint8_t> sheet_bmp(int cells, int rows, int width_extra = 0) {
    const int width = cells * pixel_font_cell + width_extra, height = rows * pixel_font_cell;
    std::vector<Rgb> pixels(size_t(width * height), Rgb{0, 0, 0});
    for (int cell = 0; cell < cells * rows; ++cell) {
        const int x = cell % cells * pixel_font_cell + cell / cells, y = cell / cells * pixel_font_cell;
        pixels[size_t(y * width + x)] = Rgb{255, 255, 255};
    }
    return make_bmp(BmpFormat::pal1, width, height, pixels);
}

std::string refusal(const std::vector<uint8_t>& sheet, const std::string& characters) {
    PixelFont font;
    std::string error;
    EXPECT_FALSE(parse_pixel_font(&font, sheet, bytes_of(characters), &error));
    EXPECT_TRUE(font.glyphs.empty());
    return error;
}

}  // namespace

TEST(PixelFont, CommittedFontCoversAsciiAndEveryCaption) {
    const PixelFont font = committed_font();
    for (char c = ' '; c <= '~'; ++c) EXPECT_TRUE(pixel_font_covers(font, std::string(1, c).c_str())) << c;
    for (int i = 0; i < voice_caption_count; ++i) {
        EXPECT_TRUE(pixel_font_covers(font, voice_captions[i].words)) << voice_captions[i].words;
        EXPECT_TRUE(pixel_font_covers(font, voice_captions[i].meaning)) << voice_captions[i].meaning;
    }
    EXPECT_TRUE(pixel_font_covers(font, "「鬼は外、福は内」・ー？（１２３）"));
    EXPECT_FALSE(pixel_font_covers(font, "\xF0\x9F\x8E\x89"));  // an emoji the face lacks
}

TEST(PixelFont, DrawsTheCellsOfItsCharacters) {
    // Two faces: "ab" advancing 3, "c" 8; the sheet 2 cells across, 2 rows.
    PixelFont font;
    std::string error;
    ASSERT_TRUE(parse_pixel_font(&font, sheet_bmp(2, 2), bytes_of("# faces\n3 ab\n8 c\n"), &error)) << error;
    EXPECT_EQ(3 + 3 + 8, pixel_text_width(font, "abc"));
    OverlayImage image;
    clear_overlay(&image, 20, pixel_font_cell);
    draw_pixel_text(&image, font, 0, 0, "cab", 0xFFFFFFFF);
    // c is cell 2: ink at its (1, 0); then a (cell 0) at x 8, b (cell 1) at 11.
    std::vector<int> inked;
    for (size_t i = 0; i < image.pixels.size(); ++i)
        if (image.pixels[i]) inked.push_back(int(i));
    EXPECT_EQ((std::vector<int>{1, 8, 11}), inked);

    // A character it lacks, and a malformed byte, each draw a box's advance.
    EXPECT_EQ(pixel_text_width(font, "\xE3\x81\x82"), pixel_text_width(font, "\xFF"));
    clear_overlay(&image, 20, pixel_font_cell);
    draw_pixel_text(&image, font, 0, 0, "z", 0xFFFFFFFF);
    EXPECT_TRUE(image.pixels[0] && image.pixels[size_t(6 * 20)]);
    EXPECT_FALSE(pixel_font_covers(font, "az"));
}

TEST(PixelFont, RefusesAMalformedFont) {
    const std::vector<uint8_t> sheet = sheet_bmp(2, 2);
    // Cells the characters do not fill, or too few of them.
    EXPECT_NE(std::string::npos, refusal(sheet, "8 a\n").find("font/glyphs.bmp: 4 cells in 2 rows for 1 characters"));
    EXPECT_NE(std::string::npos, refusal(sheet, "8 abcde\n").find("font/glyphs.bmp"));
    // A sheet not cut into whole cells; not a bitmap at all.
    EXPECT_NE(std::string::npos, refusal(sheet_bmp(2, 2, 3), "8 abcd\n").find("whole number"));
    EXPECT_NE(std::string::npos, refusal(bytes_of("BM"), "8 abcd\n").find("not a Windows bitmap"));
    // Not UTF-8: a lone continuation byte, an overlong slash, a surrogate.
    for (const char* bad : {"8 ab\x80" "c\n", "8 ab\xC0\xAF" "c\n", "8 ab\xED\xA0\x80" "c\n"})
        EXPECT_EQ("font/glyphs.txt: line 1: not UTF-8", refusal(sheet, bad));
    EXPECT_EQ("font/glyphs.txt: line 2: a control character", refusal(sheet, "8 ab\n8 c\r\n"));
    EXPECT_EQ("font/glyphs.txt: U+0061 comes twice", refusal(sheet, "8 abca\n"));
    EXPECT_EQ("font/glyphs.txt: line 1: no space after the advance", refusal(sheet, "8abcd\n"));
    EXPECT_EQ("font/glyphs.txt: line 1: the advance is not 1 to 16", refusal(sheet, "0 abcd\n"));
    EXPECT_EQ("font/glyphs.txt: no characters", refusal(sheet, "# nothing\n"));
}

TEST(PixelFont, MissingFilesAreNamed) {
    set_data_folder("/nonexistent-kuzari-data");
    PixelFont font;
    std::string error;
    EXPECT_FALSE(load_pixel_font(&font, &error));
    set_data_folder("");
    EXPECT_EQ("font/glyphs.bmp: cannot be read", error);
}
