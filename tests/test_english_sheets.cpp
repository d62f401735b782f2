// The English edition of the sheets, loaded as the game loads them: every
// word rectangle holds a word in both editions, the English one not cut off at
// the rectangle's sides; nothing else differs; and the English files keep the
// sheets' rules. The game finds them by the Japanese names.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "graphics/graphics.h"
#include "core/data_file.h"
#include "support/headless_game.h"

namespace {

struct WordRect {
    int x0, y0, x1, y1;
};

std::map<std::string, std::vector<WordRect>> word_rects() {
    std::map<std::string, std::vector<WordRect>> rects;
    std::ifstream file(KUZARI_SOURCE_DIR "/tests/reference/word_rects.txt");
    std::string line;
    while (std::getline(file, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream words(line);
        std::string name;
        WordRect r;
        if (words >> name >> r.x0 >> r.y0 >> r.x1 >> r.y1) rects[name].push_back(r);
    }
    return rects;
}

using Sheet = std::vector<uint16_t>;

// The sheet as the game holds it after loading `name` in `language`.
Sheet loaded_sheet(const std::string& name, GameLanguage language) {
    set_game_language(language);
    EXPECT_TRUE(load_sheet(("bitmap/" + name + ".bmp").c_str())) << name;
    int width = 0, height = 0;
    EXPECT_TRUE(sheet_size(&width, &height));
    EXPECT_EQ(width, screen_width);
    EXPECT_EQ(height, screen_height);
    Sheet pixels;
    for (int y = 0; y < screen_height; ++y)
        for (int x = 0; x < screen_width; ++x) pixels.push_back(sheet_pixel(x, y));
    return pixels;
}

bool inside(const std::vector<WordRect>& rects, int x, int y) {
    for (const WordRect& r : rects)
        if (x >= r.x0 && x < r.x1 && y >= r.y0 && y < r.y1) return true;
    return false;
}

std::vector<uint8_t> file_bytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

}  // namespace

TEST(EnglishSheets, EveryWordIsThereWholeAndNothingElseDiffers) {
    ASSERT_TRUE(start_headless_display());
    const auto rects = word_rects();
    ASSERT_EQ(rects.size(), 6u) << "every sheet holds words";
    for (const auto& [name, sheet_rects] : rects) {
        SCOPED_TRACE(name);
        const Sheet ja = loaded_sheet(name, language_japanese);
        const Sheet en = loaded_sheet(name, language_english);
        const auto at = [](const Sheet& s, int x, int y) { return s[size_t(y) * screen_width + size_t(x)]; };
        for (const WordRect& r : sheet_rects) {
            SCOPED_TRACE(testing::Message() << r.x0 << "," << r.y0 << " to " << r.x1 << "," << r.y1);
            bool ja_drawn = false, en_drawn = false, differs = false;
            for (int y = r.y0; y < r.y1; ++y)
                for (int x = r.x0; x < r.x1; ++x) {
                    ja_drawn |= at(ja, x, y) != 0;
                    en_drawn |= at(en, x, y) != 0;
                    differs |= at(ja, x, y) != at(en, x, y);
                }
            EXPECT_TRUE(ja_drawn && en_drawn) << "an empty word";
            EXPECT_TRUE(differs) << "the English word is the Japanese one";
            // A word cut off by its rectangle would leave its strokes on the
            // rectangle's side columns, where only the picture around it may be.
            for (int y = r.y0; y < r.y1; ++y)
                for (const int x : {r.x0, r.x1 - 1})
                    EXPECT_TRUE(at(en, x, y) == at(ja, x, y) || at(en, x, y) == 0)
                        << "a stroke on the side at " << x << "," << y;
        }
        int outside_differences = 0;
        for (int y = 0; y < screen_height; ++y)
            for (int x = 0; x < screen_width; ++x)
                if (!inside(sheet_rects, x, y) && at(ja, x, y) != at(en, x, y)) ++outside_differences;
        EXPECT_EQ(outside_differences, 0);
    }
}

TEST(EnglishSheets, KeepTheSheetsRules) {
    for (const char* name : {"title", "main", "end", "setumei", "gameover", "staff"}) {
        SCOPED_TRACE(name);
        const auto ja = file_bytes(std::string(KUZARI_DATA_DIR "/bitmap/") + name + ".bmp");
        const auto en = file_bytes(std::string(KUZARI_DATA_DIR "/lang/en/bitmap/") + name + ".bmp");
        ASSERT_EQ(en.size(), ja.size());
        ASSERT_GE(en.size(), 54u);
        EXPECT_TRUE(std::equal(en.begin(), en.begin() + 54, ja.begin())) << "the same headers: 320 x 240, 24 bits";
        // Pure black is the one colour that turns into the transparent 0.
        const size_t offset = size_t(en[10]) | size_t(en[11]) << 8;
        int near_black = 0;
        for (size_t i = offset; i + 2 < en.size(); i += 3) {
            const uint8_t b = en[i], g = en[i + 1], r = en[i + 2];
            if ((r | g | b) != 0 && r < 8 && g < 4 && b < 8) ++near_black;
        }
        EXPECT_EQ(near_black, 0);
    }
}
