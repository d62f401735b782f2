// The options menu's own controls on every device, and the one set of rules
// for what a press does while the menu is shut, open or waiting for a new
// key: each host names its press (SDL's key or button name, the page's
// KeyboardEvent.code) and does what the rules say.
#pragma once

#include "hosts/shared/options_menu.h"

enum MenuPress {
    press_other,   // no control of the menu's: the game's, or a new key while one is wanted
    press_toggle,  // F1, Tab (while no game key has it), a pad's Start
    press_up,
    press_down,
    press_left,
    press_right,
    press_confirm,
    press_back,  // Escape, Backspace, a pad's B
};

enum MenuDevice { device_desktop_keys, device_page_keys, device_pad };

// What the press stands for; `game_key` says a game key has it, which the
// menu then leaves alone where it may (Tab).
MenuPress menu_press_of(MenuDevice device, const char* name, bool game_key);

enum MenuAction {
    action_pass,     // not the menu's: the game has it
    action_open,     // open the menu
    action_close,    // close it, resuming the game
    action_input,    // hand the menu this MenuInput
    action_capture,  // hand the menu the press as the new key or button
    action_swallow,  // the menu is open: nothing happens, and the game does not see it
};

struct MenuStep {
    MenuAction action;
    MenuInput input;  // for action_input
};

// The rules: a capture is cancelled by Back and by what opens and closes the
// menu (the player stays on the page), and takes anything else.
MenuStep menu_step(bool open, bool capturing, MenuPress press);

// The standard Gamepad API mapping's buttons by index, by SDL's names (the
// names the settings file and the menu show on every host).
constexpr int standard_pad_button_count = 17;
extern const char* const standard_pad_buttons[standard_pad_button_count];
