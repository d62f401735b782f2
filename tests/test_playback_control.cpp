// Watching a recording: the speeds, the clock given to the game at each, the
// pause, the step and the seeks, and the band's words.
#include <gtest/gtest.h>

#include "core/data_file.h"
#include "hosts/shared/playback_band.h"
#include "hosts/shared/playback_control.h"

TEST(PlaybackControl, SpeedsReadAsTheCommandLineWritesThem) {
    PlaybackSpeed speed = speed_normal;
    for (const char* text : {"1/4", "0.25", "1/2", "0.5", "1", "2", "4", "8", "max"}) {
        ASSERT_TRUE(parse_playback_speed(text, &speed)) << text;
        PlaybackSpeed again = speed_normal;
        std::string name = playback_speed_name(speed);
        if (name != "max") name.pop_back();  // "2x" is "2"
        EXPECT_TRUE(parse_playback_speed(name, &again)) << name;
        EXPECT_EQ(again, speed) << text;
    }
    for (const char* text : {"", "3", "16", "0", "-1", "1x", "max "}) EXPECT_FALSE(parse_playback_speed(text, &speed));
}

TEST(PlaybackControl, TheGamesClockGoesAtTheSpeedAndStandsStillPaused) {
    const struct {
        PlaybackSpeed speed;
        uint32_t game_ms_in_400;
    } cases[] = {{speed_quarter, 100}, {speed_half, 200}, {speed_normal, 400}, {speed_double, 800},
                 {speed_eightfold, 3200}};
    for (const auto& c : cases) {
        PlaybackControl control;
        control.speed = c.speed;
        const uint32_t start = playback_clock(&control, 5000);
        EXPECT_EQ(start, 5000u);
        EXPECT_EQ(playback_clock(&control, 5400) - start, c.game_ms_in_400) << playback_speed_name(c.speed);
        // The wait for the next frame is the same share of the host's time.
        EXPECT_EQ(playback_real_wait(control, int32_t(c.game_ms_in_400)), 400) << playback_speed_name(c.speed);
    }

    PlaybackControl control;
    const uint32_t start = playback_clock(&control, 0);
    playback_act(&control, playback_pause, 10, 100);
    EXPECT_TRUE(playback_stands_still(control));
    EXPECT_EQ(playback_clock(&control, 60000), start);
    playback_act(&control, playback_pause, 10, 100);
    EXPECT_EQ(playback_clock(&control, 60017), start + 17);

    // Unpaced, every reading of the clock finds the next frame due at once.
    control.speed = speed_unpaced;
    const uint32_t before = playback_clock(&control, 60017);
    EXPECT_EQ(playback_clock(&control, 60017) - before, 17u);
    EXPECT_EQ(playback_real_wait(control, 17), 0);
}

TEST(PlaybackControl, AStepRunsOneFrameAndStaysPaused) {
    PlaybackControl control;
    playback_act(&control, playback_step, 41, 100);
    EXPECT_TRUE(control.paused);
    EXPECT_FALSE(playback_stands_still(control));
    const uint32_t before = playback_clock(&control, 1000);
    EXPECT_GE(playback_clock(&control, 1000) - before, 17u);  // the frame is due however little time passed
    playback_frame_ran(&control, 42);
    EXPECT_TRUE(playback_stands_still(control));
    // No step past the recording's end.
    playback_act(&control, playback_step, 100, 100);
    EXPECT_TRUE(playback_stands_still(control));
}

TEST(PlaybackControl, SeeksRunUnshownToTheirFrameAndGoBackByStartingAgain) {
    PlaybackControl control;
    playback_act(&control, playback_forward, 100, 10000);
    EXPECT_TRUE(control.seeking);
    EXPECT_FALSE(control.restart_pending);
    EXPECT_EQ(control.seek_to, 100 + playback_seek_frames);
    EXPECT_FALSE(playback_shows_frames(control));
    EXPECT_TRUE(playback_hushed(control));
    playback_frame_ran(&control, 100 + playback_seek_frames);
    EXPECT_FALSE(control.seeking);
    EXPECT_TRUE(playback_shows_frames(control));
    EXPECT_FALSE(playback_hushed(control));

    // Forward stops at the last frame; back and to the start play again from frame 1.
    playback_act(&control, playback_forward, 9900, 10000);
    EXPECT_EQ(control.seek_to, 10000u);
    playback_frame_ran(&control, 10000);
    playback_act(&control, playback_back, 10000, 10000);
    EXPECT_TRUE(control.restart_pending);
    EXPECT_EQ(control.seek_to, 10000 - playback_seek_frames);
    playback_restarted(&control);
    EXPECT_TRUE(control.seeking);
    playback_frame_ran(&control, 10000 - playback_seek_frames);
    EXPECT_FALSE(control.seeking);
    playback_act(&control, playback_back, 300, 10000);
    EXPECT_EQ(control.seek_to, 1u);
    playback_restarted(&control);
    playback_frame_ran(&control, 1);
    playback_act(&control, playback_to_start, 5000, 10000);
    EXPECT_TRUE(control.restart_pending);
    EXPECT_EQ(control.seek_to, 1u);
}

TEST(PlaybackControl, SpeedsStopAtTheirEndsAndOnlyTheGamesPaceIsHeard) {
    PlaybackControl control;
    for (int i = 0; i < 10; ++i) playback_act(&control, playback_faster, 0, 100);
    EXPECT_EQ(control.speed, speed_unpaced);
    EXPECT_TRUE(playback_hushed(control));
    for (int i = 0; i < 10; ++i) playback_act(&control, playback_slower, 0, 100);
    EXPECT_EQ(control.speed, speed_quarter);
    EXPECT_TRUE(playback_hushed(control));
    for (int i = 0; i < 2; ++i) playback_act(&control, playback_faster, 0, 100);
    EXPECT_FALSE(playback_hushed(control));
}

TEST(PlaybackBand, ItsWordsAreInTheFontAndFitOneLine) {
    set_data_folder(KUZARI_DATA_DIR);
    PixelFont font;
    std::string error;
    ASSERT_TRUE(load_pixel_font(&font, &error)) << error;
    set_data_folder("");
    for (bool english : {false, true}) {
        EXPECT_TRUE(pixel_font_covers(font, playback_hint(english))) << playback_hint(english);
        EXPECT_LE(pixel_text_width(font, playback_hint(english)) + 8, playback_band_width) << playback_hint(english);
        PlaybackControl control;
        OverlayImage band;
        draw_playback_band(&band, font, control, 588, 10225, english);
        EXPECT_EQ(band.height, playback_band_line);
        playback_act(&control, playback_pause, 588, 10225);
        draw_playback_band(&band, font, control, 588, 10225, english);
        EXPECT_EQ(band.height, 2 * playback_band_line);
        EXPECT_EQ(band.width, playback_band_width);
    }
    char text[16];
    playback_time(10225, text, sizeof text);
    EXPECT_STREQ(text, "2:53");
}
