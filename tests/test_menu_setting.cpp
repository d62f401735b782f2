// Settings kept as the menu writes its changes, read back into its values: a
// host that keeps the changes (the browser) starts the next game with what
// the player chose, and anything else kept there is refused, not half-read.
#include <gtest/gtest.h>

#include <string>

#include "hosts/shared/menu_setting.h"
#include "hosts/shared/options_menu.h"
#include "hosts/shared/settings_table.h"

namespace {

// The browser's defaults: its key codes, and "a" as every game key's button.
MenuValues page_defaults(MenuFeatures* features) {
    features->pad_buttons = true;
    features->reserved_keys = {"F1", "Escape"};
    MenuValues values;
    for (int key = 0; key < game_key_count; ++key) {
        for (const char* code : game_keys[key].page_codes)
            if (code) features->default_keys[key].push_back(code);
        features->default_buttons[key] = {"a"};
        values.keys[key] = features->default_keys[key];
        values.buttons[key] = features->default_buttons[key];
    }
    return values;
}

void expect_same(const MenuValues& a, const MenuValues& b) {
    EXPECT_EQ(a.volume, b.volume);
    EXPECT_EQ(a.music_volume, b.music_volume);
    EXPECT_EQ(a.effects_volume, b.effects_volume);
    EXPECT_EQ(a.mute, b.mute);
    EXPECT_EQ(a.captions, b.captions);
    EXPECT_EQ(a.english, b.english);
    EXPECT_EQ(a.pause_in_background, b.pause_in_background);
    EXPECT_EQ(a.vibration, b.vibration);
    for (int key = 0; key < game_key_count; ++key) {
        EXPECT_EQ(a.keys[key], b.keys[key]) << game_keys[key].setting;
        EXPECT_EQ(a.buttons[key], b.buttons[key]) << game_keys[key].setting;
    }
}

TEST(MenuSetting, ChangesReadBackGiveTheMenusValues) {
    MenuFeatures features;
    const MenuValues start = page_defaults(&features);
    OptionsMenu* menu = open_options_menu(start, features, false);
    // Volume down three steps, effects down one, mute, captions on, the
    // language, no pause in the background; then "up" bound to W.
    for (MenuInput input : {menu_down, menu_left, menu_left, menu_left, menu_down, menu_down, menu_left, menu_down,
                            menu_confirm, menu_down, menu_right, menu_down, menu_confirm, menu_down, menu_confirm,
                            menu_down, menu_confirm, menu_confirm})
        menu_input(menu, input);
    ASSERT_TRUE(menu_capturing(menu));
    menu_key_pressed(menu, "KeyW", false);
    const std::vector<MenuChange> changes = take_menu_changes(menu);
    ASSERT_GE(changes.size(), 7u);

    MenuValues read = start;
    for (const MenuChange& change : changes)
        EXPECT_TRUE(apply_menu_setting(&read, change.section, change.key, change.value))
            << change.section << " " << change.key << "=" << change.value;
    expect_same(read, menu_values(menu));
    EXPECT_EQ(read.volume, 70);
    EXPECT_TRUE(read.mute);
    EXPECT_EQ(read.keys[key_up], std::vector<std::string>{"KeyW"});
    close_options_menu(menu);
}

// Vibration: a row only where the host can buzz, after Pause in background,
// kept as yes or no and read back; the page's alone in the table.
TEST(MenuSetting, VibrationIsThePagesRowKeptAsYesOrNo) {
    MenuFeatures features;
    const MenuValues start = page_defaults(&features);
    for (bool offered : {false, true}) {
        features.vibration = offered;
        OptionsMenu* menu = open_options_menu(start, features, true);
        for (MenuInput input : {menu_up, menu_up, menu_up, menu_confirm}) menu_input(menu, input);
        const std::vector<MenuChange> changes = take_menu_changes(menu);
        ASSERT_EQ(changes.size(), 1u);
        EXPECT_EQ(changes[0].key, offered ? "vibration" : "pause-in-background");
        MenuValues read = start;
        EXPECT_TRUE(apply_menu_setting(&read, changes[0].section, changes[0].key, changes[0].value));
        expect_same(read, menu_values(menu));
        close_options_menu(menu);
    }
    MenuValues values = start;
    EXPECT_FALSE(apply_menu_setting(&values, "", "vibration", "1"));
    EXPECT_TRUE(values.vibration);
    for (int name = 0; name < setting_name_count; ++name)
        EXPECT_EQ(setting_rows[name].page_only, name == setting_vibration) << setting_rows[name].key;
}

TEST(MenuSetting, ListsOfNamesKeepTheirSpaces) {
    MenuValues values;
    ASSERT_TRUE(apply_menu_setting(&values, "keys", "refill", "Left Shift, Right Shift"));
    EXPECT_EQ(values.keys[key_refill], (std::vector<std::string>{"Left Shift", "Right Shift"}));
    ASSERT_TRUE(apply_menu_setting(&values, "pad", "button3", ""));  // a game key may have no button
    EXPECT_TRUE(values.buttons[key_button3].empty());
}

TEST(MenuSetting, AnythingElseIsRefusedAndChangesNothing) {
    MenuFeatures features;
    const MenuValues before = page_defaults(&features);
    const char* refused[][3] = {
        {"", "volume", "101"}, {"", "volume", "-1"}, {"", "volume", "7x"}, {"", "volume", ""},
        {"", "music-volume", "1000"}, {"", "mute", "maybe"}, {"", "mute", "Yes"}, {"", "lang", "fr"},
        {"", "captions", "sometimes"}, {"", "scale", "17"}, {"", "colour", "red"}, {"video", "volume", "50"},
        {"keys", "jump", "Space"}, {"keys", "up", "KeyA,,KeyB"}, {"keys", "up", "KeyA,"}, {"pad", "up", " , "},
    };
    for (const auto& setting : refused) {
        MenuValues values = before;
        EXPECT_FALSE(apply_menu_setting(&values, setting[0], setting[1], setting[2]))
            << setting[0] << " " << setting[1] << "=" << setting[2];
        expect_same(values, before);
    }
}

// Only what the menu shows is kept by the page, whole numbers within the
// settings table's ranges.
TEST(MenuSetting, TheTableSaysWhatIsKeptAndItsRange) {
    int whole_settings = 0;
    for (int name = 0; name < setting_name_count; ++name) {
        const SettingRow& row = setting_rows[name];
        MenuValues values;
        if (!row.in_menu) {
            EXPECT_FALSE(apply_menu_setting(&values, "", row.key, "1")) << row.key;
            continue;
        }
        if (row.kind != kind_whole) continue;
        ++whole_settings;
        EXPECT_TRUE(apply_menu_setting(&values, "", row.key, std::to_string(int(row.high)))) << row.key;
        EXPECT_FALSE(apply_menu_setting(&values, "", row.key, std::to_string(int(row.high) + 1))) << row.key;
    }
    EXPECT_EQ(whole_settings, 4);  // the volumes and the scale
}

}  // namespace
