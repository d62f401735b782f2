// The hash a trace gives each frame's picture ("fb"), which a recording of the
// real game also ends with: 64-bit FNV-1a over the RGB565 pixels, rows top to
// bottom, each pixel low byte first.
#pragma once

#include <cstddef>
#include <cstdint>

inline uint64_t picture_hash(const uint16_t* pixels, int width, int height, ptrdiff_t pitch) {
    uint64_t hash = 0xcbf29ce484222325ull;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const uint16_t pixel = pixels ? pixels[y * pitch + x] : 0;
            hash = (hash ^ (pixel & 0xFFu)) * 0x100000001b3ull;
            hash = (hash ^ (pixel >> 8)) * 0x100000001b3ull;
        }
    return hash;
}
