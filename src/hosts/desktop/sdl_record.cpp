// --record and --playback in the real game. Playing and recording are the
// hosts' shared input feed; this file reads the script to play and writes the
// recording as the game goes.
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "core/data_file.h"
#include "core/file_read.h"
#include "core/picture_hash.h"
#include "core/shown_text.h"
#include "hosts/desktop/sdl_options.h"
#include "hosts/desktop/sdl_platform.h"
#include "hosts/shared/file_writer.h"
#include "hosts/shared/input_feed.h"

namespace {

ScriptHeader played{};  // what the played-back script names
// Set by whichever thread finishes the recording first; the main thread's
// writes stop once it is set. The main thread marks its writes before it
// looks at the claim, and the signal thread claims before it looks at the
// mark, so one of them always sees the other.
std::atomic<bool> recording_claimed{false};
std::atomic<bool> writing_runs{false};
// How long the signal thread waits for a write of the main thread's to end.
constexpr long longest_wait_ms = 1000;

// The recording is written to a file beside its target and renamed into
// place when the game ends: a recording that fails leaves nothing where it
// was asked for. Into that file the line of the run being played is rewritten
// as it grows, so that a crash loses nothing of it (the file stays beside the
// target, named so). A pipe or a terminal takes each run's line once, when
// the next run begins, and the rest at the end.
FileWriter recording;
bool recording_on = false;      // a recording is being written and nothing has failed
bool recording_failed = false;
size_t final_runs = 0;          // the runs whose lines are written for good
uint64_t open_run_offset = 0;   // where the line of the first run still open starts

void give_up_recording() {
    std::fprintf(stderr, "kuzari: cannot record to %s: %s; the game goes on unrecorded\n",
                 shown_text(recording.target).c_str(), recording.error.c_str());
    writer_abandon(&recording);
    recording_on = false;
    recording_failed = true;
}

// Writes the lines of the runs that have ended since the last call; `game_over`:
// the last run has ended too.
void write_runs(bool game_over) {
    if (!recording_on) return;
    writing_runs = true;
    if (recording_claimed && !game_over) {
        writing_runs = false;
        return;
    }
    const std::vector<InputRun>& runs = input_feed.recorder.runs;
    const size_t now_final = game_over || runs.empty() ? runs.size() : runs.size() - 1;
    std::string lines;
    for (; final_runs < now_final; ++final_runs) lines += script_line(runs[final_runs]) + "\n";
    bool written;
    if (recording.stream) {
        written = writer_write(&recording, lines) && writer_flush(&recording);
    } else {
        const std::string open_line = now_final < runs.size() ? script_line(runs.back()) + "\n" : "";
        written = writer_rewrite_tail(&recording, open_run_offset, lines + open_line);
        open_run_offset += lines.size();
    }
    writing_runs = false;
    if (!written) give_up_recording();
}

bool open_recording(const std::string& path) {
    if (writer_open(&recording, path)) {
        recording_on = true;
        return true;
    }
    std::fprintf(stderr, "kuzari: cannot record to %s: %s\n", shown_text(path).c_str(), recording.error.c_str());
    return false;
}

// Reads and parses a script to play; false, with a message, when it cannot
// be read (only a regular file of a script's size is) or parsed.
bool read_playback(const std::string& path, std::vector<InputRun>* runs, ScriptHeader* header) {
    std::string text, reason;
    if (read_whole_file(path, max_script_bytes, &text, &reason) == file_read && parse_script(text, runs, &reason) &&
        runs->empty())
        reason = text.empty() ? "the file is empty" : "it holds no frames to play";
    if (!reason.empty()) {
        std::fprintf(stderr, "kuzari: cannot play back %s: %s\n", shown_text(path).c_str(), reason.c_str());
        return false;
    }
    *header = script_header(text);
    return true;
}

bool start_playback(const std::string& path) {
    std::vector<InputRun> runs;
    if (!read_playback(path, &runs, &played)) return false;
    for (const std::string& warning : played.warnings)
        std::fprintf(stderr, "kuzari: warning: %s: %s\n", shown_text(path).c_str(), warning.c_str());
    feed_play_script(std::move(runs));
    return true;
}

}  // namespace

bool sdl_start_recording_and_playback() {
    if (!host_options.playback_path.empty() && !start_playback(host_options.playback_path)) return false;
    return host_options.record_path.empty() || open_recording(host_options.record_path);
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
    if (recording_on) {
        const std::string opening = recording_opening(seed, input_feed.recorder.english);
        if (writer_write(&recording, opening) && writer_flush(&recording)) open_run_offset = opening.size();
        else give_up_recording();
    }
    return seed;
}

void sdl_record_frame(const uint16_t* pixels, int width, int height, int pitch) {
    // The picture's hash ends a recording written to a file; the black box
    // hashes its own copy of the picture only if it is ever needed.
    feed_frame_shown(recording_on ? picture_hash(pixels, width, height, pitch) : 0);
    write_runs(false);
}

void sdl_record_escape() {
    feed_escape();
    write_runs(false);
}

namespace {

// By the thread that claimed the recording: the runs still open, the closing
// line, and the file renamed into place.
bool close_recording() {
    write_runs(true);
    const Recorder& recorder = input_feed.recorder;
    if (recording_on && writer_write(&recording, recording_closing(recorder.frames, recorder.last_picture_hash)) &&
        writer_commit(&recording))
        return true;
    if (recording_on) give_up_recording();
    return false;
}

}  // namespace

bool sdl_finish_recording() {
    if (!recording_on) return !recording_failed;
    writing_runs = true;
    if (recording_claimed.exchange(true)) {
        writing_runs = false;
        return !recording_failed;
    }
    const bool closed = close_recording();
    writing_runs = false;
    return closed;
}

void sdl_finish_recording_at_once() {
    if (!recording_on) return;
    const bool ours = !recording_claimed.exchange(true);
    // A write or a close the main thread has begun is let finish: cut off,
    // it would leave only the temporary file.
    for (long waited = 0; writing_runs && waited < longest_wait_ms; ++waited) {
        const timespec millisecond{0, 1000 * 1000};
        nanosleep(&millisecond, nullptr);
    }
    if (ours && !writing_runs) close_recording();
}

bool sdl_play_back_now(const std::string& path) {
    std::vector<InputRun> runs;
    ScriptHeader header;
    if (!read_playback(path, &runs, &header)) return false;
    if ((header.language == "en") != (game_language() == language_english)) {
        std::fprintf(stderr, "kuzari: %s was recorded in the other edition\n", shown_text(path).c_str());
        return false;
    }
    played = header;
    feed_play_script(std::move(runs));
    return true;
}

bool sdl_recording_can_restart() { return !recording_on || !recording.stream; }

void sdl_restart_recording() {
    // The game is seeded again and writes the opening anew.
    if (recording_on && !writer_rewrite_tail(&recording, 0, "")) give_up_recording();
    final_runs = 0;
    open_run_offset = 0;
}
