// The standard MIDI files that FluidSynth's file reader takes. It reads a
// piece only when the audio thread first plays it, and a refusal there is
// silent: the player just ends. So load refuses up front whatever it would.
// This walk is stricter than the reader (it also wants every event inside its
// track, an End of Track and no stray data bytes, as our own MIDI check does):
// whatever it accepts, the reader reads (fuzz/midi_synth_fuzz.cpp checks that).
#include <cstring>

#include "platform/sdl/sdl_platform.h"

namespace {

uint32_t read_u16(const uint8_t* p) { return uint32_t(p[0]) << 8 | p[1]; }
uint32_t read_u32(const uint8_t* p) { return read_u16(p) << 16 | read_u16(p + 2); }

bool read_vlq(const uint8_t* data, size_t end, size_t* pos, uint32_t* value) {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) {
        if (*pos >= end) return false;
        const uint8_t byte = data[(*pos)++];
        v = v << 7 | (byte & 0x7F);
        if (!(byte & 0x80)) {
            *value = v;
            return true;
        }
    }
    return false;
}

// The reader fails on these meta events unless their data has this length.
bool meta_length_readable(uint8_t type, uint32_t length) {
    switch (type) {
        case 0x2F: return length == 0;  // End of Track
        case 0x51: return length == 3;  // Set Tempo
        case 0x54: return length == 5;  // SMPTE Offset
        case 0x58: return length == 4;  // Time Signature
        case 0x59: return length == 2;  // Key Signature
        default: return true;
    }
}

bool track_readable(const uint8_t* data, size_t pos, size_t end) {
    uint8_t running_status = 0;
    for (;;) {
        uint32_t delta;
        if (!read_vlq(data, end, &pos, &delta) || pos >= end) return false;
        uint8_t status = data[pos];
        if (status & 0x80) ++pos;
        else if (running_status) status = running_status;
        else return false;

        if (status < 0xF0) {
            running_status = status;
            const size_t count = (status & 0xE0) == 0xC0 ? 1 : 2;  // program change, channel pressure: one
            if (end - pos < count) return false;
            for (size_t i = 0; i < count; ++i)
                if (data[pos + i] & 0x80) return false;
            pos += count;
            continue;
        }
        // The reader knows 0xF0 system exclusive and 0xFF meta events; an
        // 0xF7 escape (or anything else) fails it.
        running_status = 0;
        if (status != 0xF0 && status != 0xFF) return false;
        uint8_t type = 0;
        if (status == 0xFF) {
            if (pos >= end) return false;
            type = data[pos++];
        }
        uint32_t length;
        if (!read_vlq(data, end, &pos, &length) || end - pos < length) return false;
        if (status == 0xFF && !meta_length_readable(type, length)) return false;
        pos += length;
        if (status == 0xFF && type == 0x2F) return true;
    }
}

}  // namespace

bool sdl_music_readable(const uint8_t* data, size_t size) {
    // The reader takes the header as exactly six bytes, and refuses time in
    // SMPTE frames. With no division the piece would never move on.
    if (size < 14 || std::memcmp(data, "MThd", 4) != 0 || read_u32(data + 4) != 6) return false;
    const uint32_t format = read_u16(data + 8);
    const uint32_t tracks = read_u16(data + 10);
    const uint32_t division = read_u16(data + 12);
    if (format > 2 || division == 0 || (division & 0x8000)) return false;
    // It misreads the count's high byte (256 tracks and up come out as
    // tens of thousands) and so fails on them.
    if (tracks == 0 || tracks > 255) return false;

    size_t pos = 14;
    for (uint32_t track = 0; track < tracks; ++track) {
        // A chunk of another kind among the tracks makes it fail.
        if (size - pos < 8 || std::memcmp(data + pos, "MTrk", 4) != 0) return false;
        const uint32_t length = read_u32(data + pos + 4);
        pos += 8;
        if (size - pos < length) return false;
        if (!track_readable(data, pos, pos + length)) return false;
        pos += length;
    }
    return true;
}
