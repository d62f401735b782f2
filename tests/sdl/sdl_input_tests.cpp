// The real game's input on SDL, with SDL's dummy video driver and its virtual
// joysticks standing in for the player's devices: pads plugged in and out,
// the raw joystick and the game controller paths, and short taps.
#include <gtest/gtest.h>

#include <SDL.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/platform.h"
#include "hosts/desktop/sdl_platform.h"
#include "core/input.h"
#include "hosts/desktop/sdl_pad_mappings.h"
#include "sdl/virtual_pad.h"
#include "support/scratch_dir.h"

namespace {

constexpr int16_t stick_left = -32768, stick_right = 32767;

// Hands every waiting event to the platform, as the game's loop does.
void pump() {
    PlatformMessage message;
    while (platform_take_message(&message)) {
    }
}

void set_stick(const VirtualPad& pad, int16_t x, int16_t y) {
    SDL_JoystickSetVirtualAxis(pad.handle, 0, x);
    SDL_JoystickSetVirtualAxis(pad.handle, 1, y);
}

// The game's own reading of the pad after the platform has seen the events.
uint8_t game_bits() {
    pump();
    return read_joystick();
}

class SdlInput : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        ASSERT_NE(platform_create_window("Kuzari", 320, 240), nullptr) << SDL_GetError();
    }
    void TearDown() override {
        for (int i = SDL_NumJoysticks() - 1; i >= 0; --i) SDL_JoystickDetachVirtual(i);
        pump();
        sdl_frame_shown();
    }
};

}  // namespace

TEST_F(SdlInput, ARawJoystickReadsItsStickThresholdsHatAndFirstFourButtons) {
    VirtualPad pad = plug_in("Unknown pad", false);
    EXPECT_EQ(game_bits(), 0) << "plugged in after start and centred";
    JoystickState state;
    ASSERT_TRUE(platform_read_joystick(&state));

    set_stick(pad, -16385, 16383);  // just past a quarter to the left; not yet three quarters down
    EXPECT_EQ(game_bits(), joy_left);
    set_stick(pad, -16384, 16384);
    EXPECT_EQ(game_bits(), joy_down);
    set_stick(pad, 0, 0);

    SDL_JoystickSetVirtualHat(pad.handle, 0, SDL_HAT_LEFTUP);
    EXPECT_EQ(game_bits(), joy_left | joy_up) << "the hat steers while the stick rests";
    set_stick(pad, stick_right, 0);
    EXPECT_EQ(game_bits(), joy_right) << "the stick wins when it is pushed";
    set_stick(pad, 0, 0);
    SDL_JoystickSetVirtualHat(pad.handle, 0, SDL_HAT_CENTERED);
    sdl_frame_shown();

    const uint8_t expected[6] = {joy_button1, joy_button2, joy_button3, joy_button4, 0, 0};
    for (int button = 0; button < 6; ++button) {
        SDL_JoystickSetVirtualButton(pad.handle, button, SDL_PRESSED);
        EXPECT_EQ(game_bits(), expected[button]) << "button " << button;
        SDL_JoystickSetVirtualButton(pad.handle, button, SDL_RELEASED);
        pump();
        sdl_frame_shown();
    }
    unplug(pad);
}

TEST_F(SdlInput, AKnownControllerReadsTheFaceButtonsTheDpadAndTheLeftStick) {
    VirtualPad pad = plug_in("Known pad", true);
    pump();
    const uint8_t face[4] = {joy_button1, joy_button2, joy_button3, joy_button4};  // south, east, west, north
    for (int button = 0; button < 4; ++button) {
        SDL_JoystickSetVirtualButton(pad.handle, button, SDL_PRESSED);
        EXPECT_EQ(game_bits(), face[button]) << "button " << button;
        SDL_JoystickSetVirtualButton(pad.handle, button, SDL_RELEASED);
        pump();
        sdl_frame_shown();
    }
    SDL_JoystickSetVirtualHat(pad.handle, 0, SDL_HAT_DOWN);
    EXPECT_EQ(game_bits(), joy_down);
    set_stick(pad, stick_left, 0);
    EXPECT_EQ(game_bits(), joy_down | joy_left) << "the stick's other axis still counts";
    SDL_JoystickSetVirtualHat(pad.handle, 0, SDL_HAT_CENTERED);
    pump();
    sdl_frame_shown();
    set_stick(pad, 0, stick_left);
    EXPECT_EQ(game_bits(), joy_up);
    unplug(pad);
}

TEST_F(SdlInput, TheNextPadTakesOverWhenTheFirstIsUnplugged) {
    VirtualPad first = plug_in("First pad", false);
    VirtualPad second = plug_in("Second pad", true);
    set_stick(first, stick_left, 0);
    set_stick(second, stick_right, 0);
    EXPECT_EQ(game_bits(), joy_left) << "the first one found is used";
    unplug(first);
    EXPECT_EQ(game_bits(), joy_right) << "handed over to the controller";
    unplug(second);
    JoystickState state;
    pump();
    EXPECT_FALSE(platform_read_joystick(&state));
    VirtualPad third = plug_in("Third pad", false);
    set_stick(third, 0, stick_right);
    EXPECT_EQ(game_bits(), joy_down) << "taken up when plugged in later";
    unplug(third);
}

TEST_F(SdlInput, ATapBetweenFramesIsSeenInTheNextFrameOnly) {
    VirtualPad pad = plug_in("Tapped pad", false);
    pump();
    SDL_JoystickSetVirtualButton(pad.handle, 1, SDL_PRESSED);
    pump();
    SDL_JoystickSetVirtualButton(pad.handle, 1, SDL_RELEASED);
    EXPECT_EQ(game_bits(), joy_button2) << "down and up again before the frame read it";
    sdl_frame_shown();
    EXPECT_EQ(game_bits(), 0);
    unplug(pad);

    // A key pressed and released between two frames.
    SDL_Event key{};
    key.type = SDL_KEYDOWN;
    key.key.keysym.scancode = SDL_SCANCODE_RETURN;
    key.key.keysym.sym = SDLK_RETURN;
    SDL_PushEvent(&key);
    key.type = SDL_KEYUP;
    SDL_PushEvent(&key);
    pump();
    KeyboardState keys;
    ASSERT_TRUE(platform_read_keyboard(&keys));
    EXPECT_TRUE(keys.enter);
    sdl_frame_shown();
    ASSERT_TRUE(platform_read_keyboard(&keys));
    EXPECT_FALSE(keys.enter);

    // Enter with Alt switches the window and is never the game's.
    const bool fullscreen = sdl_is_fullscreen();
    key.type = SDL_KEYDOWN;
    key.key.keysym.mod = KMOD_LALT;
    SDL_PushEvent(&key);
    pump();
    ASSERT_TRUE(platform_read_keyboard(&keys));
    EXPECT_FALSE(keys.enter);
    EXPECT_NE(sdl_is_fullscreen(), fullscreen);
}

TEST_F(SdlInput, ThePlayersOwnMappingForAPadIsTakenWhenThePadIsOpened) {
    VirtualPad pad = plug_in("Player's pad", false);
    char guid[64];
    SDL_JoystickGetGUIDString(SDL_JoystickGetDeviceGUID(pad.device_index), guid, sizeof guid);
    std::fill(guid + 4, guid + 8, '0');
    const ScratchDir scratch;
    std::filesystem::create_directories(scratch.path + "/kuzari");
    // Only this platform's line counts: the other would make button 4 the south one.
    std::ofstream(scratch.path + "/kuzari/gamecontrollerdb.txt")
        << "# the player's pads\n"
        << guid << ",Player's pad,a:b5,leftx:a0,lefty:a1,platform:Linux,\r\n"
        << guid << ",Player's pad,a:b4,platform:Windows,\n";
    setenv("XDG_CONFIG_HOME", scratch.path.c_str(), 1);
    sdl_start_input();
    pump();  // the pad's arrival: opened with its mapping
    SDL_JoystickSetVirtualButton(pad.handle, 5, SDL_PRESSED);
    EXPECT_EQ(game_bits(), joy_button1) << "read as a controller, button 5 its south button";
    SDL_JoystickSetVirtualButton(pad.handle, 5, SDL_RELEASED);
    unsetenv("XDG_CONFIG_HOME");
    sdl_start_input();
    unplug(pad);
}

TEST(SdlPadMappings, LinesAreIndexedByTheirPadWithoutChecksumOrVersion) {
    const std::string line = "03000000de280000ff11000001000000,Pad,a:b0,platform:Linux,";
    const PadMappings mappings = index_pad_mappings("# comment\n\n" + line + "\nnot a mapping\n", "Linux");
    const auto found = mappings.find(pad_mapping_key("03001234DE280000FF11000007000000"));
    ASSERT_NE(found, mappings.end());
    ASSERT_EQ(found->second.size(), 1u);
    EXPECT_EQ(found->second[0].number, 3);
    EXPECT_EQ(found->second[0].text, line);
    EXPECT_TRUE(index_pad_mappings(line, "Windows").empty());
}
