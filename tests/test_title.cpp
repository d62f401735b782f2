// The title scene through kuzari-replay: the opening wipe, the logo, the strips
// and the blinking cursor, the menu's moves and confirmations, and what each
// choice leads to.
#include <gtest/gtest.h>

#include <string>

#include "support/replay_run.h"
#include "support/trace_query.h"

using nlohmann::json;

namespace {

// The opening wipe runs frames 1..83; the cursor is live from frame 84 on.
constexpr int wipe_frames = 83;
constexpr int first_live_frame = wipe_frames + 1;

ReplayResult run_title(const std::string& script_after_wipe, long long frames = -1) {
    ReplayOptions options;
    options.script = std::to_string(wipe_frames) + "\n" + script_after_wipe;
    options.frames = frames;
    ReplayResult result = run_replay(options);
    EXPECT_EQ(result.exit_status, 0) << result.error_output;
    return result;
}

int title_field(const json& frame, int index) { return frame["title"][index]; }
int cursor_pos(const json& frame) { return title_field(frame, 1); }

}  // namespace

TEST(Title, OpeningWipeTakes83FramesAndStartsTheTitleMusicOnce) {
    const ReplayResult result = run_title("20\n");
    ASSERT_EQ(result.frames.size(), size_t(first_live_frame + 20));

    const json& first = result.frames[1];
    EXPECT_EQ(scene_field(first, f_title_state), 2) << "states 0, 1 and 2 run in the first frame";
    EXPECT_EQ(first["fx"][1], 1) << "wipe_open_state";
    EXPECT_EQ(first["fx"][2], 2) << "wipe_open_offset after the first call";
    EXPECT_EQ(first["sound"][0], 1);
    const json& events = first["events"];
    EXPECT_NE(std::find(events.begin(), events.end(), json::array({"sheet", "bitmap/title.bmp"})), events.end());

    for (int i = 1; i < wipe_frames; ++i) ASSERT_EQ(scene_field(result.frames[i], f_title_state), 2) << i;
    EXPECT_EQ(result.frames[wipe_frames - 1]["fx"][1], 2) << "the 82nd call moves the wipe to its last state";
    EXPECT_EQ(scene_field(result.frames[wipe_frames], f_title_state), 3);
    EXPECT_EQ(result.frames[wipe_frames]["fx"][1], 0) << "the wipe is ready for its next use";

    EXPECT_EQ(frames_with_event(result, json::array({"music", "midi/title.mid", 1})), std::vector<long long>{1});
}

TEST(Title, LogoBouncesStripsScrollAndCursorBlinks) {
    const ReplayResult result = run_title("", 400);
    const int expected_rows[] = {32, 32, 32, 33, 34, 35, 36, 37, 39, 41, 43, 45, 47, 50, 47,
                                 44, 41, 38, 35, 33, 31, 29, 27, 25, 24, 23, 22, 21, 20};
    for (int i = 0; i < int(std::size(expected_rows)); ++i)
        EXPECT_EQ(title_field(result.frames[i + 1], 3), expected_rows[i]) << "logo frame " << i + 1;

    for (size_t k = 1; k < result.frames.size(); ++k) {
        const json& frame = result.frames[k];
        const int logo_y = title_field(frame, 3);
        EXPECT_TRUE(logo_y >= 20 && logo_y <= 50) << k;
        // The first frame scrolls from 0 and jumps to 64; then 63 down to 1 and round again.
        const int strip = int((64 - (k - 1) % 64) % 64);
        EXPECT_EQ(title_field(frame, 5), strip == 0 ? 64 : strip) << k;
        // Blinks 1..4 show frame 0 first, then five frames of each picture.
        EXPECT_EQ(title_field(frame, 2), int(k % 10)) << k;
    }
    // Once it swings, the logo repeats every 39 frames.
    for (size_t k = 14; k + 39 < result.frames.size(); ++k)
        EXPECT_EQ(title_field(result.frames[k], 3), title_field(result.frames[k + 39], 3)) << k;
}

TEST(Title, CursorMovesOncePerPushWrapsAndTakesTheDiagonals) {
    // Each push is followed by a neutral frame; "up down" straight after "up" does not move.
    const ReplayResult result = run_title(
        "4 down\n1\n"        // 0 -> 1, held: once
        "1 down\n1\n"        // 1 -> 2
        "1 down\n1\n"        // 2 -> 0, wraps
        "1 up\n1\n"          // 0 -> 2, wraps
        "3 left\n3 right\n1\n"  // nothing
        "1 up left\n1\n"     // 7: 2 -> 1
        "1 up right\n1\n"    // 9: 1 -> 0
        "1 down left\n1\n"   // 1: 0 -> 1
        "1 down right\n1\n"  // 3: 1 -> 2
        "2 up\n2 down\n1\n"  // 2 -> 1, then down without neutral: stays
    );
    const int expected[] = {1, 2, 0, 2, 1, 0, 1, 2, 1};
    std::vector<int> positions;
    for (size_t k = first_live_frame; k < result.frames.size(); ++k) {
        const int pos = cursor_pos(result.frames[k]);
        if (pos != cursor_pos(result.frames[k - 1])) positions.push_back(pos);
    }
    EXPECT_EQ(positions, std::vector<int>(std::begin(expected), std::end(expected)));
    EXPECT_EQ(count_event(result, json::array({"se", 1})), std::size(expected)) << "one click per move";
    EXPECT_EQ(scene_field(result.frames.back(), f_title_state), 3) << "moving confirms nothing";
    EXPECT_EQ(result.frames.back()["title"][0], 0);
}

TEST(Title, APressedDuringTheWipesOrHeldFromBeforeIsIgnored) {
    ReplayOptions options;
    // A held from the opening wipe into the live menu, released, pressed again:
    // only the fresh press confirms (start). Presses in the closing wipe do nothing.
    options.script = "40\n60 enter\n1\n1 enter\n10\n1 enter\n1\n1 enter\n";
    options.frames = 140;
    const ReplayResult result = run_replay(options);
    ASSERT_EQ(result.frames.size(), 141u);
    const long long confirm = first_with(result, f_title_state, 4);
    EXPECT_EQ(confirm, 102);
    EXPECT_EQ(result.frames[confirm]["title"][0], 1);
    EXPECT_EQ(count_event(result, json::array({"se", 0})), 1u);
    for (long long k = confirm; k < (long long)result.frames.size(); ++k) {
        EXPECT_EQ(scene_field(result.frames[k], f_title_state), 4) << k;
        EXPECT_EQ(result.frames[k]["title"][0], 1) << k;
    }
}

TEST(Title, ExplanationKeepsTheMusicAndReturnsToTheSameItem) {
    // Down to the explanation and confirm in frame 85; the closing wipe ends in 168.
    const ReplayResult result = run_title("1 down\n1 enter\n90\n1 enter\n100\n");
    const long long confirm = first_live_frame + 1;
    ASSERT_EQ(scene_field(result.frames[confirm], f_title_state), 4);
    EXPECT_EQ(frames_with_event(result, json::array({"voice", "voice/setumei.wav"})),
              std::vector<long long>{confirm});
    EXPECT_EQ(frames_with_event(result, json::array({"se", 0})), std::vector<long long>{confirm});

    const long long shown = confirm + wipe_frames;
    EXPECT_EQ(scene_field(result.frames[shown - 1], f_title_state), 4);
    EXPECT_EQ(scene_field(result.frames[shown], f_title_state), 5);
    EXPECT_EQ(frames_with_event(result, json::array({"sheet", "bitmap/setumei.bmp"})),
              std::vector<long long>{shown});

    // The press in frame confirm + 91 leaves it; the next frame reloads the title and wipes it open.
    const long long leave = confirm + 91;
    EXPECT_EQ(scene_field(result.frames[leave - 1], f_title_state), 5) << "A held over from before does not leave";
    EXPECT_EQ(scene_field(result.frames[leave], f_title_state), 1);
    EXPECT_EQ(frames_with_event(result, json::array({"se", 2})), std::vector<long long>{leave});
    EXPECT_EQ(scene_field(result.frames[leave + 1], f_title_state), 2);
    EXPECT_EQ(frames_with_event(result, json::array({"sheet", "bitmap/title.bmp"})).back(), leave + 1);
    EXPECT_EQ(scene_field(result.frames[leave + wipe_frames], f_title_state), 3);

    EXPECT_EQ(cursor_pos(result.frames.back()), 1);
    EXPECT_EQ(count_event(result, json::array({"stop_music"})), 0u);
    EXPECT_EQ(count_event(result, json::array({"music", "midi/title.mid", 1})), 1u) << "not restarted";
}

TEST(Title, StartStopsTheMusicAndHandsOverWhenTheWipeHasClosed) {
    const ReplayResult result = run_title("1 enter\n90\n");
    const long long confirm = first_live_frame;
    const json& events = result.frames[confirm]["events"];
    EXPECT_EQ(events, json::parse(R"([["se",0],["stop_music"],["voice","voice/hajimaru.wav"]])"));
    EXPECT_EQ(result.frames[confirm]["title"][0], 1);

    const long long done = confirm + wipe_frames;
    EXPECT_EQ(scene_field(result.frames[done - 1], f_title_state), 4);
    EXPECT_EQ(result.frames[done - 1]["top_scene"], 0);
    // The frame that returns start still shows the title; play runs from the next.
    EXPECT_EQ(result.frames[done]["top_scene"], 1);
    EXPECT_EQ(scene_field(result.frames[done], f_title_state), 0);
    EXPECT_EQ(result.frames[done]["title"][0], 0);
    EXPECT_EQ(scene_field(result.frames[done], f_play_state), 0);
    EXPECT_EQ(scene_field(result.frames[done + 1], f_play_state), 1);
    EXPECT_EQ(cursor_pos(result.frames.back()), 0);
}

TEST(Title, QuitEndsTheRunWhenTheWipeHasClosed) {
    const ReplayResult result = run_title("1 up\n1 enter\n200\n");
    EXPECT_EQ(result.exit_status, 0);
    const long long confirm = first_live_frame + 1;
    ASSERT_EQ(result.frames[confirm]["title"][0], 3);
    EXPECT_EQ(result.frames[confirm]["events"], json::parse(R"([["se",0],["stop_music"]])"));
    // The frame that returns quit is the last and is not presented.
    ASSERT_EQ(result.frames.size(), size_t(confirm + wipe_frames + 1));
    EXPECT_EQ(result.frames.back()["presented"], false);
    EXPECT_EQ(result.frames[confirm + wipe_frames - 1]["presented"], true);
    EXPECT_EQ(scene_field(result.frames.back(), f_title_state), 4);
}
