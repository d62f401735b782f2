// Where the game's input comes from and where it goes, as every host that
// plays live has it: a script when one is being played back, else the host's
// own devices; and, while recording, a recording of exactly what the game was
// given, so that it replays to the same frames whichever way the input came.
#pragma once

#include <cstdint>
#include <vector>

#include "hosts/shared/recorder.h"
#include "hosts/shared/script_player.h"
#include "platform/platform.h"

struct InputFeed {
    bool playing = false;
    ScriptPlayer script;
    bool recording = false;
    Recorder recorder;
    KeyboardState keys_given{};
    JoystickState joystick_given = joystick_at_rest;
};

extern InputFeed input_feed;

// From now on the input comes from these runs.
void feed_play_script(std::vector<InputRun> runs);
// From now on what the game is given is recorded, under this seed and edition.
void feed_record(uint32_t seed, bool english);

// The frame's keyboard and pad: the script's while one plays, else the live
// state the host read (`live_read` false: the device could not be read).
// Returns what platform_read_keyboard and platform_read_joystick return.
bool feed_keyboard(bool live_read, const KeyboardState& live, KeyboardState* keys);
bool feed_joystick(bool live_read, const JoystickState& live, JoystickState* joystick);

// While a script plays: its next message (a key-down as a run begins, the
// close when it is over). An Escape handed to the game is recorded.
bool feed_script_message(PlatformMessage* message);
// The host handed the game an Escape of its own.
void feed_escape();
// A frame has run and shown a picture with this hash. True when the
// recording began a new line with it.
bool feed_frame_shown(uint64_t picture_hash);
