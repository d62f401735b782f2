// What our MIDI check lets through, handed to SDL2_mixer's MIDI loader (with
// FluidSynth behind it) on the dummy audio driver, as the real game does, and
// played for a moment so that the synthesiser parses the piece. A file that
// passes our check must not crash or hang the library.
#include <SDL.h>
#include <SDL_mixer.h>

#include <cstdlib>

#include "audio/midi_check.h"

namespace {

bool mixer_ready = false;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    if (SDL_Init(SDL_INIT_AUDIO) != 0) return 0;
    const char* soundfont = std::getenv("SDL_SOUNDFONTS");
    Mix_SetSoundFonts(soundfont && *soundfont ? soundfont : "/usr/share/sounds/sf2/TimGM6mb.sf2");
    if (Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 512) != 0) return 0;
    mixer_ready = (Mix_Init(MIX_INIT_MID) & MIX_INIT_MID) != 0;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (!mixer_ready) std::abort();  // nothing would be tested
    if (!midi_file_is_well_formed(data, size)) return 0;
    SDL_RWops* source = SDL_RWFromConstMem(data, int(size));
    Mix_Music* music = Mix_LoadMUSType_RW(source, MUS_MID, SDL_TRUE);
    if (!music) return 0;
    // The piece is parsed by the first mixing pass of the audio thread.
    Mix_PlayMusic(music, 1);
    SDL_Delay(25);
    Mix_HaltMusic();
    Mix_FreeMusic(music);
    return 0;
}
