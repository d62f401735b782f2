// The sheet's bitmap path on arbitrary bytes, both ways: our check and our own
// decoder, and our check followed by SDL's decoder and its conversion to
// RGB565, as the game loaded pictures before. Any file the check lets through
// must be refused by both or decode to the same picture; anything else aborts.
#include <cstdlib>

#include "graphics/picture.h"
#include "sdl/sdl_reference.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Picture ours, theirs;
    const bool ours_ok = decode_bitmap_bytes(data, size, &ours);
    const bool theirs_ok = sdl_decode_bitmap(data, size, &theirs);
    if (ours_ok != theirs_ok) std::abort();
    if (!ours_ok) return 0;
    if (ours.width < 1 || ours.height < 1 || ours.width > 8192 || ours.height > 8192) std::abort();
    if (ours.pixels.size() != size_t(ours.width) * size_t(ours.height)) std::abort();
    if (!same_picture(ours, theirs)) std::abort();
    return 0;
}
