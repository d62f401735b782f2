// Stand-in until the audio subsystem lands: every service starts and nothing sounds.
#include "audio/audio.h"

bool se_enabled = true;
int32_t voice_cooldown = 0;

bool init_sound() { return true; }
void release_sound() {}
void play_se(int) {}
void play_voice(const char*) {}
void tick_voice_cooldown() {
    voice_cooldown -= 1;
    if (voice_cooldown <= 0) voice_cooldown = 0;
}
bool init_music(PlatformWindow*) { return true; }
bool play_music(const char*, bool) { return true; }
void stop_music() {}
void release_music() {}
