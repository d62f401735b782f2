// The desktop's hints: the player's keys and buttons by the names the
// settings file gives them, the edition the game runs, the band redrawn only
// when its words change (and the change told to the event log).
#include "hosts/desktop/sdl_hints.h"

#include <SDL.h>

#include <string>
#include <vector>

#include "core/data_file.h"
#include "hosts/desktop/sdl_event_log.h"
#include "hosts/desktop/sdl_options.h"
#include "hosts/desktop/sdl_platform.h"
#include "hosts/desktop/sdl_setting_values.h"

namespace {

InputDevice last_device = device_keyboard;
GameHint drawn_hint = hint_none;
std::string drawn_words;
OverlayImage band;

std::string words_now(GameHint hint) {
    if (hint == hint_none) return "";
    std::vector<std::string> keys[game_key_count], buttons[game_key_count];
    for (int key = 0; key < game_key_count; ++key) {
        for (const SDL_Keycode code : host_options.keys[key]) keys[key].push_back(key_name(code));
        for (const SDL_GameControllerButton button : host_options.pad_buttons[key])
            if (const char* name = SDL_GameControllerGetStringForButton(button)) buttons[key].push_back(name);
    }
    return hint_words(hint, last_device, game_language() == language_english, HintBindings{keys, buttons, false});
}

}  // namespace

void sdl_hint_device(InputDevice device) { last_device = device; }

InputDevice sdl_hint_device_now() { return last_device; }

const OverlayImage* sdl_hint_band(int* top) {
    const GameHint hint = game_hint_now();
    const std::string words = words_now(hint);
    if (hint != drawn_hint || words != drawn_words) {
        sdl_event_log_hint(words.c_str());
        drawn_hint = hint;
        drawn_words = words;
        band = OverlayImage{};
        if (!words.empty())
            if (const PixelFont* font = sdl_overlay_font()) draw_hint(&band, *font, hint, words);
    }
    if (band.pixels.empty()) return nullptr;
    *top = hint_place(hint).top;
    return &band;
}
