// A program choosing each frame's input on the headless host: the source
// is asked once per frame, in order, after the frame before has run; what it
// answers is the frame's input; an empty answer or Escape ends the program.
#include <gtest/gtest.h>

#include <unistd.h>

#include <vector>

#include "hosts/headless/headless.h"
#include "core/input.h"
#include "shell/shell.h"

namespace {

InputRun frame_input(bool enter, bool escape = false) {
    InputRun run{};
    run.count = 1;
    run.keys.enter = enter;
    run.joystick = joystick_at_rest;
    run.escape = escape;
    return run;
}

}  // namespace

TEST(InputSource, EachFrameRunsOnTheInputChosenAfterTheFrameBefore) {
    ASSERT_EQ(chdir(KUZARI_DATA_DIR), 0);
    std::vector<uint64_t> asked;
    std::vector<int> seen_a;
    HeadlessConfig config;
    config.script = {InputRun{500, {}, joystick_at_rest, false}};  // ignored while a source is set
    config.input_source = [&](uint64_t frame) {
        EXPECT_EQ(frame, headless_frames_run() + 1) << "asked after the frame before has run";
        asked.push_back(frame);
        // A every third frame; the input ends after frame 12.
        return frame > 12 ? InputRun{} : frame_input(frame % 3 == 0);
    };
    config.on_frame = [&](uint64_t frame, bool) {
        if (frame > 0) seen_a.push_back(input.button_a);
    };
    headless_configure(config);
    EXPECT_EQ(game_main(), 0);
    headless_finish();

    EXPECT_EQ(headless_frames_run(), 12u);
    std::vector<uint64_t> once_each;
    for (uint64_t f = 1; f <= 13; ++f) once_each.push_back(f);
    EXPECT_EQ(asked, once_each) << "frame 13 is asked once, ends the input and is not asked again";
    EXPECT_EQ(seen_a, (std::vector<int>{0, 0, 1, 0, 0, 1, 0, 0, 1, 0, 0, 1}));
}

TEST(InputSource, EscapeInAChosenFrameShutsDownBeforeIt) {
    ASSERT_EQ(chdir(KUZARI_DATA_DIR), 0);
    HeadlessConfig config;
    config.input_source = [](uint64_t frame) { return frame_input(false, frame == 6); };
    config.frame_limit = 100;
    headless_configure(config);
    EXPECT_EQ(game_main(), 0);
    EXPECT_EQ(headless_frames_run(), 5u);
    EXPECT_EQ(headless_release_log(), (std::vector<std::string>{"music", "display", "audio", "quit", "window", "quit"}));
}
