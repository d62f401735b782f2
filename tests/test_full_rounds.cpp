// Whole rounds played through kuzari-replay: one won by hopping between the
// lanes and throwing, a perfect one recorded by kuzari-bot that reaches the
// staff screen, one left to the raiders; all end back on the title, which
// picks up where it stopped.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "hosts/shared/input_script.h"
#include "support/replay_run.h"
#include "support/trace_query.h"

using nlohmann::json;

namespace {

constexpr long long round_first_frame = 168;  // start confirmed in frame 84
constexpr int cutin_frames = 36 + 83 + 40 + 32;
constexpr int result_frames = 32 + 68 + 32 + 200 + 19;

// Sweeps lanes 1, 2, 3, 2, 1, 0, ... throwing at each stop, and refills after every sweep.
std::string defending_script() {
    std::string script = "83\n1 enter\n141\n";
    const int lanes[] = {2, 3, 2, 1, 0, 1};
    int lane = 1;
    for (int sweep = 0; sweep < 33; ++sweep) {
        for (int next : lanes) {
            script += "20 enter\n1\n";
            script += next > lane ? "1 down\n21\n" : "1 up\n21\n";
            lane = next;
        }
        script += "1 shift\n31\n";
    }
    return script + "800\n";
}

ReplayResult run_script(const std::string& script) {
    ReplayOptions options;
    options.script = script;
    options.seed = 1;
    ReplayResult result = run_replay(options);
    EXPECT_EQ(result.exit_status, 0) << result.error_output;
    return result;
}

// Frames of the trace whose round_state is `state`, counted from `from` while it holds.
long long run_length(const ReplayResult& result, long long from, int state) {
    long long k = from;
    while (k < (long long)result.frames.size() && scene_field(result.frames[k], f_round_state) == state) ++k;
    return k - from;
}

bool has_event(const json& frame, const json& event) {
    for (const json& e : frame["events"])
        if (e == event) return true;
    return false;
}

// From the frame in which round_flow reports the end: one empty frame of the
// wrapper, then the title again from its opening, with its music and effects
// on, the logo, strips and cursor carrying on from the title's last frame.
void expect_back_on_title(const ReplayResult& result, long long ended) {
    ASSERT_LT(ended + 2, (long long)result.frames.size());
    EXPECT_EQ(scene_field(result.frames[ended], f_play_state), 2);
    EXPECT_EQ(scene_field(result.frames[ended], f_round_state), 0);
    const json& handed_back = result.frames[ended + 1];
    EXPECT_EQ(handed_back["top_scene"], 0);
    EXPECT_EQ(scene_field(handed_back, f_play_state), 0);
    EXPECT_TRUE(handed_back["events"].empty());

    const json& title = result.frames[ended + 2];
    EXPECT_EQ(scene_field(title, f_title_state), 2);
    EXPECT_EQ(title["fx"][2], 2) << "the opening wipe's first step";
    EXPECT_EQ(title["sound"][0], 1);
    EXPECT_TRUE(has_event(title, json::array({"music", "midi/title.mid", 1})));
    EXPECT_TRUE(has_event(title, json::array({"sheet", "bitmap/title.bmp"})));

    const json& before = result.frames[round_first_frame - 1]["title"];
    int logo_speed = before[4], logo_y = before[3];
    if (logo_y >= 48) logo_speed = -20;
    logo_speed += 1;
    logo_y += logo_speed / 5;
    const int strip = int(before[5]) - 1;
    EXPECT_EQ(title["title"], json::array({0, before[1], (int(before[2]) + 1) % 10, logo_y, logo_speed,
                                           strip <= 0 ? 64 : strip}));
}

}  // namespace

TEST(FullRound, DefendedRoundIsWonRankedAndEndsOnTheTitle) {
    const ReplayResult result = run_script(defending_script());
    const long long play = first_with(result, f_round_state, 4);
    ASSERT_GT(play, round_first_frame);

    // 9000 counting frames, then the whistle with the effects off.
    EXPECT_EQ(run_length(result, play, 4), 9000);
    const long long time_up = play + 9000;
    const json& up = result.frames[time_up];
    ASSERT_EQ(scene_field(up, f_round_state), 5);
    EXPECT_EQ(up["time_left"], 0);
    EXPECT_EQ(up["sound"][0], 0);
    EXPECT_EQ(up["events"].back(), json::array({"music", "midi/hue.mid", 0}));
    EXPECT_TRUE(has_event(up, json::array({"stop_music"})));

    // The end cut-in, then the ranking on the end sheet.
    EXPECT_EQ(run_length(result, time_up, 5), cutin_frames);
    EXPECT_EQ(frames_with_event(result, json::array({"music", "midi/end.mid", 0})),
              std::vector<long long>{time_up + 36});
    EXPECT_EQ(frames_with_event(result, json::array({"voice", "voice/itadaki.wav"})),
              std::vector<long long>{time_up + 36 + 83});
    const long long ranking = time_up + cutin_frames;
    EXPECT_TRUE(has_event(result.frames[ranking], json::array({"sheet", "bitmap/end.bmp"})));
    EXPECT_EQ(run_length(result, ranking + 1, 6), result_frames - 1);

    int left = 0;
    for (const json& bowl : result.frames[ranking]["bowls"]) left += int(bowl[2]);
    const json& ranked = result.frames[ranking + result_frames];
    EXPECT_EQ(ranked["result"][0], left);
    EXPECT_GT(left, 0);
    EXPECT_LT(left, 4000) << "a rank below 3 ends without the staff screen";
    EXPECT_EQ(ranked["result"][1], left >= 2000 ? 2 : left >= 1000 ? 1 : 0);
    EXPECT_EQ(ranked["sound"][0], 0) << "the effects stay off until the title";

    expect_back_on_title(result, ranking + result_frames);
}

TEST(FullRound, UndefendedRoundIsLostAndLeavesOnlyOnAFreshPress) {
    // A first run finds when the game-over screen is up; the second holds A from
    // before it, then releases and presses again.
    const ReplayResult probe = run_script("83\n1 enter\n3000\n");
    const long long lost = first_with(probe, f_round_state, 8);
    ASSERT_GT(lost, round_first_frame) << "the raiders empty the bowls";
    const long long game_over = lost + cutin_frames + 83;
    ASSERT_EQ(first_with(probe, f_round_state, 10), game_over);

    const long long hold_from = game_over - 20, fresh_press = game_over + 60;
    const ReplayResult result = run_script("83\n1 enter\n" + std::to_string(hold_from - 85) + "\n" +
                                           std::to_string(fresh_press - 1 - hold_from) + " enter\n1\n1 enter\n200\n");
    ASSERT_EQ(first_with(result, f_round_state, 8), lost);

    long long k = first_with(result, f_round_state, 4);
    for (const int state : {4, 8, 9, 10}) {
        ASSERT_EQ(scene_field(result.frames[k], f_round_state), state);
        k += run_length(result, k, state);
    }
    EXPECT_EQ(k, fresh_press);
    // The miss cut-in plays over emptied bowls (raiders still bite, so an amount
    // may read below 0 until the next frame empties it again), with its own music and voice.
    for (long long f = lost + 1; f <= lost + cutin_frames; ++f)
        for (const json& bowl : result.frames[f]["bowls"]) ASSERT_LE(bowl[2], 0) << f;
    EXPECT_EQ(frames_with_event(result, json::array({"music", "midi/miss.mid", 0})),
              std::vector<long long>{lost + 36});
    EXPECT_EQ(frames_with_event(result, json::array({"voice", "voice/uwa.wav"})),
              std::vector<long long>{lost + 36 + 83});
    EXPECT_EQ(frames_with_event(result, json::array({"sheet", "bitmap/gameover.bmp"})),
              std::vector<long long>{lost + cutin_frames});

    const json& leave = result.frames[fresh_press];
    EXPECT_EQ(leave["events"], json::parse(R"([["se",2],["stop_music"]])"));
    expect_back_on_title(result, fresh_press);
}

TEST(FullRound, RecordedPerfectRoundReachesTheStaffScreenAndTheTitle) {
    std::ifstream file(KUZARI_SOURCE_DIR "/docs/screenshots/perfect.txt");
    std::stringstream text;
    text << file.rdbuf();
    ReplayOptions options;
    options.script = text.str();
    uint32_t seed;
    ASSERT_TRUE(script_seed(options.script, &seed)) << "the script names its seed";
    options.seed = seed;
    const ReplayResult result = run_replay(options);
    ASSERT_EQ(result.exit_status, 0) << result.error_output;

    const std::vector<long long> staff = frames_with_event(result, json::array({"sheet", "bitmap/staff.bmp"}));
    ASSERT_EQ(staff.size(), 1u);
    const long long opens = staff[0];
    EXPECT_EQ(result.frames[opens]["result"], json::array({4000, 3}));
    EXPECT_EQ(scene_field(result.frames[opens], f_result_state), 5);
    EXPECT_EQ(result.frames[opens]["sound"][0], 0) << "silent from time-up through the ranking";

    // The effects are on from the first frame of the wipe; the A held since
    // before the screen opened never leaves it, whatever it is held for.
    const long long leave = first_frame(result, [](const json& f) { return scene_field(f, f_result_state) == 0; }, opens);
    ASSERT_GT(leave, opens);
    ASSERT_EQ(result.frames[opens]["input"][1], 1);
    bool held = true;
    long long held_on_staff = 0;
    for (long long f = opens + 1; f < leave; ++f) {
        const json& frame = result.frames[f];
        ASSERT_EQ(frame["sound"][0], 1) << f;
        ASSERT_TRUE(frame["events"].empty()) << f;
        held = held && frame["input"][1] == 1;
        if (held && scene_field(frame, f_result_state) == 6) ++held_on_staff;
    }
    EXPECT_GT(held_on_staff, 0) << "the script holds A on the open staff screen";
    EXPECT_EQ(scene_field(result.frames[leave - 1], f_result_state), 6);

    const json& pressed = result.frames[leave];
    EXPECT_EQ(pressed["input"][1], 1);
    EXPECT_EQ(result.frames[leave - 1]["input"][1], 0);
    EXPECT_EQ(pressed["events"], json::parse(R"([["se",0],["stop_music"]])"));
    expect_back_on_title(result, leave);
}
