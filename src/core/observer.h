// A window onto the game for runs that record it: kuzari-replay's trace, the
// tests and the benchmarks. The game reports what it asks of its sounds, music
// and sheets, the end of every frame and the pixels it draws; the real game
// sets no observer, and then each report costs one test.
#pragma once

#include <cstdint>

// Any hook may be left null.
struct GameObserver {
    void (*sheet_asked)(const char* path);  // before the load, whether or not it succeeds
    void (*effect_played)(int slot);
    void (*voice_started)(const char* path);  // a voice past its cool-down
    void (*music_asked)(const char* path, bool loop);
    void (*music_stopped)();
    void (*frame_finished)(bool presented);  // every frame that ran, presented or not
    void (*pixels_written)(uint64_t bytes);  // by sprite copies, fills and whole-sheet copies
};

extern const GameObserver* game_observer;

template <typename Hook, typename... Args>
inline void observe(Hook GameObserver::*hook, Args... args) {
    if (game_observer && game_observer->*hook) (game_observer->*hook)(args...);
}
