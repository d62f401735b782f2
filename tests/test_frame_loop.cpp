// The paced frame, start-up failures and the order of shutdown, run in this
// process on the headless platform.
#include <gtest/gtest.h>

#include <unistd.h>

#include "audio/audio.h"
#include "graphics/graphics.h"
#include "platform/headless/headless.h"
#include "shell/shell.h"
#include "support/headless_game.h"

namespace {

const char display_failed[] = "DirectDrawの初期化に失敗しました。\nアプリケーションを終了します。";
const char sound_failed[] = "DirectSoundの初期化に失敗しました。\nアプリケーションを終了します。";
const char music_failed[] = "DirectMusicの初期化に失敗しました。\nアプリケーションを終了します。";

using Log = std::vector<std::string>;

std::vector<HeadlessEvent> boxes(const std::vector<HeadlessEvent>& events) {
    std::vector<HeadlessEvent> found;
    for (const HeadlessEvent& e : events)
        if (e.kind == HeadlessEvent::box) found.push_back(e);
    return found;
}

// Runs the whole program in this process; returns its exit code.
int run_program(HeadlessConfig config) {
    if (chdir(KUZARI_DATA_DIR) != 0) return -1;
    headless_configure(config);
    const int status = game_main();
    headless_finish();
    return status;
}

}  // namespace

TEST(FrameLoop, AFrameRunsOnlyAfterMoreThanSixteenMilliseconds) {
    ASSERT_TRUE(start_headless_game());
    headless_set_clock(1000);
    EXPECT_FALSE(frame_tick());
    EXPECT_EQ(headless_frames_run(), 1u) << "the first pass runs at once: the last frame is at 0";
    EXPECT_EQ(last_frame_ms, 1000u);

    headless_set_clock(1016);
    EXPECT_FALSE(frame_tick());
    EXPECT_EQ(headless_frames_run(), 1u) << "16 ms is not enough";
    headless_set_clock(1017);
    EXPECT_FALSE(frame_tick());
    EXPECT_EQ(headless_frames_run(), 2u);
    EXPECT_EQ(last_frame_ms, 1017u) << "the frame's start, not a later reading";
}

TEST(FrameLoop, TheClockWrappingRoundDoesNotStallTheLoop) {
    ASSERT_TRUE(start_headless_game());
    last_frame_ms = 0xFFFFFFF8u;
    headless_set_clock(8);  // 16 ms later, across the wrap
    frame_tick();
    EXPECT_EQ(headless_frames_run(), 0u);
    headless_set_clock(9);
    frame_tick();
    EXPECT_EQ(headless_frames_run(), 1u);
    EXPECT_EQ(last_frame_ms, 9u);
}

TEST(FrameLoop, EscapeShutsDownOnceInOrderAndTheSecondRunReleasesNothing) {
    HeadlessConfig config;
    config.script = {InputRun{20, {}, {0x8000, 0x8000, 0}, false},
                     InputRun{5, {}, {0x8000, 0x8000, 0}, true}};
    EXPECT_EQ(run_program(config), 0);
    EXPECT_EQ(headless_frames_run(), 20u);
    EXPECT_EQ(headless_release_log(), (Log{"music", "display", "audio", "quit", "window", "quit"}));
}

TEST(FrameLoop, AKeyOtherThanEscapeDoesNothingThroughTheWindow) {
    HeadlessConfig config;
    config.script = {InputRun{30, {true, false, false, false, true, true, true, true}, {0x8000, 0x8000, 0}, false}};
    config.frame_limit = 30;
    EXPECT_EQ(run_program(config), 0);
    EXPECT_EQ(headless_frames_run(), 30u);
}

TEST(FrameLoop, FailingDisplayShowsItsBoxAndStartsNothingElse) {
    HeadlessConfig config;
    config.display_fails = true;
    EXPECT_EQ(run_program(config), 0);
    const auto shown = boxes(headless_take_events());
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, display_failed);
    EXPECT_EQ(shown[0].caption, "");
    EXPECT_EQ(headless_frames_run(), 0u);
    EXPECT_EQ(headless_release_log(), Log{}) << "sound and music never started";
}

TEST(FrameLoop, FailingSoundReleasesSoundThenDisplay) {
    HeadlessConfig config;
    config.audio_fails = true;
    EXPECT_EQ(run_program(config), 0);
    const auto shown = boxes(headless_take_events());
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, sound_failed);
    EXPECT_EQ(headless_frames_run(), 0u);
    EXPECT_EQ(headless_release_log(), Log{"display"});
}

TEST(FrameLoop, FailingMusicReleasesMusicSoundAndDisplayInThatOrder) {
    HeadlessConfig config;
    config.music_fails = true;
    EXPECT_EQ(run_program(config), 0);
    const auto shown = boxes(headless_take_events());
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, music_failed);
    EXPECT_EQ(headless_frames_run(), 0u);
    EXPECT_EQ(headless_release_log(), (Log{"audio", "display"}));
}

TEST(FrameLoop, ReleasesMayRunTwice) {
    ASSERT_TRUE(start_headless_game());
    release_music();
    release_display();
    release_sound();
    const Log once = headless_release_log();
    EXPECT_EQ(once, (Log{"music", "display", "audio"}));
    release_music();
    release_display();
    release_sound();
    EXPECT_EQ(headless_release_log(), once);
}
