// The page's test mode: a kuzari-replay script played as the headless platform
// plays it. The clock starts at 1000 ms and moves 17 ms a wait; a run's newly
// held keys and its Escape go down as messages before its first frame; the
// window closes when the script's frames are over; the seed is the script's.
#include <algorithm>
#include <string>
#include <vector>

#include "platform/input_script.h"
#include "platform/web/web_host.h"
#include "shell/shell.h"

namespace {

struct Script {
    bool running = false;
    std::vector<InputRun> runs;
    std::vector<uint64_t> run_starts;  // the first frame of each run, 1-based
    uint64_t frames = 0;
    uint32_t seed = 1;
    uint32_t clock_ms = 1000;
    uint64_t frames_run = 0;
    bool stop_requested = false;
    size_t key_downs_queued_for = SIZE_MAX;
    KeyboardState keys_queued_for{};
    std::vector<bool> key_downs;  // each true for Escape
};

Script script;
std::string script_text;
std::string script_error;

// The run holding frame `frame` (1-based), or null after the script.
const InputRun* run_for_frame(uint64_t frame, size_t* index, uint64_t* start) {
    if (frame < 1 || frame > script.frames) return nullptr;
    const auto after = std::upper_bound(script.run_starts.begin(), script.run_starts.end(), frame);
    *index = size_t(after - script.run_starts.begin()) - 1;
    *start = script.run_starts[*index];
    return &script.runs[*index];
}

const InputRun* current_run() {
    size_t index;
    uint64_t start;
    return run_for_frame(script.frames_run + 1, &index, &start);
}

// A key-down for each key held now but not in the run before, then Escape's.
void queue_key_downs(const InputRun& now) {
    append_key_downs(script.keys_queued_for, now, &script.key_downs);
    script.keys_queued_for = now.keys;
}

}  // namespace

// Room for a script of `size` bytes, which the page writes there.
WEB_EXPORT("web_script_buffer") char* web_script_buffer(uint32_t size) {
    script_text.assign(size, '\0');
    return script_text.data();
}

// Reads the script written into the buffer and puts the game in test mode:
// 1 when it is good, 0 with the reason in web_script_error.
WEB_EXPORT("web_use_script") int web_use_script() {
    script = Script{};
    script_error.clear();
    if (!parse_script(script_text, &script.runs, &script_error)) return 0;
    for (const InputRun& run : script.runs) {
        script.run_starts.push_back(script.frames + 1);
        script.frames += run.count;
    }
    script_seed(script_text, &script.seed);
    if (script_language(script_text) == "en") set_game_language(language_english);
    script.running = true;
    web_trace_frames();
    return 1;
}

WEB_EXPORT("web_script_error") const char* web_script_error() { return script_error.c_str(); }

bool web_script_running() { return script.running; }

void web_script_frame_ran() { ++script.frames_run; }

bool web_script_message(PlatformMessage* message) {
    if (script.frames_run >= script.frames) {
        if (script.stop_requested) return false;
        script.stop_requested = true;
        *message = PlatformMessage{message_close, false};
        return true;
    }
    size_t index;
    uint64_t start;
    const InputRun* run = run_for_frame(script.frames_run + 1, &index, &start);
    if (run && start == script.frames_run + 1 && script.key_downs_queued_for != index) {
        script.key_downs_queued_for = index;
        queue_key_downs(*run);
    }
    if (script.key_downs.empty()) return false;
    *message = PlatformMessage{message_key_down, script.key_downs.front()};
    script.key_downs.erase(script.key_downs.begin());
    return true;
}

void web_script_keyboard(KeyboardState* keys) {
    const InputRun* run = current_run();
    *keys = run ? run->keys : KeyboardState{};
}

void web_script_joystick(JoystickState* joystick) {
    const InputRun* run = current_run();
    *joystick = run ? run->joystick : JoystickState{0x8000, 0x8000, 0};
}

void web_script_waited() { script.clock_ms += 17; }
uint32_t web_script_clock() { return script.clock_ms; }
uint32_t web_script_seed() { return script.seed; }
