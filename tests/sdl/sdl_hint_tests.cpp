// The desktop's hints with the dummy video driver and a virtual pad: a key
// leaves the title's line as it is, a pad's button lays the pad's words over
// it, a key again takes them away, and a moved throw key is named.
#include <gtest/gtest.h>

#include <SDL.h>

#include "core/data_file.h"
#include "hosts/desktop/sdl_hints.h"
#include "hosts/desktop/sdl_options.h"
#include "hosts/desktop/sdl_platform.h"
#include "scenes/scenes.h"
#include "sdl/virtual_pad.h"
#include "shell/shell.h"

namespace {

void hand_pad_events() {
    SDL_PumpEvents();
    SDL_Event event;
    while (SDL_PollEvent(&event)) sdl_pad_event(event);
}

// The band the hint's words would make, to hold the desktop's against.
OverlayImage band_of(const char* words) {
    OverlayImage band;
    draw_hint(&band, *sdl_overlay_font(), hint_title, words);
    return band;
}

}  // namespace

TEST(SdlHints, APadsButtonSaysThePadsWordsAndAKeyTheKeyboards) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    if (!sdl_main_window()) {
        ASSERT_NE(platform_create_window("Kuzari", 320, 240), nullptr) << SDL_GetError();
    }
    set_data_folder(KUZARI_DATA_DIR);
    ASSERT_NE(nullptr, sdl_overlay_font());
    const HostOptions saved = host_options;
    set_game_language(language_english);
    top_scene = scene_title;
    title_state = title_choosing;
    VirtualPad pad = plug_in("Hint pad", true);
    hand_pad_events();
    int top = -1;

    sdl_key_went_down(SDL_SCANCODE_DOWN);
    EXPECT_EQ(nullptr, sdl_hint_band(&top)) << "the default keys: the game's own line";
    EXPECT_EQ(device_keyboard, sdl_hint_device_now()) << "plugging a pad in is no play on it";

    SDL_JoystickSetVirtualButton(pad.handle, 0, SDL_PRESSED);
    hand_pad_events();
    SDL_JoystickSetVirtualButton(pad.handle, 0, SDL_RELEASED);
    hand_pad_events();
    const OverlayImage* band = sdl_hint_band(&top);
    ASSERT_NE(nullptr, band);
    EXPECT_EQ(178, top);
    EXPECT_EQ(band_of("↑↓: choose  A: OK").pixels, band->pixels);

    sdl_key_went_down(SDL_SCANCODE_RETURN);
    EXPECT_EQ(nullptr, sdl_hint_band(&top));
    host_options.keys[key_throw] = {SDLK_z};
    band = sdl_hint_band(&top);
    ASSERT_NE(nullptr, band);
    EXPECT_EQ(band_of("Up/Down: choose  Z: OK").pixels, band->pixels);

    top_scene = scene_play;  // no hint line there
    EXPECT_EQ(nullptr, sdl_hint_band(&top));
    unplug(pad);
    hand_pad_events();
    host_options = saved;
    reset_game_state();
    set_game_language(language_japanese);
    set_data_folder("");
}
