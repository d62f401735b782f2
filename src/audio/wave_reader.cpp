// The RIFF walk of a WAV file: chunks are found by descending into the RIFF
// "WAVE" chunk and skipping every other chunk whole, pad byte included, the
// way the Windows RIFF reader does, so the same files load and fail.
#include "audio/wave_reader.h"

#include <cstring>

namespace {

uint16_t read_u16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }
uint32_t read_u32(const uint8_t* p) { return uint32_t(read_u16(p)) | uint32_t(read_u16(p + 2)) << 16; }

struct Chunk {
    uint64_t data;  // offset of the first byte after the 8-byte header
    uint32_t size;  // declared size, not counting the pad byte
};

// Offsets are 64-bit so that a declared size near 4 GiB cannot wrap round.
uint64_t chunk_end(const Chunk& chunk) { return chunk.data + chunk.size + (chunk.size & 1); }

// Looks at the chunks from `pos` on whose header lies before `end` for one
// named `id` (and, for a RIFF chunk, whose form type is `form`).
bool find_chunk(const uint8_t* bytes, uint64_t pos, uint64_t end, const char* id, const char* form,
                Chunk* found) {
    while (pos + 8 <= end) {
        const Chunk chunk{pos + 8, read_u32(bytes + pos + 4)};
        if (std::memcmp(bytes + pos, id, 4) == 0) {
            if (!form) {
                *found = chunk;
                return true;
            }
            if (chunk.data + 4 <= end && std::memcmp(bytes + chunk.data, form, 4) == 0) {
                *found = chunk;
                return true;
            }
        }
        pos = chunk_end(chunk);
    }
    return false;
}

}  // namespace

bool parse_wave(const uint8_t* bytes, size_t size, WaveClip* clip) {
    Chunk riff;
    if (!find_chunk(bytes, 0, size, "RIFF", "WAVE", &riff)) return false;
    // A RIFF chunk that claims more than the file holds ends with the file.
    uint64_t riff_end = riff.data + riff.size;
    if (riff_end > size) riff_end = size;

    Chunk fmt;
    if (!find_chunk(bytes, riff.data + 4, riff_end, "fmt ", nullptr, &fmt)) return false;
    // Always 18 bytes, whatever the chunk declares: after a 16-byte PCM chunk
    // the last two come from what follows, and PCM never looks at them.
    if (fmt.data + 18 > size) return false;
    const uint8_t* f = bytes + fmt.data;
    const WaveFormat format{read_u16(f),      read_u16(f + 2),  read_u32(f + 4), read_u32(f + 8),
                            read_u16(f + 12), read_u16(f + 14), read_u16(f + 16)};
    if (format.format_tag != wave_format_pcm) return false;

    // A "data" chunk before "fmt " is never found: the search goes on after it.
    Chunk data;
    if (!find_chunk(bytes, chunk_end(fmt), riff_end, "data", nullptr, &data)) return false;
    if (data.data + data.size > size) return false;

    *clip = WaveClip{format, size_t(data.data), data.size};
    return true;
}
