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
