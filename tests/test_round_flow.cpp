// The flow of a round: its first frame, the music and the voice of its opening,
// the end of play on time-up or empty bowls, the losing path's screens and
// the play wrapper's last frame.
#include <gtest/gtest.h>

#include "audio/audio.h"
#include "gameplay/gameplay.h"
#include "scenes/scenes.h"
#include "support/headless_game.h"
#include "support/replay_run.h"
#include "support/scene_driver.h"
#include "support/trace_query.h"

using nlohmann::json;
using Texts = std::vector<std::string>;

namespace {

// Start is confirmed in frame 84; the closing wipe hands over in 167.
constexpr long long round_first_frame = 168;

// Runs the game from the title into a round and on for `round_frames` frames of it.
ReplayResult run_round(long long round_frames) {
    ReplayOptions options;
    options.script = "83\n1 enter\n" + std::to_string(round_first_frame - 85 + round_frames) + "\n";
    ReplayResult result = run_replay(options);
    EXPECT_EQ(result.exit_status, 0) << result.error_output;
    return result;
}

// A round reset in this process and put straight into the given state, with
// the effects on as the title leaves them.
void enter_round_state(RoundFlowState state) {
    ASSERT_TRUE(start_headless_game());
    reset_round();
    se_enabled = true;
    round_state = state;
    take_event_texts();
}

}  // namespace

TEST(RoundFlow, FirstFrameResetsTheRoundAndOpensTheScreen) {
    const ReplayResult result = run_round(10);
    ASSERT_GT(result.frames.size(), size_t(round_first_frame));
    EXPECT_EQ(scene_field(result.frames[round_first_frame - 1], f_round_state), 0);

    const json& first = result.frames[round_first_frame];
    EXPECT_EQ(scene_field(first, f_play_state), 1);
    EXPECT_EQ(scene_field(first, f_round_state), 1);
    EXPECT_EQ(first["fx"][1], 1) << "the opening wipe has made its first step";
    EXPECT_EQ(first["fx"][2], 2);
    EXPECT_EQ(first["time_left"], 18000);
    // x, y, pose, timer, action, lane, shots left.
    const json player = first["player"];
    EXPECT_EQ(json(std::vector<json>(player.begin(), player.begin() + 7)), json::parse("[40,-40,3,0,0,1,38]"));
    for (const json& shot : first["shots"]) EXPECT_EQ(shot, json::parse("[0,0,0,0,0]"));
    for (const json& raider : first["raiders"]) EXPECT_EQ(raider, json::parse("[0,0,0,0,0]"));

    EXPECT_EQ(frames_with_event(result, json::array({"sheet", "bitmap/main.bmp"})),
              std::vector<long long>{round_first_frame});
    // The timer display is drawn from the first frame, so the picture is not just the wipe's bars.
    EXPECT_NE(first["fb"], result.frames[round_first_frame - 1]["fb"]);
}

TEST(RoundFlow, MainMusicStartsOnceAndTheOpeningEndsWithTheOnakaVoice) {
    const ReplayResult result = run_round(400);
    EXPECT_EQ(frames_with_event(result, json::array({"music", "midi/main.mid", 1})),
              std::vector<long long>{round_first_frame});

    const long long opened = round_first_frame + 82;
    EXPECT_EQ(scene_field(result.frames[opened - 1], f_round_state), 1);
    EXPECT_EQ(scene_field(result.frames[opened], f_round_state), 2);
    EXPECT_EQ(frames_with_event(result, json::array({"voice", "voice/onaka.wav"})),
              std::vector<long long>{opened});

    // The bowls land on their 20th frame; the clock stands still until play begins.
    EXPECT_EQ(first_with(result, f_round_state, 3), opened + 20);
    const long long play = first_with(result, f_round_state, 4);
    ASSERT_GT(play, opened + 20) << "the player drops in after the bowls";
    EXPECT_EQ(result.frames[play]["time_left"], 18000);
    EXPECT_EQ(result.frames[play + 1]["time_left"], 17998);
}

TEST(RoundFlow, TimeUpStopsTheMusicStartsTheWhistleAndSilencesEffects) {
    enter_round_state(round_playing);
    for (Bowl& b : round_data.bowls) b.amount = 1000;
    round_data.time_left = 4;
    EXPECT_FALSE(round_flow());
    EXPECT_EQ(round_state, 4);
    EXPECT_TRUE(se_enabled);
    take_event_texts();

    EXPECT_FALSE(round_flow());
    EXPECT_EQ(round_data.time_left, 0);
    EXPECT_EQ(round_state, 5);
    EXPECT_FALSE(se_enabled);
    const Texts events = take_event_texts();
    EXPECT_EQ(Texts(events.end() - 2, events.end()), (Texts{"stop_music", "music midi/hue.mid 0"}));
}

TEST(RoundFlow, LastUnitEatenAsTimeRunsOutLosesTheRound) {
    enter_round_state(round_playing);
    for (Bowl& b : round_data.bowls) b.amount = 0;
    round_data.bowls[3].amount = 1;
    Raider& eater = round_data.raiders[3][0];
    eater = Raider{64, 140, 1, 0, raider_walking};  // standing at its bowl's line
    round_data.time_left = 2;

    EXPECT_FALSE(round_flow());
    EXPECT_EQ(round_data.time_left, 0);
    EXPECT_EQ(round_state, 8);
    EXPECT_TRUE(se_enabled);
    for (const std::string& e : take_event_texts()) EXPECT_NE(e, "music midi/hue.mid 0");
}

TEST(RoundFlow, LostRoundShowsTheMissCutInThenGameOverUntilAFreshPress) {
    enter_round_state(round_lost_banner);
    round_data.bowls[1].amount = 500;
    set_button_a(false, false);

    // State 8 empties the bowls every frame while the miss cut-in plays.
    int calls = 0;
    while (round_state == 8 && calls < 1000) {
        EXPECT_FALSE(round_flow());
        ++calls;
        for (const Bowl& b : round_data.bowls) ASSERT_LE(b.amount, 0);
        round_data.bowls[2].amount = 7;
    }
    EXPECT_EQ(calls, 36 + 83 + 40 + 32);
    Texts events = take_event_texts();
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.back(), "sheet bitmap/gameover.bmp");

    EXPECT_EQ(calls_until_done([] { return round_flow() || round_state == 10; }, 1000), 83);

    // A held over from before does not leave; neither do the other buttons.
    set_button_a(true, true);
    input.button_b = input.button_c = input.button_d = 1;
    for (int i = 0; i < 50; ++i) ASSERT_FALSE(round_flow());
    EXPECT_EQ(round_state, 10);
    take_event_texts();

    set_button_a(true, false);
    EXPECT_TRUE(round_flow());
    EXPECT_EQ(round_state, 0);
    EXPECT_EQ(take_event_texts(), (Texts{"se 2", "stop_music"}));
}

TEST(RoundFlow, PlayWrapperSpendsOneMoreFrameBeforeReportingTheEnd) {
    enter_round_state(round_game_over);
    play_state = play_in_round;
    set_button_a(true, false);
    EXPECT_EQ(play_wrapper(), 0);
    EXPECT_EQ(play_state, 2);
    EXPECT_EQ(round_state, 0);
    take_event_texts();
    EXPECT_EQ(play_wrapper(), 1);
    EXPECT_EQ(play_state, 0);
    EXPECT_TRUE(take_event_texts().empty()) << "the last frame does nothing";
}
