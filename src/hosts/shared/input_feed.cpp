#include "hosts/shared/input_feed.h"

#include <utility>

InputFeed input_feed;

void feed_play_script(std::vector<InputRun> runs) {
    input_feed.script = script_player(std::move(runs));
    input_feed.playing = true;
}

void feed_record(uint32_t seed, bool english) {
    input_feed.recorder = Recorder{};
    input_feed.recorder.seed = seed;
    input_feed.recorder.english = english;
    input_feed.recording = true;
}

bool feed_keyboard(bool live_read, const KeyboardState& live, KeyboardState* keys) {
    const bool read = input_feed.playing || live_read;
    if (input_feed.playing) *keys = script_keyboard(input_feed.script);
    else if (live_read) *keys = live;
    input_feed.keys_given = read ? *keys : KeyboardState{};
    return read;
}

bool feed_joystick(bool live_read, const JoystickState& live, JoystickState* joystick) {
    const bool read = input_feed.playing || live_read;
    if (input_feed.playing) *joystick = script_joystick(input_feed.script);
    else if (live_read) *joystick = live;
    input_feed.joystick_given = read ? *joystick : joystick_at_rest;
    return read;
}

bool feed_script_message(PlatformMessage* message) {
    if (!input_feed.playing || !script_message(&input_feed.script, message)) return false;
    if (message->kind == message_key_down && message->key_is_escape) feed_escape();
    return true;
}

void feed_escape() {
    if (input_feed.recording) record_escape(&input_feed.recorder);
}

bool feed_frame_shown(uint64_t picture_hash) {
    if (input_feed.playing) script_frame_ran(&input_feed.script);
    return input_feed.recording &&
           record_frame(&input_feed.recorder, input_feed.keys_given, input_feed.joystick_given, picture_hash);
}
