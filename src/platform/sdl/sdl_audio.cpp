// The audio device on SDL2_mixer: one mixer channel per sound slot, and MIDI
// music through the mixer's FluidSynth back end.
#include <SDL_mixer.h>

#include "platform/platform.h"
#include "platform/sdl/sdl_platform.h"

struct PlatformMusic {
    Mix_Music* music;
};

static bool audio_open = false;
static Mix_Chunk* clips[8] = {};

bool platform_audio_open(AudioDeviceFormat* format) {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    // 512 frames at 44.1 kHz: an effect starts within about 12 ms.
    if (Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 512) != 0) return false;
    audio_open = true;
    Mix_AllocateChannels(8);
    int frequency = 0, channels = 0;
    Uint16 sdl_format = 0;
    Mix_QuerySpec(&frequency, &sdl_format, &channels);
    *format = AudioDeviceFormat{frequency, sdl_format, channels};
    return true;
}

void platform_audio_close() {
    for (int slot = 0; slot < 8; ++slot) platform_clip_unbind(slot);
    if (audio_open) {
        Mix_CloseAudio();
        audio_open = false;
    }
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

bool platform_clip_bind(int slot, const uint8_t* samples, uint32_t byte_count) {
    if (!audio_open || slot < 0 || slot >= 8) return false;
    platform_clip_unbind(slot);
    // The chunk points at the caller's samples without copying them.
    clips[slot] = Mix_QuickLoad_RAW(const_cast<Uint8*>(samples), byte_count);
    return clips[slot] != nullptr;
}

void platform_clip_unbind(int slot) {
    if (slot < 0 || slot >= 8 || !clips[slot]) return;
    Mix_HaltChannel(slot);
    Mix_FreeChunk(clips[slot]);
    clips[slot] = nullptr;
}

void platform_clip_play(int slot) {
    if (slot < 0 || slot >= 8 || !clips[slot]) return;
    Mix_PlayChannel(slot, clips[slot], 0);
}

bool platform_music_open() { return audio_open && (Mix_Init(MIX_INIT_MID) & MIX_INIT_MID) != 0; }

void platform_music_close() {
    Mix_HaltMusic();
    Mix_Quit();
}

PlatformMusic* platform_music_load(const char* path) {
    Mix_Music* music = Mix_LoadMUS(path);
    if (!music) return nullptr;
    return new PlatformMusic{music};
}

void platform_music_play(PlatformMusic* music, int plays) {
    if (music) Mix_PlayMusic(music->music, plays);
}

void platform_music_stop() { Mix_HaltMusic(); }

void platform_music_free(PlatformMusic* music) {
    if (!music) return;
    Mix_HaltMusic();
    Mix_FreeMusic(music->music);
    delete music;
}
