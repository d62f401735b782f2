#include "hosts/shared/recorder.h"

#include <cstdio>

std::string recording_opening(uint32_t seed, bool english) {
    return "# seed " + std::to_string(seed) + "\n# lang " + (english ? "en" : "ja") + "\n";
}

std::string recording_closing(uint64_t frames, uint64_t picture_hash) {
    char line[64];
    std::snprintf(line, sizeof line, "# frame %llu fb %016llx\n", static_cast<unsigned long long>(frames),
                  static_cast<unsigned long long>(picture_hash));
    return line;
}

bool record_frame(Recorder* recorder, const KeyboardState& keys, const JoystickState& joystick,
                  uint64_t picture_hash) {
    ++recorder->frames;
    recorder->last_picture_hash = picture_hash;
    const InputRun frame = frame_input(keys, joystick);
    // An Escape starts a run of its own: two in a row are two Escapes.
    if (!recorder->runs.empty() && !recorder->runs.back().escape && same_input(recorder->runs.back(), frame)) {
        ++recorder->runs.back().count;
        return false;
    }
    recorder->runs.push_back(frame);
    return true;
}

void record_escape(Recorder* recorder) {
    recorder->runs.push_back(InputRun{1, KeyboardState{}, joystick_at_rest, true});
}

std::string recording_text(const Recorder& recorder) {
    std::string text = recording_opening(recorder.seed, recorder.english);
    for (const InputRun& run : recorder.runs) text += script_line(run) + "\n";
    return text + recording_closing(recorder.frames, recorder.last_picture_hash);
}
