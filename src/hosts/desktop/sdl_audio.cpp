// The audio device on SDL2_mixer: one mixer channel per sound slot. The
// music (sdl_music.cpp) is mixed in through the mixer's music hook. With
// --nosound no device is opened: every call behaves as on a device that
// plays nothing. The player's volumes and the mute key apply here.
#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "audio/audio.h"
#include "core/texts.h"
#include "platform/platform.h"
#include "hosts/desktop/sdl_options.h"
#include "hosts/shared/captions.h"
#include "hosts/desktop/sdl_event_log.h"
#include "hosts/desktop/sdl_quiet_alsa.h"
#include "hosts/desktop/sdl_platform.h"

namespace {

// 512 sample frames at 44.1 kHz is 11.6 ms of sound: an effect asked for in a
// frame is mixed into the next buffer, so it starts within about two buffers.
constexpr int device_rate = 44100;
constexpr int device_buffer_frames = 512;

// A converted clip may grow this large while it is converted; a larger one is
// refused (a clip of ours is a few hundred kilobytes).
constexpr uint64_t max_converted_bytes = uint64_t(64) << 20;

bool audio_open = false;
bool silent = false;  // --nosound: open, but no device behind it
int device_frequency = 0;
Uint16 device_format = 0;
int device_channels = 0;
Mix_Chunk* clips[sound_slot_count] = {};
bool silent_clips[sound_slot_count] = {};       // bound while there is no device
std::vector<uint8_t> clip_samples[sound_slot_count];  // each chunk plays from here

uint32_t voice_clip_ms = 0;  // how long the voice's clip plays, for its caption

bool slot_in_range(int slot) { return slot >= 0 && slot < sound_slot_count; }

void apply_volumes() {
    const float all = host_options.mute || sdl_viewer_hushed() ? 0.0f : float(host_options.volume) / 100.0f;
    Mix_Volume(-1, int(float(MIX_MAX_VOLUME) * all * float(host_options.effects_volume) / 100.0f + 0.5f));
    sdl_music_set_volume(all * float(host_options.music_volume) / 100.0f);
}

}  // namespace

bool platform_audio_open() {
    if (!host_options.sound) {
        audio_open = silent = true;
        return true;
    }
    sdl_quiet_alsa();
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0 ||
        Mix_OpenAudio(device_rate, AUDIO_S16SYS, 2, device_buffer_frames) != 0) {
        std::fprintf(stderr, "kuzari: the sound device could not be opened: %s\n"
                             "kuzari: 'kuzari --nosound' plays without sound\n", SDL_GetError());
        // Only the device's failure is the player's to get round so: an
        // effect file that cannot be read fails the same start, without it.
        add_text_hint(text_sound_failed, "音を出さずに遊ぶには --nosound を付けて起動してください。",
                      "Start the game with --nosound to play without sound.");
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    audio_open = true;
    Mix_AllocateChannels(sound_slot_count);
    Mix_QuerySpec(&device_frequency, &device_format, &device_channels);
    apply_volumes();
    sdl_profile_step("sound device");
    return true;
}

void platform_audio_close() {
    if (!audio_open) return;
    for (int slot = 0; slot < sound_slot_count; ++slot) platform_clip_unbind(slot);
    audio_open = false;
    if (silent) {
        silent = false;
        return;
    }
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

bool sdl_playing_silently() { return silent; }

// Converts the clip to the device's format with SDL's converter, into samples
// of our own that the slot's chunk plays without copying them.
bool platform_clip_bind(int slot, const uint8_t* samples, uint32_t byte_count, const ClipFormat& format) {
    if (!audio_open || !slot_in_range(slot)) return false;
    platform_clip_unbind(slot);
    if (silent) {
        silent_clips[slot] = true;
        if (slot == voice_slot) voice_clip_ms = clip_milliseconds(byte_count, format);
        return true;
    }
    SDL_AudioCVT converter;
    const SDL_AudioFormat source = format.bits_per_sample == 8 ? AUDIO_U8 : AUDIO_S16LSB;
    if (SDL_BuildAudioCVT(&converter, source, uint8_t(format.channels), int(format.rate), device_format,
                          uint8_t(device_channels), device_frequency) < 0)
        return false;
    // The converter works in place and may need room beyond the clip's own length.
    const uint64_t work_bytes = uint64_t(byte_count) * uint64_t(converter.len_mult);
    if (work_bytes > max_converted_bytes) return false;
    std::vector<uint8_t> converted(static_cast<size_t>(work_bytes));
    std::copy(samples, samples + byte_count, converted.begin());
    converter.buf = converted.data();
    converter.len = int(byte_count);
    if (SDL_ConvertAudio(&converter) != 0) return false;
    converted.resize(size_t(converter.len_cvt));
    clips[slot] = Mix_QuickLoad_RAW(converted.data(), uint32_t(converted.size()));
    if (!clips[slot]) return false;
    clip_samples[slot].swap(converted);
    if (slot == voice_slot) voice_clip_ms = clip_milliseconds(byte_count, format);
    return true;
}

void platform_clip_unbind(int slot) {
    if (!slot_in_range(slot)) return;
    silent_clips[slot] = false;
    if (!clips[slot]) return;
    Mix_HaltChannel(slot);
    Mix_FreeChunk(clips[slot]);
    clips[slot] = nullptr;
    clip_samples[slot] = std::vector<uint8_t>();
}

const uint8_t* sdl_clip_samples(int slot, uint32_t* byte_count) {
    const bool bound = slot_in_range(slot) && clips[slot];
    *byte_count = bound ? clips[slot]->alen : 0;
    return bound ? clips[slot]->abuf : nullptr;
}

void platform_clip_play(int slot) {
    // A voice's caption shows for as long as its clip plays, sound or none.
    if (slot == voice_slot && (clips[slot] || silent_clips[slot])) {
        sdl_caption_voice_played(voice_clip_ms);
        sdl_event_log_voice(voice_clip_ms);
    }
    if (!slot_in_range(slot) || !clips[slot]) return;
    // On a named channel this cuts off what it plays and starts from the first sample.
    Mix_PlayChannel(slot, clips[slot], 0);
}

void sdl_audio_pause(bool paused) {
    if (!audio_open || silent) return;
    if (paused) Mix_Pause(-1);
    else Mix_Resume(-1);
    sdl_music_pause(paused);
}

void sdl_switch_mute() {
    host_options.mute = !host_options.mute;
    sdl_apply_volumes();
    std::fprintf(stderr, "kuzari: sound %s\n", host_options.mute ? "off (M turns it on)" : "on");
}

void sdl_apply_volumes() {
    if (audio_open && !silent) apply_volumes();
}
