// The audio device on SDL2_mixer: one mixer channel per sound slot, and MIDI
// music through the mixer's FluidSynth back end with a General MIDI soundfont.
#include <SDL_mixer.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "platform/platform.h"
#include "platform/sdl/sdl_platform.h"

struct PlatformMusic {
    std::vector<uint8_t> bytes;  // the mixer reads the piece from here while it plays
    Mix_Music* music;
};

namespace {

// 512 sample frames at 44.1 kHz is 11.6 ms of sound: an effect asked for in a
// frame is mixed into the next buffer, so it starts within about two buffers.
constexpr int device_rate = 44100;
constexpr int device_buffer_frames = 512;

// Debian's small General MIDI soundfont first: FluidSynth loads the soundfont
// for every piece, and a big one would stall the frame that starts the music.
const char* const soundfont_candidates[] = {
    "/usr/share/sounds/sf2/TimGM6mb.sf2",
    "/usr/share/sounds/sf3/default-GM.sf3",
    "/usr/share/sounds/sf2/default-GM.sf2",
    "/usr/share/sounds/sf2/FluidR3_GM.sf2",
};

// A converted clip may grow this large while it is converted; a larger one is
// refused (a clip of ours is a few hundred kilobytes).
constexpr uint64_t max_converted_bytes = uint64_t(64) << 20;

bool audio_open = false;
bool midi_open = false;
int device_frequency = 0;
Uint16 device_format = 0;
int device_channels = 0;
Mix_Chunk* clips[sound_slot_count] = {};
std::vector<uint8_t> clip_samples[sound_slot_count];  // each chunk plays from here

bool file_exists(const char* path) {
    struct stat info;
    return stat(path, &info) == 0 && S_ISREG(info.st_mode);
}

// The mixer applies its own built-in soundfont path when the device opens and
// ignores SDL_SOUNDFONTS then; naming the soundfont before opening wins. A
// player's own SDL_SOUNDFONTS is honoured; otherwise the first one installed.
void choose_soundfont() {
    const char* chosen = std::getenv("SDL_SOUNDFONTS");
    if (!chosen || !*chosen) {
        chosen = nullptr;
        for (const char* candidate : soundfont_candidates)
            if (file_exists(candidate)) {
                chosen = candidate;
                break;
            }
    }
    if (chosen) Mix_SetSoundFonts(chosen);
}

}  // namespace

bool platform_audio_open() {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    choose_soundfont();
    if (Mix_OpenAudio(device_rate, AUDIO_S16SYS, 2, device_buffer_frames) != 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    audio_open = true;
    Mix_AllocateChannels(sound_slot_count);
    Mix_QuerySpec(&device_frequency, &device_format, &device_channels);
    return true;
}

void platform_audio_close() {
    if (!audio_open) return;
    for (int slot = 0; slot < sound_slot_count; ++slot) platform_clip_unbind(slot);
    Mix_CloseAudio();
    audio_open = false;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

// Converts the clip to the device's format with SDL's converter, into samples
// of our own that the slot's chunk plays without copying them.
bool platform_clip_bind(int slot, const uint8_t* samples, uint32_t byte_count, const ClipFormat& format) {
    if (!audio_open || slot < 0 || slot >= sound_slot_count) return false;
    platform_clip_unbind(slot);
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
    return true;
}

void platform_clip_unbind(int slot) {
    if (slot < 0 || slot >= sound_slot_count || !clips[slot]) return;
    Mix_HaltChannel(slot);
    Mix_FreeChunk(clips[slot]);
    clips[slot] = nullptr;
    clip_samples[slot] = std::vector<uint8_t>();
}

const uint8_t* sdl_clip_samples(int slot, uint32_t* byte_count) {
    const bool bound = slot >= 0 && slot < sound_slot_count && clips[slot];
    *byte_count = bound ? clips[slot]->alen : 0;
    return bound ? clips[slot]->abuf : nullptr;
}

void sdl_audio_pause(bool paused) {
    if (!audio_open) return;
    if (paused) {
        Mix_Pause(-1);
        Mix_PauseMusic();
    } else {
        Mix_Resume(-1);
        Mix_ResumeMusic();
    }
}

void platform_clip_play(int slot) {
    if (slot < 0 || slot >= sound_slot_count || !clips[slot]) return;
    // On a named channel this cuts off what it plays and starts from the first sample.
    Mix_PlayChannel(slot, clips[slot], 0);
}

// Succeeding here only says a MIDI back end exists; whether a piece can be
// played shows when it is loaded.
bool platform_music_open() {
    if (!audio_open) return false;
    midi_open = (Mix_Init(MIX_INIT_MID) & MIX_INIT_MID) != 0;
    return midi_open;
}

void platform_music_close() {
    if (!midi_open) return;
    Mix_HaltMusic();
    Mix_Quit();
    midi_open = false;
}

PlatformMusic* platform_music_load(const uint8_t* bytes, size_t size) {
    if (!midi_open) return nullptr;
    auto* piece = new PlatformMusic{std::vector<uint8_t>(bytes, bytes + size), nullptr};
    SDL_RWops* source = SDL_RWFromConstMem(piece->bytes.data(), int(piece->bytes.size()));
    piece->music = source ? Mix_LoadMUSType_RW(source, MUS_MID, SDL_TRUE) : nullptr;
    if (!piece->music) {
        delete piece;
        return nullptr;
    }
    return piece;
}

void platform_music_play(PlatformMusic* music, int plays) {
    if (midi_open && music) Mix_PlayMusic(music->music, plays);
}

void platform_music_stop() {
    if (midi_open) Mix_HaltMusic();
}

void platform_music_free(PlatformMusic* music) {
    if (!music) return;
    Mix_HaltMusic();
    Mix_FreeMusic(music->music);
    delete music;
}
