// Background music, one piece at a time, read from disk on every change (no
// cache). If a piece ever fails to load, the game stays silent from then on.
#include "audio/audio.h"
#include "audio/audio_internal.h"
#include "audio/midi_check.h"
#include "core/observer.h"
#include "core/data_file.h"

bool music_performance = false;
PlatformMusic* music_segment = nullptr;

namespace {

// Our pieces are a few kilobytes; nothing near this is a piece of ours.
constexpr size_t max_midi_file_bytes = size_t(4) << 20;

// A looping piece is played again this many times after its first play,
// then falls silent.
constexpr int loop_repeats = 100;

// Stops everything at once and frees the loaded piece.
void halt_music() {
    if (music_performance) platform_music_stop();
    if (music_segment) {
        platform_music_free(music_segment);
        music_segment = nullptr;
    }
}

}  // namespace

bool init_music(PlatformWindow*) {
    music_performance = platform_music_open();
    return music_performance;
}

PlatformMusic* load_music_segment(const char* path) {
    if (!music_performance) return nullptr;
    std::vector<uint8_t> bytes;
    if (!read_data_file(path, max_midi_file_bytes, &bytes)) return nullptr;
    if (!midi_file_is_well_formed(bytes.data(), bytes.size())) return nullptr;
    return platform_music_load(bytes.data(), bytes.size());
}

bool play_music(const char* path, bool loop) {
    observe(&GameObserver::music_asked, path, loop);
    halt_music();
    music_segment = load_music_segment(path);
    if (!music_segment) {
        if (music_performance) {
            platform_music_close();
            music_performance = false;
        }
        return false;
    }
    const int plays = loop ? 1 + loop_repeats : 1;
    if (music_performance) platform_music_play(music_segment, plays);
    return true;
}

void stop_music() {
    observe(&GameObserver::music_stopped);
    halt_music();
}

void release_music() {
    halt_music();
    if (music_performance) {
        platform_music_close();
        music_performance = false;
    }
}
