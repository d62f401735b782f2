// The menu's rules on every host: what opens and closes it, what a press does
// while it waits for a new key, and the names each device's presses go by.
#include <gtest/gtest.h>

#include "hosts/shared/menu_controls.h"

TEST(MenuControls, EachDeviceNamesTheMenusOwnPresses) {
    EXPECT_EQ(menu_press_of(device_desktop_keys, "F1", false), press_toggle);
    EXPECT_EQ(menu_press_of(device_page_keys, "F1", false), press_toggle);
    EXPECT_EQ(menu_press_of(device_pad, "start", false), press_toggle);
    // Tab is the player's once a game key has it; F1 never is.
    EXPECT_EQ(menu_press_of(device_desktop_keys, "Tab", false), press_toggle);
    EXPECT_EQ(menu_press_of(device_page_keys, "Tab", true), press_other);
    EXPECT_EQ(menu_press_of(device_page_keys, "F1", true), press_toggle);
    EXPECT_EQ(menu_press_of(device_desktop_keys, "Escape", false), press_back);
    EXPECT_EQ(menu_press_of(device_page_keys, "Backspace", false), press_back);
    EXPECT_EQ(menu_press_of(device_pad, "b", false), press_back);
    EXPECT_EQ(menu_press_of(device_desktop_keys, "Keypad Enter", false), press_confirm);
    EXPECT_EQ(menu_press_of(device_page_keys, "NumpadEnter", false), press_confirm);
    EXPECT_EQ(menu_press_of(device_pad, "dpleft", false), press_left);
    // One device's names mean nothing on another.
    EXPECT_EQ(menu_press_of(device_desktop_keys, "ArrowUp", false), press_other);
    EXPECT_EQ(menu_press_of(device_page_keys, "Return", false), press_other);
    EXPECT_EQ(menu_press_of(device_pad, "x", false), press_other);
    EXPECT_EQ(menu_press_of(device_pad, nullptr, false), press_other);
    EXPECT_STREQ(standard_pad_buttons[9], "start");
}

TEST(MenuControls, OnlyTheTogglePressOpensAndEveryPressHasItsPlaceWhileOpen) {
    for (MenuPress press : {press_other, press_up, press_confirm, press_back})
        EXPECT_EQ(menu_step(false, false, press).action, action_pass) << press;
    EXPECT_EQ(menu_step(false, false, press_toggle).action, action_open);
    EXPECT_EQ(menu_step(true, false, press_toggle).action, action_close);
    EXPECT_EQ(menu_step(true, false, press_other).action, action_swallow);
    const MenuStep right = menu_step(true, false, press_right);
    EXPECT_EQ(right.action, action_input);
    EXPECT_EQ(right.input, menu_right);
    EXPECT_EQ(menu_step(true, false, press_back).input, menu_back);
}

TEST(MenuControls, AHeldKeyMovesTheCursorOnAndNothingElse) {
    EXPECT_EQ(menu_step(true, false, press_down, true).action, action_input);
    EXPECT_EQ(menu_step(true, false, press_down, true).input, menu_down);
    for (MenuPress press : {press_confirm, press_back, press_toggle, press_other}) {
        EXPECT_EQ(menu_step(true, false, press, true).action, action_swallow) << press;
        EXPECT_EQ(menu_step(true, true, press, true).action, action_swallow) << press;
    }
    EXPECT_EQ(menu_step(true, true, press_left, true).action, action_swallow) << "taken once";
    EXPECT_EQ(menu_step(false, false, press_toggle, true).action, action_swallow) << "opened once";
    EXPECT_EQ(menu_step(false, false, press_up, true).action, action_pass);
}

TEST(MenuControls, WhileAKeyIsWantedBackAndTheTogglePressCancelAndEverythingElseIsTaken) {
    for (MenuPress press : {press_back, press_toggle}) {
        const MenuStep step = menu_step(true, true, press);
        EXPECT_EQ(step.action, action_input) << press;
        EXPECT_EQ(step.input, menu_back) << press;
    }
    for (MenuPress press : {press_other, press_up, press_down, press_left, press_right, press_confirm})
        EXPECT_EQ(menu_step(true, true, press).action, action_capture) << press;
}

TEST(MenuControls, APadPlayerCancelsACaptureWithBOrStartAndStaysOnThePage) {
    MenuFeatures features;
    features.pad_buttons = true;
    MenuValues values;
    OptionsMenu* menu = open_options_menu(values, features, true);
    // Controls, its Pad buttons row (up from the first row: Back, Restore, Pad buttons), Up's button.
    for (MenuInput input : {menu_up, menu_up, menu_confirm, menu_up, menu_up, menu_up, menu_confirm, menu_confirm})
        menu_input(menu, input);
    for (const char* name : {"b", "start"}) {
        ASSERT_TRUE(menu_capturing(menu));
        const MenuStep step = menu_step(true, true, menu_press_of(device_pad, name, false));
        ASSERT_EQ(step.action, action_input);
        EXPECT_EQ(menu_input(menu, step.input), request_none) << name;
        EXPECT_FALSE(menu_capturing(menu)) << name;
        menu_input(menu, menu_confirm);  // the same row again
    }
    EXPECT_TRUE(take_menu_changes(menu).empty());
    close_options_menu(menu);
}
