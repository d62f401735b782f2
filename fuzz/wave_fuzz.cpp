// The RIFF WAVE reader on arbitrary bytes: it must never read outside them,
// and what it reports must lie inside them.
#include <cstdlib>

#include "audio/wave_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    WaveClip clip;
    if (!parse_wave(data, size, &clip)) return 0;
    if (clip.format.format_tag != wave_format_pcm) std::abort();
    if (clip.data_offset > size || clip.data_size > size - clip.data_offset) std::abort();
    // Touch the samples so that the sanitizer sees any wrong offset.
    volatile uint8_t sum = 0;
    for (size_t i = 0; i < clip.data_size; ++i) sum = uint8_t(sum + data[clip.data_offset + i]);
    return 0;
}
