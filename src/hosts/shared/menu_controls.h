// The one set of rules for what a press does while the options menu is shut,
// open or waiting for a new key: each host names its press (SDL's key or
// button name, the page's KeyboardEvent.code), the controls table
// (game_keys.h) says what it stands for, and the host does what the rules say.
#pragma once

#include "hosts/shared/options_menu.h"

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
// menu (the player stays on the page), and takes anything else. A press the
// keyboard repeats while held moves the cursor on, and does nothing else.
MenuStep menu_step(bool open, bool capturing, MenuPress press, bool repeat = false);
