// The paced frame, start-up failures and the order of shutdown, run in this
// process on the headless host.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

#include "audio/audio.h"
#include "graphics/graphics.h"
#include "hosts/headless/headless.h"
#include "shell/shell.h"
#include "support/headless_game.h"
#include "support/scratch_dir.h"

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
int run_program(HeadlessConfig config, const std::string& data_dir = KUZARI_DATA_DIR) {
    if (chdir(data_dir.c_str()) != 0) return -1;
    headless_configure(config);
    const int status = game_main();
    headless_finish();
    return status;
}

}  // namespace

TEST(FrameLoop, AFrameRunsOnlyAfterMoreThanSixteenMilliseconds) {
    ASSERT_TRUE(start_headless_game());
    headless_set_clock(1000);
    EXPECT_FALSE(frame_ends_loop());
    EXPECT_EQ(headless_frames_run(), 1u) << "the first pass runs at once: the last frame is at 0";
    EXPECT_EQ(last_frame_ms, 1000u);

    headless_set_clock(1016);
    EXPECT_FALSE(frame_ends_loop());
    EXPECT_EQ(headless_frames_run(), 1u) << "16 ms is not enough";
    headless_set_clock(1017);
    EXPECT_FALSE(frame_ends_loop());
    EXPECT_EQ(headless_frames_run(), 2u);
    EXPECT_EQ(last_frame_ms, 1017u) << "the frame's start, not a later reading";
}

TEST(FrameLoop, TheClockWrappingRoundDoesNotStallTheLoop) {
    ASSERT_TRUE(start_headless_game());
    last_frame_ms = 0xFFFFFFF8u;
    headless_set_clock(8);  // 16 ms later, across the wrap
    frame_ends_loop();
    EXPECT_EQ(headless_frames_run(), 0u);
    headless_set_clock(9);
    frame_ends_loop();
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

TEST(FrameLoop, OnlyEscapeAmongTheKeysClosesTheWindow) {
    HeadlessConfig config;
    const JoystickState centred{0x8000, 0x8000, 0};
    // Every key but Escape goes down, then comes up and goes down again.
    config.script = {InputRun{10, {true, true, true, true, true, true, true, true}, centred, false},
                     InputRun{10, {}, centred, false},
                     InputRun{10, {true, true, true, true, true, true, true, true}, centred, false},
                     InputRun{10, {}, centred, true},
                     InputRun{10, {}, centred, false}};
    EXPECT_EQ(run_program(config), 0);
    EXPECT_EQ(headless_key_downs_sent(), 17u) << "eight keys twice, then Escape";
    EXPECT_EQ(headless_frames_run(), 30u) << "only Escape closed the window";
}

TEST(FrameLoop, AServiceThatFailsToStartShowsItsBoxAndReleasesWhatStarted) {
    const struct {
        const char* name;
        bool display_fails, audio_fails, music_fails;
        const char* missing_file;
        const char* text;
        Log released;
    } cases[] = {
        {"display", true, false, false, nullptr, display_failed, {}},
        {"sound device", false, true, false, nullptr, sound_failed, {"display"}},
        // Slots 0 to 2 are loaded when the fourth file is found missing: the
        // device goes before the display.
        {"sound file", false, false, false, "wave/03.wav", sound_failed, {"audio", "display"}},
        {"music", false, false, true, nullptr, music_failed, {"audio", "display"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const ScratchDir scratch;
        std::filesystem::copy(KUZARI_DATA_DIR, scratch.path, std::filesystem::copy_options::recursive);
        if (c.missing_file) std::filesystem::remove(scratch.path + "/" + c.missing_file);

        HeadlessConfig config;
        config.display_fails = c.display_fails;
        config.audio_fails = c.audio_fails;
        config.music_fails = c.music_fails;
        EXPECT_EQ(run_program(config, scratch.path), exit_start_up_failed);
        const auto shown = boxes(headless_take_events());
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].text, c.text);
        EXPECT_EQ(shown[0].caption, "");
        EXPECT_EQ(headless_frames_run(), 0u);
        EXPECT_EQ(headless_release_log(), c.released);
    }
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
