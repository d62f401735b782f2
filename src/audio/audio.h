// Audio: seven effects loaded once, spoken clips loaded as they are needed, and
// the background music, all through one output device.
#pragma once

#include <cstdint>

struct PlatformWindow;

// ---- Sound effects and voice ------------------------------------------------------

// The sound slots: seven effects, loaded once, and the voice channel.
enum SoundSlot : int {
    effect_confirm = 0,
    effect_cursor = 1,
    effect_hop = 2,  // also leaving the explanation and the closing screens
    effect_throw = 3,
    effect_refill = 4,
    effect_knockout = 5,
    effect_hit = 6,
    voice_slot = 7,
};

extern bool se_enabled;         // silences the effects (not the voice) while false
extern int32_t voice_cooldown;  // frames until another voice may start

bool init_sound();
void release_sound();
void play_se(int slot);
void play_voice(const char* path);
void tick_voice_cooldown();
// Effects on and no voice held back, as at start-up; the loaded clips stay.
void reset_sound_state();

// ---- Music -------------------------------------------------------------------------

bool init_music(PlatformWindow* window);
bool play_music(const char* path, bool loop);
void stop_music();
void release_music();
