// The options menu on a pad and the keyboard, with SDL's dummy video driver
// and a virtual pad SDL knows: Start opens it, the d-pad moves, A changes, B
// closes, and the change is in the settings file; the Controls page takes
// any key or button but those that cancel it. And the [pad] section's buttons.
#include <gtest/gtest.h>

#include <SDL.h>

#include <fstream>
#include <sstream>
#include <string>

#include "core/input.h"
#include "hosts/desktop/sdl_options.h"
#include "hosts/desktop/sdl_platform.h"
#include "hosts/desktop/sdl_settings.h"
#include "sdl/virtual_pad.h"
#include "support/scratch_dir.h"

namespace {

constexpr int button_a = 0, button_b = 1, button_x = 2, button_start = 5;

VirtualPad plug_in_menu_pad() { return plug_in("Menu pad", true, "start:b5,"); }

// Every waiting event where the window would hand it: to the menu while it
// is open, else to the pad's reading (the menu's opening first).
void hand_on_events() {
    SDL_PumpEvents();
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        bool quit = false;
        if (sdl_overlay_event(event, &quit)) continue;
        if (sdl_opens_overlay(event)) sdl_open_overlay();
        else sdl_pad_event(event);
    }
}

void press(const VirtualPad& pad, int button) {
    SDL_JoystickSetVirtualButton(pad.handle, button, SDL_PRESSED);
    hand_on_events();
    SDL_JoystickSetVirtualButton(pad.handle, button, SDL_RELEASED);
    hand_on_events();
}

void push(const VirtualPad& pad, Uint8 hat, int times = 1) {
    for (int time = 0; time < times; ++time) {
        SDL_JoystickSetVirtualHat(pad.handle, 0, hat);
        hand_on_events();
        SDL_JoystickSetVirtualHat(pad.handle, 0, SDL_HAT_CENTERED);
        hand_on_events();
    }
}

void push_down(const VirtualPad& pad) { push(pad, SDL_HAT_DOWN); }

// A key pressed and let go, as the window hands it on.
void type(std::initializer_list<SDL_Keycode> keys) {
    for (const SDL_Keycode key : keys)
        for (const Uint32 type : {Uint32(SDL_KEYDOWN), Uint32(SDL_KEYUP)}) {
            SDL_Event event{};
            event.type = type;
            event.key.keysym.sym = key;
            event.key.keysym.scancode = SDL_GetScancodeFromKey(key);
            SDL_PushEvent(&event);
            hand_on_events();
        }
}

uint8_t game_bits() {
    hand_on_events();
    return read_joystick();
}

std::string file_text(const std::string& path) {
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

class SdlOverlay : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        if (!sdl_main_window()) {
            ASSERT_NE(platform_create_window("Kuzari", 320, 240), nullptr) << SDL_GetError();
        }
        pad = plug_in_menu_pad();
        hand_on_events();
    }
    void TearDown() override {
        unplug(pad);
        hand_on_events();
        sdl_frame_shown();
        host_options = saved;
    }
    VirtualPad pad;
    const HostOptions saved = host_options;
};

}  // namespace

TEST_F(SdlOverlay, StartOpensTheDpadMovesAChangesAndBCloses) {
    const ScratchDir scratch;
    host_options.settings_path = scratch.path + "/kuzari.ini";
    std::ofstream(host_options.settings_path) << "# mine\nvolume = 70\n";
    host_options.mute = false;

    press(pad, button_start);
    ASSERT_TRUE(sdl_overlay_is_open());
    for (int row = 0; row < 4; ++row) push_down(pad);  // Resume, Volume, Music, Effects, Mute
    press(pad, button_a);
    EXPECT_TRUE(host_options.mute);
    EXPECT_EQ(file_text(host_options.settings_path), "# mine\nvolume = 70\nmute = yes\n");
    // B closes; held on, it is not the game's until let go.
    SDL_JoystickSetVirtualButton(pad.handle, button_b, SDL_PRESSED);
    hand_on_events();
    EXPECT_FALSE(sdl_overlay_is_open());
    EXPECT_EQ(game_bits() & joy_button2, 0);
    SDL_JoystickSetVirtualButton(pad.handle, button_b, SDL_RELEASED);
    EXPECT_EQ(game_bits() & joy_button2, 0);
    sdl_frame_shown();
    SDL_JoystickSetVirtualButton(pad.handle, button_b, SDL_PRESSED);
    EXPECT_EQ(game_bits() & joy_button2, joy_button2);
    SDL_JoystickSetVirtualButton(pad.handle, button_b, SDL_RELEASED);
}

TEST_F(SdlOverlay, SpaceTheArrowsCommaAndSemicolonCanBeThrowAndReadBackFromTheFile) {
    const ScratchDir scratch;
    host_options.settings_path = scratch.path + "/kuzari.ini";
    // F1, Controls (second from the end), Throw (fifth on its page), and a new key for it.
    type({SDLK_F1, SDLK_UP, SDLK_UP, SDLK_RETURN, SDLK_DOWN, SDLK_DOWN, SDLK_DOWN, SDLK_DOWN, SDLK_RETURN, SDLK_SPACE});
    ASSERT_TRUE(sdl_overlay_is_open());
    EXPECT_EQ(host_options.keys[key_throw], std::vector<SDL_Keycode>{SDLK_SPACE});
    EXPECT_TRUE(host_options.keys[key_button4].empty()) << "taken from Button 4";
    type({SDLK_RETURN, SDLK_LEFT});
    EXPECT_EQ(host_options.keys[key_throw], std::vector<SDL_Keycode>{SDLK_LEFT});
    EXPECT_TRUE(host_options.keys[key_left].empty());
    type({SDLK_ESCAPE});  // gives Left back, and Throw its Space
    EXPECT_EQ(host_options.keys[key_left], std::vector<SDL_Keycode>{SDLK_LEFT});
    EXPECT_EQ(host_options.keys[key_throw], std::vector<SDL_Keycode>{SDLK_SPACE});
    for (const SDL_Keycode key : {SDLK_COMMA, SDLK_SEMICOLON}) {
        type({SDLK_RETURN, key});
        EXPECT_EQ(host_options.keys[key_throw], std::vector<SDL_Keycode>{key});
        host_options.keys[key_throw].clear();
        read_settings_file(host_options.settings_path, true);
        EXPECT_EQ(host_options.keys[key_throw], std::vector<SDL_Keycode>{key}) << file_text(host_options.settings_path);
    }
    EXPECT_NE(file_text(host_options.settings_path).find("throw = Semicolon\n"), std::string::npos);
    // Escape while a key is wanted cancels, and the menu stays.
    type({SDLK_RETURN, SDLK_ESCAPE});
    EXPECT_TRUE(sdl_overlay_is_open());
    EXPECT_EQ(host_options.keys[key_throw], std::vector<SDL_Keycode>{SDLK_SEMICOLON});
    type({SDLK_ESCAPE, SDLK_ESCAPE});
    EXPECT_FALSE(sdl_overlay_is_open());
}

TEST_F(SdlOverlay, BAndStartCancelAWaitForAButtonAndAnyOtherButtonIsTaken) {
    const ScratchDir scratch;
    host_options.settings_path = scratch.path + "/kuzari.ini";
    press(pad, button_start);
    // Controls, its Pad buttons row (up from the first: Back, Restore defaults, Pad buttons), Throw.
    push(pad, SDL_HAT_UP, 2);
    press(pad, button_a);
    push(pad, SDL_HAT_UP, 3);
    press(pad, button_a);
    push(pad, SDL_HAT_DOWN, 4);
    for (const int cancel : {button_b, button_start}) {
        press(pad, button_a);
        press(pad, cancel);
        ASSERT_TRUE(sdl_overlay_is_open());
        press(pad, button_x);  // nothing waits for it now
        EXPECT_EQ(host_options.pad_buttons[key_throw], std::vector<SDL_GameControllerButton>{SDL_CONTROLLER_BUTTON_A});
    }
    press(pad, button_a);
    press(pad, button_x);
    EXPECT_EQ(host_options.pad_buttons[key_throw], std::vector<SDL_GameControllerButton>{SDL_CONTROLLER_BUTTON_X});
    EXPECT_TRUE(host_options.pad_buttons[key_button3].empty());
    EXPECT_NE(file_text(host_options.settings_path).find("[pad]\nbutton3 = \nthrow = x\n"), std::string::npos)
        << file_text(host_options.settings_path);
    press(pad, button_start);
    EXPECT_FALSE(sdl_overlay_is_open());
}

TEST_F(SdlOverlay, ThePadSectionMovesTheGamesButtons) {
    host_options.pad_buttons[key_throw] = {SDL_CONTROLLER_BUTTON_X};
    host_options.pad_buttons[key_button3] = {};
    SDL_JoystickSetVirtualButton(pad.handle, button_x, SDL_PRESSED);
    EXPECT_EQ(game_bits(), joy_button1);
    SDL_JoystickSetVirtualButton(pad.handle, button_x, SDL_RELEASED);
    hand_on_events();
    sdl_frame_shown();
    SDL_JoystickSetVirtualButton(pad.handle, button_a, SDL_PRESSED);
    EXPECT_EQ(game_bits(), 0) << "A no longer throws";
    SDL_JoystickSetVirtualButton(pad.handle, button_a, SDL_RELEASED);
}
