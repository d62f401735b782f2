// The page's test mode: a kuzari-replay script played as the headless platform
// plays it. The clock starts at 1000 ms and moves 17 ms a wait; a run's newly
// held keys and its Escape go down as messages before its first frame; the
// window closes when the script's frames are over; the seed is the script's.
#include <string>
#include <vector>

#include "hosts/shared/input_script.h"
#include "hosts/web/web_host.h"
#include "core/data_file.h"

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
    ScriptKeyDowns key_downs;
};

Script script;
std::string script_text;
std::string script_error;

const InputRun* current_run() {
    uint64_t index, start;
    return script_run_at(script.runs, script.run_starts, script.frames_run + 1, &index, &start);
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
    script.frames = script_run_starts(script.runs, &script.run_starts);
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
    uint64_t index = 0, start = 0;
    const InputRun* run = script_run_at(script.runs, script.run_starts, script.frames_run + 1, &index, &start);
    bool escape;
    if (!next_script_key_down(&script.key_downs, run, index, run && start == script.frames_run + 1, &escape))
        return false;
    *message = PlatformMessage{message_key_down, escape};
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
