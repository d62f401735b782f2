// --record and --playback in the real game. Playing and recording are the
// hosts' shared input feed; this file reads the script to play and writes the
// recording to its file as the game goes, the line of the run being played
// rewritten every frame, so that a crash loses nothing of it.
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

#include "core/data_file.h"
#include "core/picture_hash.h"
#include "hosts/desktop/sdl_options.h"
#include "hosts/desktop/sdl_platform.h"
#include "hosts/shared/input_feed.h"

namespace {

std::FILE* record_file = nullptr;
long run_line_start = 0;  // where the line of the first run still open starts in the file
size_t open_run = 0;      // the first run whose line may still change: only the last one can
ScriptHeader played{};    // what the played-back script names
std::atomic<bool> recording_claimed{false};  // by whichever thread finishes it

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

}  // namespace

bool sdl_start_recording_and_playback() {
    if (!host_options.playback_path.empty()) {
        std::ifstream file(host_options.playback_path, std::ios::binary);
        std::stringstream text;
        text << file.rdbuf();
        std::string error;
        std::vector<InputRun> runs;
        if (!file || !parse_script(text.str(), &runs, &error)) {
            std::fprintf(stderr, "kuzari: cannot play back %s: %s\n", host_options.playback_path.c_str(),
                         file ? error.c_str() : std::strerror(errno));
            return false;
        }
        played = script_header(text.str());
        feed_play_script(std::move(runs));
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

bool sdl_playback_language(bool* english) {
    if (!input_feed.playing) return false;
    *english = played.language == "en";
    return true;
}

uint32_t sdl_game_seed(uint32_t clock_seed) {
    // A script without a seed plays as the replay tool plays it.
    const uint32_t seed = input_feed.playing ? played.seed : clock_seed;
    // Always in memory, for the black box; in the file with --record.
    feed_record(seed, game_language() == language_english);
    if (record_file) {
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
    if (!record_file || recording_claimed.exchange(true)) return;
    write_open_runs();
    std::fseek(record_file, 0, SEEK_END);
    const Recorder& recorder = input_feed.recorder;
    std::fputs(recording_closing(recorder.frames, recorder.last_picture_hash).c_str(), record_file);
    std::fclose(record_file);
    record_file = nullptr;
}

void sdl_finish_recording_at_once() {
    // Unless the main thread is in the middle of writing it: then it stays as it is.
    std::FILE* file = record_file;
    if (!file || ftrylockfile(file) != 0) return;
    sdl_finish_recording();  // the lock is this thread's own, and the file is gone with it
}
