// What the options menu writes into a player's settings file, read back by
// the game's own reader (libinih and the settings table): a list of keys,
// or any text for a setting that takes text, lands in the player's arbitrary
// file, and the game must read exactly that back, or the edit must have been
// refused. Messages go to standard error; run with -close_fd_mask=2.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "hosts/desktop/sdl_environment.h"
#include "hosts/desktop/sdl_options.h"
#include "hosts/desktop/sdl_platform.h"
#include "hosts/desktop/sdl_setting_values.h"
#include "hosts/desktop/sdl_settings.h"
#include "hosts/desktop/settings_edit.h"

// The settings table's fields that live beside the synthesiser and the
// player's folders in the game; the reader needs only somewhere to put them.
SdlMusicSettings sdl_music_settings{"", 1.2f, true, true};
std::string kuzari_config_dir() { return "/nonexistent"; }

namespace {

// A key SDL names: one of its scancodes' or a character a layout may have.
SDL_Keycode some_key(FuzzedDataProvider* input) {
    if (input->ConsumeBool()) {
        const char* name = SDL_GetScancodeName(SDL_Scancode(input->ConsumeIntegralInRange(0, SDL_NUM_SCANCODES - 1)));
        return *name ? SDL_GetKeyFromName(name) : SDLK_UNKNOWN;
    }
    return SDL_Keycode(input->ConsumeIntegralInRange(0x20, 0x2FF));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const bool keys = input.ConsumeBool();
    const int game_key = input.ConsumeIntegralInRange(0, game_key_count - 1);
    std::vector<SDL_Keycode> written;
    std::string value;
    if (keys) {
        for (int count = input.ConsumeIntegralInRange(0, 3); count > 0; --count) {
            const SDL_Keycode key = some_key(&input);
            if (key == SDLK_UNKNOWN || !*SDL_GetKeyName(key) || reserved_key(key) || (key >= 'A' && key <= 'Z'))
                continue;
            written.push_back(key);
        }
        value = key_list(written);
    } else {
        value = input.ConsumeRandomLengthString(24);
    }
    std::string text = input.ConsumeRemainingBytesAsString();
    const SettingsEdit edit = keys ? SettingsEdit{"keys", game_keys[game_key].setting, value}
                                   : SettingsEdit{"", "soundfont", value};
    if (!edit_settings_text(&text, {edit})) return 0;

    host_options.keys[game_key] = {SDLK_UNKNOWN};
    sdl_music_settings.soundfont = "\n";  // no value of a line
    read_settings_text("fuzz.ini", text);
    if (keys ? host_options.keys[game_key] != written : sdl_music_settings.soundfont != value) std::abort();
    return 0;
}
