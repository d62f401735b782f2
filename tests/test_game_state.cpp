// Start-up puts the whole game state back, so that a game run after another
// in one process (as the tests run it) is traced as if it ran first; the
// language is a setting and stays.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/data_file.h"
#include "core/random.h"
#include "graphics/graphics.h"
#include "hosts/headless/headless.h"
#include "scenes/scenes.h"
#include "shell/shell.h"
#include "trace.h"

namespace {

// The whole trace of a game: every global the trace shows, every frame.
std::string traced_game(HeadlessConfig config) {
    std::string trace;
    config.on_frame = [&](uint64_t frame, bool presented) {
        trace += trace_line(frame, presented, headless_take_events(), false);
    };
    headless_configure(config);
    game_main();
    headless_finish();
    return trace;
}

// Start chosen on the title, then Escape while the round's field opens.
HeadlessConfig into_the_round_opening() {
    const JoystickState centred{0x8000, 0x8000, 0};
    KeyboardState enter{};
    enter.enter = true;
    HeadlessConfig config;
    config.script = {InputRun{83, {}, centred, false}, InputRun{1, enter, centred, false},
                     InputRun{120, {}, centred, false}, InputRun{1, {}, centred, true}};
    return config;
}

// The recorded perfect round, stopped while the mosaic breaks the ranking up:
// the round, the cut-in, the result, the transitions, the sound and the input
// are all away from where they start.
void play_into_the_ranking() {
    std::ifstream file(std::string(KUZARI_SOURCE_DIR) + "/docs/screenshots/perfect.txt");
    std::stringstream text;
    text << file.rdbuf();
    HeadlessConfig config;
    std::string error;
    ASSERT_TRUE(parse_script(text.str(), &config.script, &error)) << error;
    config.frame_limit = 9836;
    headless_configure(config);
    game_main();
    headless_finish();
}

}  // namespace

TEST(GameState, AGameAfterAnotherInOneProcessIsTracedAsIfItRanFirst) {
    ASSERT_EQ(chdir(KUZARI_DATA_DIR), 0);
    const std::string first = traced_game(into_the_round_opening());
    play_into_the_ranking();
    ASSERT_EQ(round_state, round_ranking) << "the game before must stop in the ranking";
    ASSERT_EQ(result_state, result_breaking_up);
    ASSERT_GT(mosaic_step, 0);

    const std::string again = traced_game(into_the_round_opening());
    ASSERT_FALSE(first.empty());
    // Line by line, so that a failure names the first frame that differs.
    std::istringstream a(first), b(again);
    std::string line_a, line_b;
    for (int frame = 0; std::getline(a, line_a); ++frame) {
        ASSERT_TRUE(std::getline(b, line_b)) << "the second game is shorter, at frame " << frame;
        ASSERT_EQ(line_a, line_b) << "frame " << frame;
    }
    EXPECT_FALSE(std::getline(b, line_b)) << "the second game is longer";
}

TEST(GameState, ResettingKeepsTheLanguageAndUnseedsTheRandomDraws) {
    game_srand(0);
    const int32_t unseeded_draw = game_rand();
    set_game_language(language_english);
    game_srand(12345);
    reset_game_state();
    EXPECT_EQ(game_language(), language_english);
    EXPECT_EQ(game_rand(), unseeded_draw) << "tests drawing without a start-up rely on it";
}
