// Our own guard in front of the MIDI engine: a standard MIDI file is walked
// whole before it is handed on, so a malformed one fails the same way on
// every platform and never reaches the synthesiser.
#pragma once

#include <cstddef>
#include <cstdint>

// True when the bytes are a standard MIDI file: an "MThd" header of format 0,
// 1 or 2 with at least one track and a non-zero division, followed by as many
// "MTrk" chunks (other chunks skipped) lying inside the file, each of whose
// events parse up to an End of Track meta event inside the chunk.
bool midi_file_is_well_formed(const uint8_t* data, size_t size);

// Big-endian numbers as a MIDI file holds them.
inline uint32_t midi_u16(const uint8_t* p) { return uint32_t(p[0]) << 8 | p[1]; }
inline uint32_t midi_u32(const uint8_t* p) { return midi_u16(p) << 16 | midi_u16(p + 2); }

// Walks the events of one track chunk, data[pos, end), up to its End of Track,
// bounds-checked; `accept` (when given) is asked about each system exclusive
// (status 0xF0 or 0xF7) and meta event (0xFF, with its type) and the length of
// its data, and may refuse it. False for a malformed or refused track.
bool midi_track_is_well_formed(const uint8_t* data, size_t pos, size_t end,
                               bool (*accept)(uint8_t status, uint8_t meta_type, uint32_t length) = nullptr);
