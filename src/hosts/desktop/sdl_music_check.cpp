// The standard MIDI files that FluidSynth's file reader takes. It reads a
// piece only when the audio thread first plays it, and a refusal there is
// silent: the player just ends. So load refuses up front whatever it would.
// It walks the tracks as our own MIDI check does, and so is stricter than the
// reader (every event inside its track, an End of Track, no stray data bytes):
// whatever it accepts, the reader reads (fuzz/midi_synth_fuzz.cpp checks that).
#include <cstring>

#include "audio/midi_check.h"
#include "hosts/desktop/sdl_platform.h"

namespace {

// The reader knows 0xF0 system exclusive and 0xFF meta events, not the 0xF7
// escape, and fails on these meta events unless their data has this length.
bool readable_event(uint8_t status, uint8_t type, uint32_t length) {
    if (status != 0xFF) return status == 0xF0;
    switch (type) {
        case 0x2F: return length == 0;  // End of Track
        case 0x51: return length == 3;  // Set Tempo
        case 0x54: return length == 5;  // SMPTE Offset
        case 0x58: return length == 4;  // Time Signature
        case 0x59: return length == 2;  // Key Signature
        default: return true;
    }
}

}  // namespace

bool sdl_music_readable(const uint8_t* data, size_t size) {
    // The reader takes the header as exactly six bytes, and refuses time in
    // SMPTE frames. With no division the piece would never move on.
    if (size < 14 || std::memcmp(data, "MThd", 4) != 0 || midi_u32(data + 4) != 6) return false;
    const uint32_t format = midi_u16(data + 8);
    const uint32_t tracks = midi_u16(data + 10);
    const uint32_t division = midi_u16(data + 12);
    if (format > 2 || division == 0 || (division & 0x8000)) return false;
    // It misreads the count's high byte (256 tracks and up come out as
    // tens of thousands) and so fails on them.
    if (tracks == 0 || tracks > 255) return false;

    size_t pos = 14;
    for (uint32_t track = 0; track < tracks; ++track) {
        // A chunk of another kind among the tracks makes it fail.
        if (size - pos < 8 || std::memcmp(data + pos, "MTrk", 4) != 0) return false;
        const uint32_t length = midi_u32(data + pos + 4);
        pos += 8;
        if (size - pos < length) return false;
        if (!midi_track_is_well_formed(data, pos, pos + length, readable_event)) return false;
        pos += length;
    }
    return true;
}
