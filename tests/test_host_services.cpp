// The services every host shares: playing a script, recording what the game
// was given, and latching taps between frames.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "hosts/shared/input_feed.h"
#include "hosts/shared/input_latch.h"

namespace {

std::vector<InputRun> parsed(const std::string& text) {
    std::vector<InputRun> runs;
    std::string error;
    EXPECT_TRUE(parse_script(text, &runs, &error)) << error;
    return runs;
}

std::string lines_of(const std::vector<InputRun>& runs) {
    std::string text;
    for (const InputRun& run : runs) text += script_line(run) + "\n";
    return text;
}

// Plays the feed's script as a host's loop does: its messages before each
// frame, then the frame; the Escape key-downs it hands over end the game.
// Returns the key-downs, '.' for a key and 'E' for Escape, frame by frame.
std::string play_feed(uint64_t picture_hash) {
    std::string seen;
    for (;;) {
        PlatformMessage message;
        while (feed_script_message(&message)) {
            if (message.kind == message_close) return seen + "|close";
            seen += message.key_is_escape ? 'E' : '.';
            if (message.key_is_escape) return seen;
        }
        KeyboardState keys;
        JoystickState joystick;
        feed_keyboard(false, KeyboardState{}, &keys);
        feed_joystick(false, JoystickState{}, &joystick);
        feed_frame_shown(picture_hash);
        seen += '|';
    }
}

}  // namespace

TEST(ScriptPlayer, KeysGoDownAsTheirRunBeginsAndTheWindowClosesOnceAfterTheLastFrame) {
    ScriptPlayer player = script_player(parsed("2 up\n1 up enter shift\n1\n1 down escape\n"));
    EXPECT_EQ(player.frames, 5u);
    std::string seen;
    PlatformMessage message;
    for (int pass = 0; pass < 8; ++pass) {
        while (script_message(&player, &message))
            seen += message.kind == message_close ? 'C' : message.key_is_escape ? 'E' : '.';
        if (player.frames_run < player.frames) {
            seen += std::to_string(int(script_keyboard(player).up));
            script_frame_ran(&player);
        }
    }
    // up; up held; enter and shift new; nothing; down new, then Escape; then the close, once.
    EXPECT_EQ(seen, ".11..10.E0C");
}

TEST(ScriptPlayer, TheHeaderNamesSeedAndEditionAndASeedlessScriptPlaysSeedOne) {
    const ScriptHeader recorded = script_header("# seed 4242\n# lang en\n10 enter\n");
    EXPECT_EQ(recorded.seed, 4242u);
    EXPECT_EQ(recorded.language, "en");
    const ScriptHeader bare = script_header("10 enter\n");
    EXPECT_FALSE(bare.seed_named);
    EXPECT_EQ(bare.seed, 1u);
    EXPECT_EQ(bare.language, "");
}

TEST(Recorder, RunsMergeButEscapesStayApartAndTheTextReadsBackAsTheSameScript) {
    Recorder recorder;
    recorder.seed = 7;
    recorder.english = true;
    KeyboardState up{};
    up.up = true;
    const JoystickState pushed_right{0xF000, 0x8000, 0x3};  // past the threshold, two buttons
    EXPECT_TRUE(record_frame(&recorder, up, joystick_at_rest, 1));
    EXPECT_FALSE(record_frame(&recorder, up, joystick_at_rest, 2));
    EXPECT_TRUE(record_frame(&recorder, KeyboardState{}, pushed_right, 3));
    record_escape(&recorder);
    record_escape(&recorder);
    const std::string text = recording_text(recorder);
    EXPECT_EQ(text, "# seed 7\n# lang en\n2 up\n1 jright j1 j2\n1 escape\n1 escape\n# frame 3 fb 0000000000000003\n");
    EXPECT_EQ(lines_of(parsed(text)), "2 up\n1 jright j1 j2\n1 escape\n1 escape\n");
    EXPECT_EQ(script_header(text).seed, 7u);
    EXPECT_EQ(script_header(text).language, "en");
}

// A crash writes the closing line with the handler's own numbers: they must
// read as the recorder's.
TEST(PlainText, NumbersMadeWithoutAllocatingReadAsTheRecordersClosingLine) {
    for (const uint64_t value : {uint64_t(0), uint64_t(9), uint64_t(10), uint64_t(0x00ab00cd), ~uint64_t(0)}) {
        PlainText line;
        plain_add(&line, "# frame ");
        plain_add_decimal(&line, value);
        plain_add(&line, " fb ");
        plain_add_hex16(&line, value);
        plain_add(&line, "\n");
        EXPECT_EQ(std::string(line.text, line.length), recording_closing(value, value));
    }
    PlainText full;
    for (int i = 0; i < 300; ++i) plain_add(&full, "x");
    EXPECT_EQ(full.length, sizeof full.text);  // what does not fit is left off
}

TEST(InputFeed, RecordingWhilePlayingBackWritesWhatWasPlayedEscapeAndAll) {
    input_feed = InputFeed{};
    const std::string script = "3 down\n2 enter jup\n1 escape\n";
    feed_play_script(parsed(script));
    feed_record(1, false);
    EXPECT_EQ(play_feed(0xAB), ".|||.||E");
    EXPECT_EQ(lines_of(input_feed.recorder.runs), script);
    EXPECT_EQ(input_feed.recorder.frames, 5u);
    input_feed = InputFeed{};
}

TEST(InputFeed, WithoutAScriptTheLiveInputIsGivenAndAnUnreadDeviceCountsAsNothing) {
    input_feed = InputFeed{};
    feed_record(1, false);
    KeyboardState live{};
    live.enter = true;
    KeyboardState keys;
    JoystickState joystick;
    EXPECT_TRUE(feed_keyboard(true, live, &keys));
    EXPECT_TRUE(keys.enter);
    EXPECT_FALSE(feed_joystick(false, JoystickState{0, 0, 0xF}, &joystick));
    feed_frame_shown(0);
    EXPECT_EQ(lines_of(input_feed.recorder.runs), "1 enter\n");
    input_feed = InputFeed{};
}

TEST(InputLatch, ATapBetweenFramesCountsInTheNextFrameOnlyAndTheDpadBeatsTheStick) {
    InputLatch latch{};
    const bool none_held[game_key_count] = {};
    latch_key_down(&latch, key_throw);
    latch_buttons_down(&latch, 0x4);
    latch_pushes(&latch, push_up);
    EXPECT_TRUE(latched_keyboard(latch, none_held).enter);
    EXPECT_EQ(latched_buttons(latch, 0x1), 0x5);
    JoystickState stick{0xFFFF, 0xFFFF, 0};  // pushed down and right
    apply_pushes(latched_pushes(latch, push_left), &stick);
    EXPECT_EQ(stick.x, 0u);
    EXPECT_EQ(stick.y, 0u);
    latch_frame_shown(&latch);
    EXPECT_FALSE(latched_keyboard(latch, none_held).enter);
    EXPECT_EQ(latched_buttons(latch, 0), 0);
    EXPECT_EQ(latched_pushes(latch, 0), 0);
}
