// Builds RIFF WAVE and standard MIDI files byte by byte for the audio tests,
// including malformed ones, and lays out a data folder of them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<uint8_t>;

void append_u16(Bytes* out, uint32_t value);
void append_u32(Bytes* out, uint32_t value);
Bytes operator+(Bytes a, const Bytes& b);

// A chunk with its 8-byte header and, when the body is odd, its pad byte.
// `declared` replaces the size written in the header (the body stays as given).
Bytes riff_chunk(const char* id, const Bytes& body, int64_t declared = -1);
// The format chunk's body; `size` 16 (the common PCM layout) or 18.
Bytes format_body(uint16_t channels, uint32_t rate, uint16_t bits, uint16_t tag = 1, int size = 16);
// "RIFF" <size> "WAVE" followed by the chunks.
Bytes riff_wave(const Bytes& chunks);
// A plain PCM file whose every sample has the value `level` (8-bit: unsigned).
Bytes constant_wave(uint16_t channels, uint32_t rate, uint16_t bits, uint32_t frames, int level);

// A one-track MIDI file holding the given events (End of Track appended).
Bytes midi_file(const Bytes& events, uint16_t format = 0, uint16_t tracks = 1);
// Half a second of middle C on the piano.
Bytes one_note_midi();

void write_bytes(const std::string& path, const Bytes& bytes);
// wave/00.wav .. 06.wav (slot n a constant level of 1000 * (n + 1), a second
// long, 16-bit mono 44100 Hz), voice/a.wav (level 7000) and midi/note.mid.
void write_audio_data(const std::string& dir);
