// The hints laid over the game's own hint lines: which shows when, over the
// real game, and the words for each device and set of keys.
#include <gtest/gtest.h>

#include <unistd.h>

#include <vector>

#include "core/data_file.h"
#include "hosts/headless/headless.h"
#include "hosts/shared/hints.h"
#include "hosts/shared/input_script.h"
#include "gameplay/gameplay.h"
#include "scenes/scenes.h"
#include "shell/shell.h"

namespace {

struct Keys {
    std::vector<std::string> keys[game_key_count];
    std::vector<std::string> buttons[game_key_count];
    bool page = false;
    HintBindings bindings() const { return {keys, buttons, page}; }
};

Keys default_keys(bool page) {
    Keys made;
    made.page = page;
    for (int key = 0; key < game_key_count; ++key) {
        for (const char* name : page ? game_keys[key].page_codes : game_keys[key].desktop_keys)
            if (name) made.keys[key].push_back(name);
        made.buttons[key] = {game_keys[key].pad_button};
    }
    return made;
}

}  // namespace

// The title chosen at once, then throw held in the round until the stock is
// out, and a refill: the title's line, then the refill's, then none.
TEST(Hints, FollowTheGameFromTheTitleToARefill) {
    ASSERT_EQ(chdir(KUZARI_DATA_DIR), 0);
    std::vector<GameHint> seen;  // each change
    uint64_t refilled_at = 0, hint_gone_at = 0;
    int refill_frames = 0;
    HeadlessConfig config;
    config.frame_limit = 3000;
    config.input_source = [&](uint64_t frame) {
        InputRun run{};
        run.count = 1;
        run.joystick = joystick_at_rest;
        if (hint_gone_at) return frame > hint_gone_at + 30 ? InputRun{} : run;
        if (top_scene == scene_title) run.keys.enter = title_state == title_choosing && frame % 2;
        else if (refill_frames >= 20 && !refilled_at) run.keys.shift = true, refilled_at = frame;
        else run.keys.enter = !refill_frames && round_state == round_playing;
        return run;
    };
    config.on_frame = [&](uint64_t frame, bool) {
        const GameHint hint = game_hint_now();
        if (hint == hint_refill) ++refill_frames;
        if (refilled_at && !hint_gone_at && hint == hint_none) hint_gone_at = frame;
        if (seen.empty() || seen.back() != hint) seen.push_back(hint);
    };
    headless_configure(config);
    game_main();
    headless_finish();
    EXPECT_EQ(seen, (std::vector<GameHint>{hint_none, hint_title, hint_none, hint_refill, hint_none}));
    ASSERT_GT(refilled_at, 0u) << "the stock never ran out";
    EXPECT_GT(hint_gone_at, refilled_at);
    EXPECT_LT(hint_gone_at, refilled_at + 60) << "the refill's line goes with the refill";
}

TEST(Hints, DefaultKeysLayNothing) {
    for (const bool page : {false, true})
        for (const bool english : {false, true})
            for (const GameHint hint : {hint_title, hint_refill, hint_none})
                EXPECT_EQ("", hint_words(hint, device_keyboard, english, default_keys(page).bindings()));
    // A key added beside the default still leaves the game's line true.
    Keys more = default_keys(false);
    more.keys[key_throw].push_back("Z");
    EXPECT_EQ("", hint_words(hint_title, device_keyboard, true, more.bindings()));
}

TEST(Hints, ARemappedKeyIsNamed) {
    Keys desktop = default_keys(false);
    desktop.keys[key_throw] = {"Z"};
    EXPECT_EQ("Up/Down: choose  Z: OK", hint_words(hint_title, device_keyboard, true, desktop.bindings()));
    EXPECT_EQ("↑↓：えらぶ  Z：けってい", hint_words(hint_title, device_keyboard, false, desktop.bindings()));
    EXPECT_EQ("", hint_words(hint_refill, device_keyboard, true, desktop.bindings()));
    desktop.keys[key_refill] = {"Left Ctrl"};
    desktop.keys[key_up] = {"W"};
    EXPECT_EQ("Left Ctrl:refill", hint_words(hint_refill, device_keyboard, true, desktop.bindings()));
    EXPECT_EQ("W/Down: choose  Z: OK", hint_words(hint_title, device_keyboard, true, desktop.bindings()));
    desktop.keys[key_refill].clear();
    EXPECT_EQ("なしで補充", hint_words(hint_refill, device_keyboard, false, desktop.bindings()));

    Keys page = default_keys(true);
    page.keys[key_throw] = {"KeyZ"};
    page.keys[key_refill] = {"Digit1"};
    EXPECT_EQ("Up/Down: choose  Z: OK", hint_words(hint_title, device_keyboard, true, page.bindings()));
    EXPECT_EQ("1で補充", hint_words(hint_refill, device_keyboard, false, page.bindings()));
}

TEST(Hints, PadAndTouchSayTheirOwn) {
    Keys keys = default_keys(false);
    const struct {
        GameHint hint;
        bool english;
        const char* words;
    } pad_words[] = {{hint_title, true, "↑↓: choose  A: OK"}, {hint_title, false, "↑↓：えらぶ  A：けってい"},
                     {hint_refill, true, "B:refill"}, {hint_refill, false, "Bで補充"}};
    for (const auto& said : pad_words)
        EXPECT_EQ(said.words, hint_words(said.hint, device_pad, said.english, keys.bindings()));
    keys.buttons[key_refill] = {"rightshoulder"};
    keys.buttons[key_up] = {"y"};
    EXPECT_EQ("RB:refill", hint_words(hint_refill, device_pad, true, keys.bindings()));
    EXPECT_EQ("Y/↓: choose  A: OK", hint_words(hint_title, device_pad, true, keys.bindings()));
    EXPECT_EQ("bowl: refill", hint_words(hint_refill, device_touch, true, keys.bindings()));
    EXPECT_NE(std::string::npos, hint_words(hint_title, device_touch, false, keys.bindings()).find("タップ"));
    EXPECT_EQ("", hint_words(hint_none, device_pad, true, keys.bindings()));
}

TEST(Hints, EveryDevicesWordsAreDrawnOverTheWholeLine) {
    set_data_folder(KUZARI_DATA_DIR);
    PixelFont font;
    std::string error;
    ASSERT_TRUE(load_pixel_font(&font, &error)) << error;
    set_data_folder("");
    const Keys keys = default_keys(false);
    for (const InputDevice device : {device_pad, device_touch})
        for (const bool english : {false, true})
            for (const GameHint hint : {hint_title, hint_refill}) {
                const std::string words = hint_words(hint, device, english, keys.bindings());
                const HintPlace place = hint_place(hint);
                EXPECT_TRUE(pixel_font_covers(font, words.c_str())) << words;
                EXPECT_LE(pixel_text_width(font, words.c_str()), place.width) << words;
                OverlayImage band;
                draw_hint(&band, font, hint, words);
                ASSERT_EQ(hint_band_width, band.width);
                ASSERT_EQ(place.height, band.height);
                // The game's line is hidden whole, and the band is clear beside it.
                int ink = 0;
                for (int y = 0; y < band.height; ++y)
                    for (int x = 0; x < band.width; ++x) {
                        const OverlayColour pixel = band.pixels[size_t(y * band.width + x)];
                        const bool on_line = x >= place.left && x < place.left + place.width;
                        EXPECT_EQ(on_line ? 0xFFu : 0u, pixel >> 24) << words << " at " << x << "," << y;
                        ink += (pixel & 0xFFFFFF) == 0xFCFCFC;
                    }
                EXPECT_GT(ink, 10) << words;
            }
}
