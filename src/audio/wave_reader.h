// Reading a RIFF WAVE file held in memory: where its PCM format record and its
// samples are. Nothing here allocates or reads outside the bytes given.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr uint16_t wave_format_pcm = 1;

// The 18-byte wave format record as it lies in the file (little-endian).
struct WaveFormat {
    uint16_t format_tag;
    uint16_t channels;
    uint32_t samples_per_sec;
    uint32_t avg_bytes_per_sec;
    uint16_t block_align;
    uint16_t bits_per_sample;
    uint16_t extra_size;  // unused for PCM
};

struct WaveClip {
    WaveFormat format;
    size_t data_offset;  // where the "data" chunk's samples start in the file
    uint32_t data_size;  // its declared size; the whole of it lies inside the file
};

// Finds the first RIFF "WAVE" chunk, its "fmt " chunk and the "data" chunk
// after that, skipping other chunks (with their pad byte) on the way. False
// when any of them is missing, the format is not PCM, the 18 format bytes run
// past the end of the file, or the data chunk declares more than the file holds.
bool parse_wave(const uint8_t* bytes, size_t size, WaveClip* clip);
