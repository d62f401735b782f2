// The input snapshot: keyboard directions, joystick thresholds, the hand-over
// of the direction between the two devices, and button merging.
#include <gtest/gtest.h>

#include "hosts/headless/headless.h"
#include "core/input.h"
#include "support/replay_run.h"

namespace {

InputRun run_of(uint64_t count, KeyboardState keys = {}, JoystickState stick = joystick_at_rest) {
    return InputRun{count, keys, stick, false};
}

// Samples one frame of input from a one-line script in this process.
void sample(KeyboardState keys, JoystickState stick = joystick_at_rest) {
    HeadlessConfig config;
    config.script = {run_of(1, keys, stick)};
    headless_configure(config);
    poll_input();
}

std::vector<int> directions(const ReplayResult& result) {
    std::vector<int> dirs;
    for (size_t i = 1; i < result.frames.size(); ++i) dirs.push_back(result.frames[i]["input"][0].get<int>());
    return dirs;
}

}  // namespace

TEST(Input, KeyboardDirectionsWithUpOverDownAndRightOverLeft) {
    const struct {
        const char* keys;
        int dir;
    } cases[] = {
        {"", 5},           {"up", 8},         {"down", 2},          {"left", 4},
        {"right", 6},      {"up left", 7},    {"up right", 9},      {"down left", 1},
        {"down right", 3}, {"up down", 8},    {"left right", 6},    {"up down left", 7},
        {"down left right", 3}, {"up down left right", 9},
    };
    ReplayOptions options;
    for (const auto& c : cases) options.script += std::string("1 ") + c.keys + "\n";
    const ReplayResult result = run_replay(options);
    ASSERT_EQ(result.exit_status, 0);
    const std::vector<int> dirs = directions(result);
    ASSERT_EQ(dirs.size(), std::size(cases));
    for (size_t i = 0; i < dirs.size(); ++i) EXPECT_EQ(dirs[i], cases[i].dir) << cases[i].keys;
}

TEST(Input, JoystickThresholdsAtTheQuarterPoints) {
    const struct {
        uint16_t x, y;
        uint8_t bits;
    } cases[] = {
        {0x8000, 0x4000, 0},        {0x8000, 0x3FFF, joy_up},   {0x8000, 0xBFFF, 0},
        {0x8000, 0xC000, joy_down}, {0x4000, 0x8000, 0},        {0x3FFF, 0x8000, joy_left},
        {0xBFFF, 0x8000, 0},        {0xC000, 0x8000, joy_right}, {0, 0xFFFF, joy_left | joy_down},
    };
    for (const auto& c : cases) {
        HeadlessConfig config;
        config.script = {run_of(1, {}, {c.x, c.y, 0})};
        headless_configure(config);
        EXPECT_EQ(read_joystick(), c.bits) << std::hex << c.x << "," << c.y;
    }
    HeadlessConfig config;
    config.script = {run_of(1, {}, {0x8000, 0x8000, 0xF})};
    headless_configure(config);
    EXPECT_EQ(read_joystick(), joy_button1 | joy_button2 | joy_button3 | joy_button4);
}

TEST(Input, TheDeviceThatLastLeftNeutralHasTheDirection) {
    ReplayOptions options;
    options.script =
        "2 right\n"            // keyboard leads
        "2 right jup\n"        // the stick leaves neutral: it takes over though right stays held
        "2 jup\n"              // keyboard idle: the stick keeps it
        "2 left jup\n"         // the keyboard leaves neutral from none held: it takes back
        "2 left\n"             // stick released: keyboard still leads
        "1\n"
        "2 down jleft\n"       // both leave neutral in one frame: the joystick wins
        "2 jleft\n";
    const ReplayResult result = run_replay(options);
    ASSERT_EQ(result.exit_status, 0);
    EXPECT_EQ(directions(result), (std::vector<int>{6, 6, 8, 8, 8, 8, 4, 4, 4, 4, 5, 4, 4, 4, 4}));
}

TEST(Input, AStickHeldSinceStartTakesOverOnlyAfterItWasCentred) {
    ReplayOptions options;
    options.script = "3 jdown\n2 up jdown\n1\n2 jright\n";
    const ReplayResult result = run_replay(options);
    ASSERT_EQ(result.exit_status, 0);
    // The first frame compares with the starting 0, not neutral, so nothing hands over.
    EXPECT_EQ(directions(result), (std::vector<int>{5, 5, 5, 8, 8, 5, 6, 6}));
}

TEST(Input, ButtonsMergeBothDevicesAndPressesNeedAReleasedFrameBefore) {
    sample({false, false, false, false, true, false, false, false});  // Enter held from the start
    EXPECT_EQ(input.button_a, 1);
    EXPECT_TRUE(button_a_pressed()) << "held from the start counts as a press in the first frame";

    sample({false, false, false, false, true, false, false, false}, {0x8000, 0x8000, 0x1});
    EXPECT_EQ(input.button_a, 1);
    EXPECT_FALSE(button_a_pressed()) << "Enter and button 1 together are one held A";

    sample({}, {0x8000, 0x8000, 0x1});
    EXPECT_FALSE(button_a_pressed()) << "letting go of one of them is no release";
    EXPECT_EQ(input.button_a, 1);

    sample({});
    EXPECT_EQ(input.button_a, 0);
    sample({}, {0x8000, 0x8000, 0x2 | 0x4 | 0x8});
    EXPECT_EQ(input.button_a, 0);
    EXPECT_EQ(input.button_b, 1);
    EXPECT_EQ(input.button_c, 1);
    EXPECT_EQ(input.button_d, 1);
    EXPECT_TRUE(button_b_pressed());

    sample({false, false, false, false, false, true, true, true});  // Shift, Ctrl, Space
    EXPECT_EQ(input.button_b, 1);
    EXPECT_FALSE(button_b_pressed());
    EXPECT_EQ(input.button_c, 1);
    EXPECT_EQ(input.button_d, 1);
}
