// Audio: seven effects loaded once, spoken clips loaded as they are needed, and
// the background music, all through one output device.
#pragma once

#include <cstdint>

struct PlatformWindow;

// ---- Sound effects and voice ------------------------------------------------------

extern bool se_enabled;         // silences the effects (not the voice) while false
extern int32_t voice_cooldown;  // frames until another voice may start

bool init_sound();
void release_sound();
void play_se(int slot);
void play_voice(const char* path);
void tick_voice_cooldown();

// ---- Music -------------------------------------------------------------------------

bool init_music(PlatformWindow* window);
bool play_music(const char* path, bool loop);
void stop_music();
void release_music();
