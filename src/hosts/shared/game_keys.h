// The controls table every host reads: the game's eight keys (the settings
// file's name for each, what it does, and the keys and pad button that play
// it unless the player says otherwise) and the options menu's own controls,
// by the desktop's names (SDL's) and the browser's (the codes of
// KeyboardEvent.code; a pad's buttons by SDL's names on both, which are also
// the standard Gamepad API mapping's, by index).
#pragma once

#include "platform/platform.h"

// In the order of KeyboardState's fields.
enum GameKey { key_up, key_down, key_left, key_right, key_throw, key_refill, key_button3, key_button4, game_key_count };

constexpr int most_default_keys = 2;

struct GameKeyBinding {
    const char* setting;  // its name in the settings file's [keys]
    const char* role;     // what it does, for the help and the settings file
    bool KeyboardState::*field;
    const char* desktop_keys[most_default_keys];  // SDL's key names; null past the last
    const char* page_codes[most_default_keys];    // KeyboardEvent.code values; null past the last
    const char* pad_button;                       // SDL's name of a game controller's button
};

extern const GameKeyBinding game_keys[game_key_count];

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

constexpr int most_menu_names = 2;

struct MenuControl {
    MenuPress press;
    const char* desktop_keys[most_menu_names];  // SDL's key names; null past the last
    const char* page_codes[most_menu_names];    // KeyboardEvent.code values; null past the last
    const char* pad_button;                     // SDL's button name, or null
    bool yields_to_game_key;                    // a game key bound to it keeps it
};

constexpr int menu_control_count = 9;
extern const MenuControl menu_controls[menu_control_count];

// The desktop's keys that no game key may take: the menu's, the window's full
// screen, screenshot and mute, and the one that ends the game.
constexpr int desktop_reserved_count = 5;
extern const char* const desktop_reserved_keys[desktop_reserved_count];

// The page's keys that no game key may take: the menu's, the one that ends the
// game (which is also the browser's own for leaving full screen), and the
// browser's full screen.
constexpr int page_reserved_count = 3;
extern const char* const page_reserved_codes[page_reserved_count];
extern const char page_quit_code[];

// The standard Gamepad API mapping's buttons by index, by SDL's names (the
// names the settings file and the menu show on every host).
constexpr int standard_pad_button_count = 17;
extern const char* const standard_pad_buttons[standard_pad_button_count];
