// --record and --playback in the real game. Playing and recording are the
// hosts' shared input feed; this file reads the script to play and writes the
// recording to its file as the game goes, the line of the run being played
// rewritten every frame, so that a crash loses nothing of it.
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "core/data_file.h"
#include "core/file_read.h"
#include "core/picture_hash.h"
#include "hosts/desktop/sdl_options.h"
#include "hosts/desktop/sdl_platform.h"
#include "hosts/shared/input_feed.h"

namespace {

std::FILE* record_file = nullptr;
long run_line_start = 0;  // where the line of the first run still open starts in the file
size_t open_run = 0;      // the first run whose line may still change: only the last one can
ScriptHeader played{};    // what the played-back script names

// Writes the lines from the first open run on, over what they were.
void write_open_runs() {
    const std::vector<InputRun>& runs = input_feed.recorder.runs;
    if (!record_file || runs.empty()) return;
    std::fseek(record_file, run_line_start, SEEK_SET);
    for (size_t run = open_run; run < runs.size(); ++run) {
        run_line_start = std::ftell(record_file);
        std::fprintf(record_file, "%s\n", script_line(runs[run]).c_str());
    }
    open_run = runs.size() - 1;
    std::fflush(record_file);
}

// Reads and parses the script to play; false, with a message, when it cannot
// be read (only a regular file of a script's size is) or parsed.
bool start_playback(const std::string& path) {
    std::string text, reason;
    std::vector<InputRun> runs;
    if (read_whole_file(path, max_script_bytes, &text, &reason) != file_read || !parse_script(text, &runs, &reason)) {
        std::fprintf(stderr, "kuzari: cannot play back %s: %s\n", path.c_str(), reason.c_str());
        return false;
    }
    played = script_header(text);
    for (const std::string& warning : played.warnings)
        std::fprintf(stderr, "kuzari: warning: %s: %s\n", path.c_str(), warning.c_str());
    feed_play_script(std::move(runs));
    return true;
}

}  // namespace

bool sdl_start_recording_and_playback() {
    if (!host_options.playback_path.empty() && !start_playback(host_options.playback_path)) return false;
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

bool sdl_playback_language(bool* english) {
    if (!input_feed.playing) return false;
    *english = played.language == "en";
    return true;
}

uint32_t sdl_game_seed(uint32_t clock_seed) {
    // A script without a seed plays as the replay tool plays it.
    const uint32_t seed = input_feed.playing ? played.seed : clock_seed;
    if (record_file) {
        feed_record(seed, game_language() == language_english);
        std::fputs(recording_opening(seed, input_feed.recorder.english).c_str(), record_file);
        std::fflush(record_file);
        run_line_start = std::ftell(record_file);
    }
    return seed;
}

void sdl_record_frame(const uint16_t* pixels, int width, int height, int pitch) {
    feed_frame_shown(record_file ? picture_hash(pixels, width, height, pitch) : 0);
    write_open_runs();
}

void sdl_record_escape() {
    feed_escape();
    write_open_runs();
}

void sdl_finish_recording() {
    if (!record_file) return;
    write_open_runs();
    std::fseek(record_file, 0, SEEK_END);
    const Recorder& recorder = input_feed.recorder;
    std::fputs(recording_closing(recorder.frames, recorder.last_picture_hash).c_str(), record_file);
    std::fclose(record_file);
    record_file = nullptr;
}
