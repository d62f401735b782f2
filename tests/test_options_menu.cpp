// The options menu every host shows: its navigation, the changes it hands
// the host, remapping keys, and that its words fit and the font has them.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/data_file.h"
#include "hosts/shared/menu_texts.h"
#include "hosts/shared/options_menu.h"

namespace {

MenuFeatures desktop_features(bool window_options, bool pad_buttons) {
    MenuFeatures features;
    features.window_options = window_options;
    features.pad_buttons = pad_buttons;
    for (int key = 0; key < game_key_count; ++key)
        for (const char* name : game_keys[key].desktop_keys)
            if (name) features.default_keys[key].push_back(name);
    features.default_buttons[key_throw] = {"a"};
    features.default_buttons[key_refill] = {"b"};
    features.reserved_keys = {"Escape", "F1"};
    return features;
}

MenuValues default_values(const MenuFeatures& features) {
    MenuValues values;
    for (int key = 0; key < game_key_count; ++key) {
        values.keys[key] = features.default_keys[key];
        values.buttons[key] = features.default_buttons[key];
    }
    return values;
}

// A menu without window options: Resume, Volume, Music, Effects, Mute,
// Captions, Language, Pause in background, Controls, Quit.
struct Menu {
    MenuFeatures features = desktop_features(false, false);
    OptionsMenu* menu = open_options_menu(default_values(features), features, true);
    ~Menu() { close_options_menu(menu); }

    MenuRequest press(std::initializer_list<MenuInput> inputs) {
        MenuRequest last = request_none;
        for (MenuInput input : inputs) last = menu_input(menu, input);
        return last;
    }
};

std::string changes_text(OptionsMenu* menu) {
    std::string text;
    for (const MenuChange& change : take_menu_changes(menu))
        text += "[" + change.section + "]" + change.key + "=" + change.value + ";";
    return text;
}

PixelFont committed_font() {
    PixelFont font;
    std::string error;
    set_data_folder(KUZARI_DATA_DIR);
    EXPECT_TRUE(load_pixel_font(&font, &error)) << error;
    set_data_folder("");
    return font;
}

int row_middle(int row) { return menu_rows_y + row * pixel_font_line_height + pixel_font_line_height / 2; }

}  // namespace

TEST(OptionsMenu, TheCursorWrapsAndBackLeavesEachPageThenResumes) {
    Menu m;
    // Up from Resume wraps to Quit; down from there wraps back to Resume.
    EXPECT_EQ(m.press({menu_up, menu_down, menu_confirm}), request_resume);
    // Two up is Controls; its first row takes a key, and back cancels that.
    m.press({menu_up, menu_up, menu_confirm, menu_confirm});
    EXPECT_TRUE(menu_capturing(m.menu));
    m.press({menu_back});
    EXPECT_FALSE(menu_capturing(m.menu));
    // Back leaves the page with the cursor on Controls; up from the first row is Back.
    m.press({menu_back, menu_confirm, menu_up, menu_confirm});
    EXPECT_FALSE(menu_capturing(m.menu));
    m.press({menu_confirm, menu_confirm});
    EXPECT_TRUE(menu_capturing(m.menu));
    EXPECT_EQ(m.press({menu_back, menu_back, menu_back}), request_resume);
    EXPECT_EQ(changes_text(m.menu), "");
}

TEST(OptionsMenu, VolumesStepByTenWithinZeroAndAHundredOneChangeAStep) {
    Menu m;
    m.press({menu_down, menu_right});  // at 100 already
    EXPECT_EQ(changes_text(m.menu), "");
    for (int step = 0; step < 12; ++step) m.press({menu_left});
    const std::vector<MenuChange> changes = take_menu_changes(m.menu);
    ASSERT_EQ(changes.size(), 10u);
    EXPECT_EQ(changes.front().key, "volume");
    EXPECT_EQ(changes.front().value, "90");
    EXPECT_EQ(changes.back().value, "0");
    EXPECT_EQ(menu_values(m.menu).volume, 0);
    m.press({menu_down, menu_left, menu_down, menu_right});
    EXPECT_EQ(changes_text(m.menu), "[]music-volume=90;");
    // A value off the steps goes onto them.
    MenuValues values = default_values(m.features);
    values.effects_volume = 35;
    OptionsMenu* menu = open_options_menu(values, m.features, false);
    for (MenuInput input : {menu_down, menu_down, menu_down, menu_left, menu_down, menu_confirm, menu_down,
                            menu_right, menu_down, menu_left})
        menu_input(menu, input);
    EXPECT_EQ(changes_text(menu), "[]effects-volume=30;[]mute=yes;[]captions=on;[]lang=en;");
    close_options_menu(menu);
}

TEST(OptionsMenu, EveryKeyTheGameReadsHasARowAndAKeyInUseMovesOverUntilBackGivesItBack) {
    const PixelFont font = committed_font();
    Menu m;
    m.press({menu_up, menu_up, menu_confirm});  // the Controls page: a row for each game key
    for (int key = 0; key < game_key_count; ++key) {
        m.press({menu_confirm});
        menu_key_pressed(m.menu, ("F" + std::to_string(key + 2)).c_str(), false);
        m.press({menu_down});
    }
    for (int key = 0; key < game_key_count; ++key)
        EXPECT_EQ(menu_values(m.menu).keys[key], std::vector<std::string>{"F" + std::to_string(key + 2)});
    take_menu_changes(m.menu);

    Menu fresh;
    fresh.press({menu_up, menu_up, menu_confirm, menu_down, menu_down, menu_down, menu_down, menu_confirm});  // Throw
    ASSERT_TRUE(menu_capturing(fresh.menu));
    menu_key_pressed(fresh.menu, "F1", false);  // the host's own
    menu_key_pressed(fresh.menu, "x", true);    // a pad button while a key is wanted
    EXPECT_TRUE(menu_capturing(fresh.menu));
    EXPECT_EQ(changes_text(fresh.menu), "");
    menu_key_pressed(fresh.menu, "Space", false);  // Button 4's
    EXPECT_FALSE(menu_capturing(fresh.menu));
    EXPECT_EQ(changes_text(fresh.menu), "[keys]button4=;[keys]throw=Space;");
    EXPECT_EQ(menu_foot_line(font, fresh.menu), "Taken from Button 4  Back: undo");
    fresh.press({menu_back});  // gives it back, and stays on the page
    EXPECT_EQ(changes_text(fresh.menu), "[keys]button4=Space;[keys]throw=Return, Keypad Enter;");
    EXPECT_EQ(menu_foot_line(font, fresh.menu), "Undone");
    // Once anything else came between, Back leaves the page as ever.
    fresh.press({menu_confirm});
    menu_key_pressed(fresh.menu, "Left", false);
    EXPECT_EQ(changes_text(fresh.menu), "[keys]left=;[keys]throw=Left;");
    fresh.press({menu_down, menu_back, menu_confirm});
    EXPECT_FALSE(menu_capturing(fresh.menu)) << "back on the main page, Controls' row";
    EXPECT_EQ(changes_text(fresh.menu), "");
    EXPECT_TRUE(menu_values(fresh.menu).keys[key_left].empty());
}

TEST(OptionsMenu, RestoreDefaultsNamesWhatItDropsAndDropsItOnlyWhenConfirmed) {
    const PixelFont font = committed_font();
    Menu m;
    MenuValues values = default_values(m.features);
    values.keys[key_up] = {"Up", "W"};
    values.keys[key_throw] = {"Z"};
    OptionsMenu* menu = open_options_menu(values, m.features, true);
    // Controls, then up from its first row: Back, then Restore defaults.
    for (MenuInput input : {menu_up, menu_up, menu_confirm, menu_up, menu_up, menu_confirm}) menu_input(menu, input);
    EXPECT_EQ(changes_text(menu), "");
    EXPECT_EQ(menu_foot_line(font, menu), "Drops W, Z  Confirm: restore");
    // Anything else in between, and it asks again.
    for (MenuInput input : {menu_down, menu_up, menu_confirm}) menu_input(menu, input);
    EXPECT_EQ(changes_text(menu), "");
    menu_input(menu, menu_confirm);
    EXPECT_EQ(changes_text(menu), "[keys]up=Up;[keys]throw=Return, Keypad Enter;");
    EXPECT_EQ(menu_foot_line(font, menu), "The defaults are back");
    // With nothing to drop it restores at once.
    menu_input(menu, menu_confirm);
    EXPECT_EQ(menu_foot_line(font, menu), "The defaults are back");
    close_options_menu(menu);
}

TEST(OptionsMenu, PadButtonsHaveAPageOfTheirOwnTakenOverAndRestoredToo) {
    const MenuFeatures features = desktop_features(true, true);
    OptionsMenu* menu = open_options_menu(default_values(features), features, false);
    // With the window's two rows, Controls is third from the end; Pad buttons
    // follows the eight keys there, and Throw is fifth on its page.
    for (MenuInput input : {menu_up, menu_up, menu_confirm, menu_up, menu_up, menu_up, menu_confirm, menu_down,
                            menu_down, menu_down, menu_down, menu_confirm})
        menu_input(menu, input);
    menu_key_pressed(menu, "Z", false);
    EXPECT_TRUE(menu_capturing(menu));
    menu_key_pressed(menu, "b", true);  // refill's
    EXPECT_EQ(changes_text(menu), "[pad]refill=;[pad]throw=b;");
    // Restore defaults, second from the end, asks and then restores.
    for (MenuInput input : {menu_up, menu_up, menu_up, menu_up, menu_up, menu_up, menu_confirm, menu_confirm})
        menu_input(menu, input);
    EXPECT_EQ(changes_text(menu), "[pad]throw=a;[pad]refill=b;");
    // Back from the pad's page goes to the Controls page's Pad buttons row.
    for (MenuInput input : {menu_back, menu_confirm, menu_confirm}) menu_input(menu, input);
    EXPECT_TRUE(menu_capturing(menu));
    menu_key_pressed(menu, "a", true);
    EXPECT_EQ(changes_text(menu), "[pad]throw=;[pad]up=a;");
    close_options_menu(menu);
}

TEST(OptionsMenu, QuitAsksOnceAndNoOrBackReturnsToTheMenu) {
    Menu m;
    EXPECT_EQ(m.press({menu_up, menu_confirm}), request_none);
    EXPECT_EQ(m.press({menu_confirm}), request_none);  // No, the first answer
    EXPECT_EQ(m.press({menu_confirm, menu_back}), request_none);
    EXPECT_EQ(m.press({menu_confirm, menu_down}), request_none);
    EXPECT_EQ(m.press({menu_confirm}), request_quit);
}

TEST(OptionsMenu, APointerPicksTheRowDrawnWhereItLandsAndItsHalvesStepDownAndUp) {
    const PixelFont font = committed_font();
    Menu m;
    const int left_half = menu_panel_x + menu_panel_width / 4, right_half = menu_panel_x + menu_panel_width * 3 / 4;
    EXPECT_EQ(menu_pointer(m.menu, left_half, row_middle(4)), request_none);
    EXPECT_EQ(changes_text(m.menu), "[]mute=yes;");
    menu_pointer(m.menu, left_half, row_middle(2));
    menu_pointer(m.menu, left_half, row_middle(2));
    menu_pointer(m.menu, right_half, row_middle(2));
    EXPECT_EQ(changes_text(m.menu), "[]music-volume=90;[]music-volume=80;[]music-volume=90;");
    // The cursor is drawn on the row touched last, and only there.
    OverlayImage image;
    draw_options_menu(&image, font, m.menu);
    ASSERT_EQ(image.width, 320);
    const auto pixel = [&image](int row) {
        return image.pixels[size_t(row_middle(row)) * 320 + size_t(menu_panel_x + 3)];
    };
    EXPECT_NE(pixel(2), pixel(4));
    EXPECT_EQ(pixel(0), pixel(4));
    // Above the rows, past the last one and beside the panel nothing happens.
    EXPECT_EQ(menu_pointer(m.menu, right_half, menu_rows_y - 1), request_none);
    EXPECT_EQ(menu_pointer(m.menu, right_half, row_middle(10)), request_none);
    EXPECT_EQ(menu_pointer(m.menu, menu_panel_x - 1, row_middle(4)), request_none);
    EXPECT_EQ(changes_text(m.menu), "");
    EXPECT_EQ(menu_pointer(m.menu, right_half, row_middle(0)), request_resume);
}

// On a touch screen the page lays the rows out itself: each row's words and
// whether - and + step it, the cursor where the last tap was, the hints
// speaking of taps, and the same rules as the keys'.
TEST(OptionsMenu, TheSheetForFingersHasTheRowsTheirStepsAndTouchHints) {
    const PixelFont font = committed_font();
    Menu keys;
    EXPECT_EQ(menu_sheet(font, keys.menu).foot, words(words_hint_main, true));
    MenuFeatures features = desktop_features(false, false);
    features.touch = true;
    OptionsMenu* menu = open_options_menu(default_values(features), features, true);
    MenuSheet sheet = menu_sheet(font, menu);
    EXPECT_EQ(sheet.title, "Options");
    EXPECT_EQ(sheet.foot, words(words_hint_main_touch, true));
    ASSERT_EQ(sheet.rows.size(), 10u);
    EXPECT_EQ(sheet.rows[1].label, "Volume");
    EXPECT_EQ(sheet.rows[1].value, "100%");
    EXPECT_TRUE(sheet.rows[1].steps);
    EXPECT_TRUE(sheet.rows[4].steps);   // Mute
    EXPECT_FALSE(sheet.rows[0].steps);  // Resume
    EXPECT_FALSE(sheet.rows[8].steps);  // Controls
    // - and + step the row tapped; the row itself does what Confirm does there.
    EXPECT_EQ(menu_tap(menu, 2, -1), request_none);
    EXPECT_EQ(menu_tap(menu, 2, +1), request_none);
    EXPECT_EQ(menu_tap(menu, 4, 0), request_none);
    EXPECT_EQ(changes_text(menu), "[]music-volume=90;[]music-volume=100;[]mute=yes;");
    sheet = menu_sheet(font, menu);
    EXPECT_EQ(sheet.cursor, 4);
    EXPECT_EQ(sheet.rows[4].value, "On");
    EXPECT_EQ(menu_tap(menu, 10, 0), request_none);  // past the last row
    EXPECT_EQ(menu_sheet(font, menu).cursor, 4);
    // Controls: a key's row waits for a key, and any tap gives up waiting.
    menu_tap(menu, 8, 0);
    EXPECT_EQ(menu_sheet(font, menu).foot, words(words_hint_controls_touch, true));
    menu_tap(menu, 0, 0);
    EXPECT_TRUE(menu_capturing(menu));
    EXPECT_EQ(menu_sheet(font, menu).foot, words(words_press_key_touch, true));
    menu_tap(menu, 3, 0);
    EXPECT_FALSE(menu_capturing(menu));
    EXPECT_EQ(menu_sheet(font, menu).cursor, 0);
    EXPECT_EQ(menu_input(menu, menu_back), request_none);
    EXPECT_EQ(menu_tap(menu, 0, 0), request_resume);
    EXPECT_EQ(changes_text(menu), "");
    close_options_menu(menu);
}

TEST(OptionsMenuWords, EveryTextFitsItsPlaceInBothEditionsAndTheFontHasIt) {
    const PixelFont font = committed_font();
    for (bool english : {false, true}) {
        // "%s" stands for the longest thing put there: a game key's name.
        std::string widest;
        for (const MenuWordsEntry& key : game_key_words) {
            const char* name = english ? key.english : key.japanese;
            if (pixel_text_width(font, name) > pixel_text_width(font, widest.c_str())) widest = name;
        }
        std::vector<MenuWordsEntry> entries(std::begin(menu_words), std::end(menu_words));
        entries.insert(entries.end(), std::begin(game_key_words), std::end(game_key_words));
        for (const MenuWordsEntry& entry : entries) {
            std::string text = english ? entry.english : entry.japanese;
            const size_t at = text.find("%s");
            if (at != std::string::npos) text.replace(at, 2, widest);
            const int room = entry.place == place_label   ? menu_label_width
                             : entry.place == place_value ? menu_value_width
                                                          : menu_line_width;
            EXPECT_LE(pixel_text_width(font, text.c_str()), room) << text;
            EXPECT_TRUE(pixel_font_covers(font, text.c_str())) << text;
        }
    }
}
