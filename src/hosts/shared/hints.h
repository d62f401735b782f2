// The game's own hint lines name keyboard keys: the title's "Up/Down: choose
// Enter: OK" and the round's "Shift:refill" once the stock is out. A player
// on a pad or a touch screen, or one who moved those keys, is told the wrong
// thing, so the hosts lay their own words over the line, as they lay the
// captions: never into the game's picture, so no trace or screenshot sees it.
#pragma once

#include <string>
#include <vector>

#include "hosts/shared/game_keys.h"
#include "hosts/shared/overlay_image.h"
#include "hosts/shared/pixel_font.h"

enum GameHint { hint_none, hint_title, hint_refill };

// What the player last played with.
enum InputDevice { device_keyboard, device_pad, device_touch };

// The hint the game shows now, from its state.
GameHint game_hint_now();

// Where the hint's line lies on the picture, in game pixels.
struct HintPlace {
    int left = 0, top = 0, width = 0, height = 0;
};
HintPlace hint_place(GameHint hint);

// The player's bindings by the host's names: each game key's keys (SDL's key
// names, or KeyboardEvent.code values on the page) and pad buttons (SDL's).
struct HintBindings {
    const std::vector<std::string>* keys = nullptr;     // game_key_count lists
    const std::vector<std::string>* buttons = nullptr;  // game_key_count lists
    bool page_codes = false;
};

// The words to lay over the hint for the device, or "" where the game's own
// line is right (the keyboard, with the keys it names still bound).
std::string hint_words(GameHint hint, InputDevice device, bool english, const HintBindings& bindings);

// The band: hint_band_width wide and the hint's place high, to be laid at its
// place's top, clear but for a strip over the line with the words on it.
constexpr int hint_band_width = 320;
void draw_hint(OverlayImage* band, const PixelFont& font, GameHint hint, const std::string& words);
