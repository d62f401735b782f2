// Recording the input a game was given as a script that the replay tool plays
// to the same frames: the seed and the edition first, then a line for each run
// of frames with the same input, and last the frame count and the last
// picture's hash. The desktop's --record and the page's recording both use it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "hosts/shared/input_script.h"
#include "platform/platform.h"

struct Recorder {
    uint32_t seed = 0;
    bool english = false;
    std::vector<InputRun> runs;
    uint64_t frames = 0;
    uint64_t last_picture_hash = 0;
};

// The recording's opening lines, its seed and edition, and its closing line,
// the last frame's number and picture hash; each ends with a line break.
std::string recording_opening(uint32_t seed, bool english);
std::string recording_closing(uint64_t frames, uint64_t picture_hash);

// A frame ran with this input and showed a picture with this hash. True when
// it began a new run (a new line); false when it lengthened the last one.
bool record_frame(Recorder* recorder, const KeyboardState& keys, const JoystickState& joystick,
                  uint64_t picture_hash);
// Escape went down: a run of its own, before the frame it ends.
void record_escape(Recorder* recorder);

// The whole recording so far, closing line and all.
std::string recording_text(const Recorder& recorder);
