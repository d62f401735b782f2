// Input scripts: one line per run of frames, `COUNT [KEY ...]`, `#` starting
// a comment. kuzari-replay and the tests play them on the headless platform;
// the real game records them and plays them back.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"

// A run of consecutive frames during which exactly these keys are held.
struct InputRun {
    uint64_t count;
    KeyboardState keys;
    JoystickState joystick;  // centred (0x8000) with no button when unused
    bool escape;             // Escape goes down before the first frame of the run
    // Every key held here and not in the run before also goes down then.
};

// One frame's input as a run of one: the joystick's position reduced to the
// script's four pushes by the game's own thresholds.
InputRun frame_input(const KeyboardState& keys, const JoystickState& joystick);
// True when two runs hold the same keys (their counts aside).
bool same_input(const InputRun& a, const InputRun& b);
// The run's line, "COUNT key key ...", without its line break.
std::string script_line(const InputRun& run);

// A decimal number of at most `max`, digits only; false for anything else.
bool parse_decimal(const std::string& text, uint64_t max, uint64_t* value);

// Parses a whole script. On a bad line returns false with `error` naming the
// line number and what is wrong.
bool parse_script(const std::string& text, std::vector<InputRun>* runs, std::string* error);
// The seed a script names on its first line, "# seed N", if it does.
bool script_seed(const std::string& text, uint32_t* seed);
// A recording's opening lines, its seed and edition, and its closing line, the
// last frame's number and picture hash; each ends with a line break.
std::string recording_opening(uint32_t seed, bool english);
std::string recording_closing(uint64_t frames, uint64_t picture_hash);
// The edition a recording was played in, "# lang en" among the comment lines
// that open it; empty when it names none.
std::string script_language(const std::string& text);

// Playing a script: the first frame (1-based) of each run, and the run that
// holds a frame (null outside the script) with its index and first frame.
uint64_t script_run_starts(const std::vector<InputRun>& runs, std::vector<uint64_t>* starts);
const InputRun* script_run_at(const std::vector<InputRun>& runs, const std::vector<uint64_t>& starts,
                              uint64_t frame, uint64_t* index, uint64_t* start);

// The key-downs a scripted keyboard sends, one a message, as a run begins:
// one for each key newly held, then Escape's if the run has one.
struct ScriptKeyDowns {
    uint64_t queued_for = UINT64_MAX;  // the run whose key-downs were queued last
    KeyboardState keys_before{};       // the keys held in that run
    std::vector<bool> pending;         // each true for Escape
};
// The next key-down due before the frame `run` (number `index`) is at; a run
// that begins there has its key-downs queued first, once. False when none is due.
bool next_script_key_down(ScriptKeyDowns* keys, const InputRun* run, uint64_t index, bool run_begins,
                          bool* escape);
