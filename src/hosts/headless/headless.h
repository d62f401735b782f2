// Control of the headless host: the input script, the simulated clock,
// and what a run records. Used by kuzari-replay and the tests.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "hosts/shared/input_script.h"
#include "hosts/shared/simulated_clock.h"
#include "platform/platform.h"

struct HeadlessEvent {
    enum Kind { se, voice, music, stop_music, sheet, box } kind;
    std::string text;     // path, or the box's text
    std::string caption;  // the box's caption
    int number;           // slot, or the music's loop flag
};

struct HeadlessConfig {
    uint32_t seed = 1;                 // what the calendar clock reads when the window is created
    uint32_t clock_start_ms = simulated_clock_start_ms;  // the millisecond clock at start-up
    std::vector<InputRun> script;
    int64_t frame_limit = -1;          // frames to run; -1: as many as the script lists
    bool display_fails = false;
    bool audio_fails = false;
    bool music_fails = false;
    uint32_t largest_clip_bytes = UINT32_MAX;  // a larger clip is refused, as a host refuses one it cannot convert
    // Called with frame 0 just before the message loop starts (or when the
    // program ends without reaching it), then after every frame that ran.
    std::function<void(uint64_t frame, bool presented)> on_frame;
    // When set, supplies the input of each frame (1-based, asked once per
    // frame, after the frame before it has run) in place of the script; a run
    // with a count of 0 ends the input as the end of a script does. Lets a
    // program choose each frame's input from the game's state.
    std::function<InputRun(uint64_t frame)> input_source;
};

// Starts a new run: everything the last one recorded is forgotten, and the
// game's observer records into this platform.
void headless_configure(const HeadlessConfig& config);
// Reports frame 0 if the program ended before its message loop.
void headless_finish();
// The events recorded since the last call, in order.
std::vector<HeadlessEvent> headless_take_events();
// The platform services released, in order ("music", "display", "audio", ...).
const std::vector<std::string>& headless_release_log();
uint64_t headless_frames_run();
// Key-down messages handed to the game's window so far.
uint64_t headless_key_downs_sent();
// Sets the simulated millisecond clock.
void headless_set_clock(uint32_t ms);

bool headless_clip_bound(int slot);
bool headless_music_loaded();
// The samples bound to a slot and their format, as the game handed them over.
const std::vector<uint8_t>& headless_clip_samples(int slot);
ClipFormat headless_clip_format(int slot);
// How many times a slot's clip has been started.
uint64_t headless_clip_plays(int slot);
// The plays asked for the piece now playing; 0 when none plays.
int headless_music_plays();
