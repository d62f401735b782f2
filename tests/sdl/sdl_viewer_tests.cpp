// The desktop's viewer on a pad, with SDL's dummy video driver and a virtual
// pad SDL knows: A pauses and goes on, B steps one frame, the d-pad seeks and
// Back goes to the start, as the window hands the pad's events on.
#include <gtest/gtest.h>

#include <SDL.h>

#include <string>
#include <vector>

#include "hosts/desktop/sdl_platform.h"
#include "hosts/shared/input_feed.h"
#include "hosts/shared/input_script.h"
#include "sdl/virtual_pad.h"

namespace {

constexpr int button_a = 0, button_b = 1, button_back = 4;

// Every waiting event as the window hands it on while no menu is open: the
// viewer's first, then the pad's reading (which opens a pad plugged in).
void hand_on_events() {
    SDL_PumpEvents();
    SDL_Event event;
    while (SDL_PollEvent(&event))
        if (!sdl_viewer_event(event)) sdl_pad_event(event);
}

void press(const VirtualPad& pad, int button) {
    SDL_JoystickSetVirtualButton(pad.handle, button, SDL_PRESSED);
    hand_on_events();
    SDL_JoystickSetVirtualButton(pad.handle, button, SDL_RELEASED);
    hand_on_events();
}

// A frame of the playback has run: whether it is shown.
bool run_frame() {
    feed_frame_shown(0);
    return sdl_viewer_shows_frame();
}

}  // namespace

TEST(SdlViewer, APadsButtonsPauseStepSeekAndGoBackToTheStart) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    if (!sdl_main_window()) {
        ASSERT_NE(platform_create_window("Kuzari", 320, 240), nullptr) << SDL_GetError();
    }
    std::vector<InputRun> runs;
    std::string error;
    ASSERT_TRUE(parse_script("2000\n", &runs, &error)) << error;
    feed_play_script(runs);
    sdl_start_viewer(false);
    VirtualPad pad = plug_in("Viewer pad", true, "back:b4,");
    hand_on_events();
    for (int frame = 0; frame < 10; ++frame) EXPECT_TRUE(run_frame());
    EXPECT_FALSE(sdl_viewer_stands_still());

    press(pad, button_a);
    EXPECT_TRUE(sdl_viewer_stands_still()) << "A pauses";
    press(pad, button_b);
    EXPECT_FALSE(sdl_viewer_stands_still()) << "B has a frame to step";
    EXPECT_TRUE(run_frame());
    EXPECT_TRUE(sdl_viewer_stands_still()) << "paused again after the step";
    EXPECT_EQ(input_feed.script.frames_run, 11u);

    SDL_JoystickSetVirtualHat(pad.handle, 0, SDL_HAT_RIGHT);  // ten seconds forward
    hand_on_events();
    SDL_JoystickSetVirtualHat(pad.handle, 0, SDL_HAT_CENTERED);
    hand_on_events();
    EXPECT_TRUE(sdl_viewer_hushed()) << "a seek runs unheard";
    EXPECT_FALSE(run_frame()) << "and unshown";
    while (input_feed.script.frames_run < 11 + 588 - 1) run_frame();
    EXPECT_TRUE(run_frame()) << "the frame sought is shown";
    EXPECT_TRUE(sdl_viewer_stands_still()) << "still paused there";

    press(pad, button_back);
    EXPECT_TRUE(sdl_viewer_restart_wanted()) << "Back plays the recording again from its start";
    press(pad, button_a);
    unplug(pad);
    hand_on_events();
    input_feed = InputFeed{};
}
