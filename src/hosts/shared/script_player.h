// Playing an input script as a host's input: which run holds the frame about
// to run, the key-downs a scripted keyboard sends as a run begins, and the
// window's close once the script is over. The headless host, the desktop's
// --playback and the page's test mode all play scripts through this.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "hosts/shared/input_script.h"
#include "platform/platform.h"

struct ScriptPlayer {
    std::vector<InputRun> runs;
    std::vector<uint64_t> run_starts;  // the first frame of each run, 1-based
    uint64_t frames = 0;               // all the runs' frames
    uint64_t frames_run = 0;
    bool close_sent = false;
    // The key-downs of the run whose key-downs were queued last.
    uint64_t queued_for = UINT64_MAX;
    KeyboardState keys_before{};
    std::vector<bool> pending;  // each true for Escape
};

// A player at the script's start.
ScriptPlayer script_player(std::vector<InputRun> runs);

// The run holding frame `frame` (1-based), with its index and first frame;
// null outside the script.
const InputRun* script_run_at(const ScriptPlayer& player, uint64_t frame, uint64_t* index, uint64_t* start);
// The input of the frame about to run: the script's, or nothing held after it.
KeyboardState script_keyboard(const ScriptPlayer& player);
JoystickState script_joystick(const ScriptPlayer& player);

// The next key-down due before the frame the run `run` (number `index`) is
// at; a run that begins there has its key-downs queued first, once: one for
// each key newly held, then Escape's if the run has one.
bool next_script_key_down(ScriptPlayer* player, const InputRun* run, uint64_t index, bool run_begins, bool* escape);

// The window's next message from the script: a key-down due before the frame
// about to run, or the close once its frames are over. False when none.
bool script_message(ScriptPlayer* player, PlatformMessage* message);
// The close, once: the input is over.
bool script_close(ScriptPlayer* player, PlatformMessage* message);

void script_frame_ran(ScriptPlayer* player);

// What a script's opening comment lines name: the seed (1 when none, as the
// replay tool plays it) and the edition ("en", "ja", or empty when none).
struct ScriptHeader {
    uint32_t seed = 1;
    bool seed_named = false;
    std::string language;
    std::vector<std::string> warnings;  // seed lines left out (script_seed_warnings)
};
ScriptHeader script_header(const std::string& text);
