// The message shown in the game's window where no dialog tool is: every text
// the game may show in a box is in the font and fits the panel.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/data_file.h"
#include "core/texts.h"
#include "hosts/shared/message_panel.h"
#include "support/committed_font.h"

TEST(MessagePanel, LinesBreakAtSpacesOrAnywhereWithinTheWidth) {
    const PixelFont font = committed_font();
    const std::string text =
        "Start the game with --nosound to play without sound.\n\nこの文はとても長いので二行以上になるはずです。";
    const std::vector<std::string> lines = wrap_pixel_text(font, text, 120);
    ASSERT_GE(lines.size(), 5u);
    std::string joined;
    for (const std::string& line : lines) {
        EXPECT_LE(pixel_text_width(font, line.c_str()), 120) << line;
        EXPECT_TRUE(line.empty() || (line.front() != ' ' && line.back() != ' ')) << "'" << line << "'";
        joined += line;
    }
    // Nothing lost but the spaces a break took and the line breaks.
    std::string expected;
    for (char c : text)
        if (c != ' ' && c != '\n') expected += c;
    std::string got;
    for (char c : joined)
        if (c != ' ') got += c;
    EXPECT_EQ(got, expected);
    EXPECT_TRUE(std::find(lines.begin(), lines.end(), "") != lines.end()) << "the blank line is kept";
}

TEST(MessagePanel, EveryBoxTextOfBothEditionsIsInTheFontAndOnThePanel) {
    const PixelFont font = committed_font();
    for (const GameLanguage language : {language_japanese, language_english}) {
        set_game_language(language);
        add_text_hint(text_sound_failed, "音を出さずに遊ぶには --nosound を付けて起動してください。",
                      "Start the game with --nosound to play without sound.");
        for (const GameText text :
             {text_display_failed, text_sound_failed, text_music_failed, text_missing_file}) {
            for (const std::string& line : wrap_pixel_text(font, game_text(text), 272))
                EXPECT_TRUE(pixel_font_covers(font, line.c_str())) << line;
            OverlayImage panel;
            draw_message_panel(&panel, font, game_text(text), "Enter: 閉じる");
            ASSERT_EQ(panel.width, 320);
            ASSERT_EQ(panel.height, 240);
            int white = 0;
            for (const OverlayColour pixel : panel.pixels) white += pixel == 0xFFFFFFFFu;
            EXPECT_GT(white, 20) << game_text(text);
        }
    }
    set_game_language(language_japanese);
}
