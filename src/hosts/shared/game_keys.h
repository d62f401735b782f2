// The game's eight keys, as every host binds them: the settings file's name
// for each, what it does, and the keys and pad button that play it unless the
// player says otherwise, by the desktop's names (SDL's) and the browser's (the
// codes of KeyboardEvent.code; the pad's by SDL's names on both).
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
