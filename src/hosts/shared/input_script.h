// Input scripts: one line per run of frames, `COUNT [KEY ...]`, `#` starting
// a comment. The hosts play them (script_player.h) and record them
// (recorder.h); this is their format.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "hosts/shared/plain_text.h"
#include "platform/platform.h"

// The largest script a host reads: a recording of hours of play is a few MB.
constexpr size_t max_script_bytes = size_t(64) << 20;

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
// The same added to a line, allocating nothing: for a signal handler.
void add_script_line(PlainText* line, const InputRun& run);

// A decimal number of at most `max`, digits only; false for anything else.
bool parse_decimal(const std::string& text, uint64_t max, uint64_t* value);

// Parses a whole script. On a bad line (or one whose frames take the total
// past 2^64 - 1) returns false with `error` naming the line number and what
// is wrong, the file's own text shown safely.
bool parse_script(const std::string& text, std::vector<InputRun>* runs, std::string* error);
// The seed a script names on its first line, "# seed N", if it does.
bool script_seed(const std::string& text, uint32_t* seed);
// What is wrong with the script's "# seed" lines, one message a line, each
// naming its line: a seed that is no number from 0 to 4294967295, or one
// after the first line. script_seed leaves such seeds out.
std::vector<std::string> script_seed_warnings(const std::string& text);
// The edition a recording was played in, "# lang en" among the comment lines
// that open it; empty when it names none.
std::string script_language(const std::string& text);
