// The sheet's bitmap path on arbitrary bytes: our check, SDL's decoder and the
// conversion to the sheet's format, exactly as the game loads a file. A
// picture that comes out must be RGB565 and as large as its header said.
#include <cstdlib>

#include "graphics/surfaces.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    SDL_Surface* picture = decode_bitmap_bytes(data, size);
    if (!picture) return 0;
    if (picture->format->format != SDL_PIXELFORMAT_RGB565) std::abort();
    if (picture->w < 1 || picture->h < 1 || picture->w > 8192 || picture->h > 8192) std::abort();
    // Read every pixel, as a copy into the sheet would.
    volatile uint16_t sum = 0;
    for (int y = 0; y < picture->h; ++y) {
        const auto* row = reinterpret_cast<const uint16_t*>(static_cast<const uint8_t*>(picture->pixels) +
                                                            size_t(y) * size_t(picture->pitch));
        for (int x = 0; x < picture->w; ++x) sum = uint16_t(sum + row[x]);
    }
    SDL_FreeSurface(picture);
    return 0;
}
