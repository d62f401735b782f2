// A window onto the game for runs that record it: kuzari-replay's trace, the
// tests and the benchmarks. The game reports what it asks of its sounds, music
// and sheets, the end of every frame and the pixels it draws; the real game
// sets none but its captions' listener, and with none each report costs one
// test. Every observer added is told, in the order they were added.
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

constexpr int most_game_observers = 4;
extern const GameObserver* game_observers[most_game_observers];  // null past the last

// Adds a listener (again: nothing); false when there is no room for it.
bool add_game_observer(const GameObserver* observer);
void remove_game_observer(const GameObserver* observer);
void clear_game_observers();

template <typename Hook, typename... Args>
inline void observe(Hook GameObserver::*hook, Args... args) {
    for (const GameObserver* observer : game_observers) {
        if (!observer) return;
        if (observer->*hook) (observer->*hook)(args...);
    }
}
