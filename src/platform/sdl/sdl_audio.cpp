// The audio device on SDL2_mixer: one mixer channel per sound slot, and MIDI
// music through the mixer's FluidSynth back end with a General MIDI soundfont.
#include <SDL_mixer.h>
#include <sys/stat.h>

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

bool audio_open = false;
bool midi_open = false;
Mix_Chunk* clips[sound_slot_count] = {};

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

bool platform_audio_open(AudioDeviceFormat* format) {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    choose_soundfont();
    if (Mix_OpenAudio(device_rate, AUDIO_S16SYS, 2, device_buffer_frames) != 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    audio_open = true;
    Mix_AllocateChannels(sound_slot_count);
    int frequency = 0, channels = 0;
    Uint16 sdl_format = 0;
    Mix_QuerySpec(&frequency, &sdl_format, &channels);
    *format = AudioDeviceFormat{frequency, sdl_format, channels};
    return true;
}

void platform_audio_close() {
    if (!audio_open) return;
    for (int slot = 0; slot < sound_slot_count; ++slot) platform_clip_unbind(slot);
    Mix_CloseAudio();
    audio_open = false;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

bool platform_clip_bind(int slot, const uint8_t* samples, uint32_t byte_count) {
    if (!audio_open || slot < 0 || slot >= sound_slot_count) return false;
    platform_clip_unbind(slot);
    // The chunk points at the caller's samples without copying them.
    clips[slot] = Mix_QuickLoad_RAW(const_cast<Uint8*>(samples), byte_count);
    return clips[slot] != nullptr;
}

void platform_clip_unbind(int slot) {
    if (slot < 0 || slot >= sound_slot_count || !clips[slot]) return;
    Mix_HaltChannel(slot);
    Mix_FreeChunk(clips[slot]);
    clips[slot] = nullptr;
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
