// Recording the real game's input as a script that kuzari-replay plays to the
// same frames, and playing a script back in the real game. A recording starts
// with the seed and the edition, and ends with the last frame's number and
// picture hash; the line of the run being played is rewritten every frame, so
// that a crash loses nothing of it.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <vector>

#include "hosts/shared/input_script.h"
#include "core/picture_hash.h"
#include "hosts/desktop/sdl_options.h"
#include "hosts/desktop/sdl_platform.h"

namespace {

uint64_t frames_shown = 0;

std::FILE* record_file = nullptr;
long run_line_start = 0;  // where the line of `recorded_run` starts in the file
InputRun recorded_run{};  // count 0 until the first frame
uint64_t last_picture_hash = 0;

bool playing_back = false;
std::vector<InputRun> script;
std::vector<uint64_t> run_starts;  // each run's first frame, 1-based
bool script_has_seed = false;
uint32_t script_seed_value = 0;
uint64_t escapes_sent = 0;  // runs whose Escape has gone to the game
bool end_sent = false;

// The run of frame `frame`, 1-based, or null after the script.
const InputRun* script_run(uint64_t frame, uint64_t* index) {
    uint64_t start;
    return script_run_at(script, run_starts, frame, index, &start);
}

void write_run_line() {
    std::fseek(record_file, run_line_start, SEEK_SET);
    std::fprintf(record_file, "%s\n", script_line(recorded_run).c_str());
    std::fflush(record_file);
}

}  // namespace

bool sdl_start_recording_and_playback() {
    if (!host_options.playback_path.empty()) {
        std::ifstream file(host_options.playback_path, std::ios::binary);
        std::stringstream text;
        text << file.rdbuf();
        std::string error;
        if (!file || !parse_script(text.str(), &script, &error)) {
            std::fprintf(stderr, "kuzari: cannot play back %s: %s\n", host_options.playback_path.c_str(),
                         file ? error.c_str() : std::strerror(errno));
            return false;
        }
        script_run_starts(script, &run_starts);
        script_has_seed = script_seed(text.str(), &script_seed_value);
        playing_back = true;
    }
    if (!host_options.record_path.empty()) {
        record_file = std::fopen(host_options.record_path.c_str(), "w");
        if (!record_file) {
            std::fprintf(stderr, "kuzari: cannot record to %s: %s\n", host_options.record_path.c_str(),
                         std::strerror(errno));
            return false;
        }
    }
    return true;
}

uint32_t sdl_game_seed(uint32_t clock_seed) {
    const uint32_t seed = playing_back && script_has_seed ? script_seed_value : clock_seed;
    if (record_file) {
        std::fputs(recording_opening(seed, play_in_english()).c_str(), record_file);
        std::fflush(record_file);
        run_line_start = std::ftell(record_file);
    }
    return seed;
}

bool sdl_playback_input(KeyboardState* keys, JoystickState* joystick) {
    if (!playing_back) return false;
    uint64_t index = 0;
    const InputRun* run = script_run(frames_shown + 1, &index);
    if (keys) *keys = run ? run->keys : KeyboardState{};
    if (joystick) *joystick = run ? run->joystick : JoystickState{0x8000, 0x8000, 0};
    return true;
}

bool sdl_playback_message(PlatformMessage* message) {
    if (!playing_back) return false;
    uint64_t index = 0;
    const InputRun* run = script_run(frames_shown + 1, &index);
    if (!run) {
        if (end_sent) return false;
        end_sent = true;  // the script is over: the game closes, as kuzari-replay's does
        *message = PlatformMessage{message_close, false};
        return true;
    }
    if (run->escape && run_starts[index] == frames_shown + 1 && escapes_sent <= index) {
        escapes_sent = index + 1;
        *message = PlatformMessage{message_key_down, true};
        return true;
    }
    return false;
}

void sdl_record_picture(const uint16_t* pixels, int width, int height, int pitch) {
    if (record_file) last_picture_hash = picture_hash(pixels, width, height, pitch);
}

void sdl_record_frame(const KeyboardState& keys, const JoystickState& joystick) {
    ++frames_shown;
    if (!record_file) return;
    const InputRun frame = frame_input(keys, joystick);
    if (recorded_run.count > 0 && same_input(frame, recorded_run)) {
        ++recorded_run.count;
    } else {
        if (recorded_run.count > 0) run_line_start = std::ftell(record_file);
        recorded_run = frame;
    }
    write_run_line();
}

void sdl_record_escape() {
    if (!record_file) return;
    if (recorded_run.count > 0) run_line_start = std::ftell(record_file);
    recorded_run = InputRun{1, KeyboardState{}, JoystickState{0x8000, 0x8000, 0}, true};
    write_run_line();
}

void sdl_finish_recording() {
    if (!record_file) return;
    std::fseek(record_file, 0, SEEK_END);
    std::fputs(recording_closing(frames_shown, last_picture_hash).c_str(), record_file);
    std::fclose(record_file);
    record_file = nullptr;
}
