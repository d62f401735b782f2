// What our MIDI check and the music loader's own check let through, handed to
// FluidSynth as the game's music does (a new player on the synthesiser, the
// bytes added from memory, played twice) and rendered for a few milliseconds,
// on this thread, so that FluidSynth's reader parses the piece and its
// opening plays. Such a file must not crash or hang the library, and the
// reader must take it: one it refused would play as silence with music on.
#include <fluidsynth.h>

#include <cstdio>
#include <cstdlib>

#include "audio/midi_check.h"
#include "hosts/desktop/sdl_platform.h"

namespace {

fluid_synth_t* synth = nullptr;
bool parsed = false;

// The player reports its first tick only once it has read the file.
int note_tick(void*, int) {
    parsed = true;
    return FLUID_OK;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fluid_set_log_function(FLUID_WARN, nullptr, nullptr);  // presets missing from the soundfont
    fluid_settings_t* settings = new_fluid_settings();
    fluid_settings_setnum(settings, "synth.sample-rate", 44100.0);
    synth = new_fluid_synth(settings);
    const char* soundfont = std::getenv("SDL_SOUNDFONTS");
    if (!soundfont || !*soundfont) soundfont = "/usr/share/sounds/sf2/TimGM6mb.sf2";
    if (synth && fluid_synth_sfload(synth, soundfont, 1) == FLUID_FAILED) synth = nullptr;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (!synth) std::abort();  // nothing would be tested
    if (!midi_file_is_well_formed(data, size) || !sdl_music_readable(data, size)) return 0;
    parsed = false;
    fluid_player_t* player = new_fluid_player(synth);
    fluid_player_set_tick_callback(player, note_tick, nullptr);
    fluid_player_add_mem(player, data, size);
    fluid_player_set_loop(player, 2);
    fluid_player_play(player);
    float left[441], right[441];
    fluid_synth_write_float(synth, 441, left, 0, 1, right, 0, 1);  // 10 ms
    fluid_synth_write_float(synth, 441, left, 0, 1, right, 0, 1);
    if (!parsed) {
        std::fprintf(stderr, "the loader let through a piece FluidSynth cannot read\n");
        std::abort();
    }
    fluid_player_stop(player);
    delete_fluid_player(player);
    fluid_synth_system_reset(synth);
    fluid_synth_all_sounds_off(synth, -1);
    return 0;
}
