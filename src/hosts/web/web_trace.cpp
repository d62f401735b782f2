// What the page's tests read back: each frame's picture hash (the trace's
// "fb"), and in live play a recording of the input as a kuzari-replay script,
// which plays to the same pictures.
#include <string>
#include <vector>

#include "graphics/graphics.h"
#include "hosts/shared/input_script.h"
#include "hosts/web/web_host.h"
#include "core/observer.h"
#include "core/data_file.h"

namespace {

uint32_t seed = 0;
std::vector<InputRun> recorded;
uint64_t frames_shown = 0;
uint64_t last_hash = 0;
std::string recording;

void report_frame(bool presented) {
    last_hash = back_buffer_hash();
    host_frame_finished(presented ? 1 : 0, uint32_t(last_hash >> 32), uint32_t(last_hash));
}

void record(const InputRun& run) {
    if (!recorded.empty() && !recorded.back().escape && !run.escape && same_input(recorded.back(), run))
        ++recorded.back().count;
    else
        recorded.push_back(run);
}

const GameObserver trace_observer = {
    nullptr, nullptr, nullptr, nullptr, nullptr,
    [](bool presented) {
        ++frames_shown;
        if (web_script_running()) {
            web_script_frame_ran();
        } else {
            KeyboardState keys;
            JoystickState joystick;
            web_input_read(&keys, &joystick);
            record(frame_input(keys, joystick));
        }
        report_frame(presented);
    },
    nullptr,
};

}  // namespace

void web_trace_frames() { game_observer = &trace_observer; }

WEB_EXPORT("web_trace") void web_trace() { web_trace_frames(); }

// The picture before the first frame, reported as frame 0.
WEB_EXPORT("web_report_frame0") void web_report_frame0() { report_frame(false); }

void web_record_seed(uint32_t value) { seed = value; }

void web_record_escape() {
    if (game_observer == &trace_observer && !web_script_running())
        recorded.push_back(InputRun{1, KeyboardState{}, JoystickState{0x8000, 0x8000, 0}, true});
}

// The recording so far, as the desktop's --record writes it.
WEB_EXPORT("web_recording") const char* web_recording() {
    recording = recording_opening(seed, game_language() == language_english);
    for (const InputRun& run : recorded) recording += script_line(run) + "\n";
    recording += recording_closing(frames_shown, last_hash);
    return recording.c_str();
}
