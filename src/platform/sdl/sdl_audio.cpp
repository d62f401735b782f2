// The audio device on SDL2_mixer: one mixer channel per sound slot. The
// music (sdl_music.cpp) is mixed in through the mixer's music hook.
#include <SDL.h>
#include <SDL_mixer.h>

#include "platform/platform.h"

namespace {

constexpr int slot_count = 8;

// 512 sample frames at 44.1 kHz is 11.6 ms of sound: an effect asked for in a
// frame is mixed into the next buffer, so it starts within about two buffers.
constexpr int device_rate = 44100;
constexpr int device_buffer_frames = 512;

bool audio_open = false;
Mix_Chunk* clips[slot_count] = {};

}  // namespace

bool platform_audio_open(AudioDeviceFormat* format) {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    if (Mix_OpenAudio(device_rate, AUDIO_S16SYS, 2, device_buffer_frames) != 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    audio_open = true;
    Mix_AllocateChannels(slot_count);
    int frequency = 0, channels = 0;
    Uint16 sdl_format = 0;
    Mix_QuerySpec(&frequency, &sdl_format, &channels);
    *format = AudioDeviceFormat{frequency, sdl_format, channels};
    return true;
}

void platform_audio_close() {
    if (!audio_open) return;
    for (int slot = 0; slot < slot_count; ++slot) platform_clip_unbind(slot);
    Mix_CloseAudio();
    audio_open = false;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

bool platform_clip_bind(int slot, const uint8_t* samples, uint32_t byte_count) {
    if (!audio_open || slot < 0 || slot >= slot_count) return false;
    platform_clip_unbind(slot);
    // The chunk points at the caller's samples without copying them.
    clips[slot] = Mix_QuickLoad_RAW(const_cast<Uint8*>(samples), byte_count);
    return clips[slot] != nullptr;
}

void platform_clip_unbind(int slot) {
    if (slot < 0 || slot >= slot_count || !clips[slot]) return;
    Mix_HaltChannel(slot);
    Mix_FreeChunk(clips[slot]);
    clips[slot] = nullptr;
}

void platform_clip_play(int slot) {
    if (slot < 0 || slot >= slot_count || !clips[slot]) return;
    // On a named channel this cuts off what it plays and starts from the first sample.
    Mix_PlayChannel(slot, clips[slot], 0);
}
