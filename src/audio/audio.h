// Audio: seven sound-effect slots and the voice channel on the one output
// device, and the MIDI music played on that same device.
#pragma once

#include <cstdint>

struct PlatformWindow;

// ---- Sound effects and voice ------------------------------------------------------

constexpr int sound_slot_count = 8;  // slots 0..6 effects, slot 7 the voice
constexpr int voice_slot = 7;

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
