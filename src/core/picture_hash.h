// The hash a trace gives each frame's picture ("fb"), which a recording of the
// real game also ends with: FNV-1a over the RGB565 pixels, rows top to bottom,
// each pixel low byte first.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/fnv1a.h"

inline uint64_t picture_hash(const uint16_t* pixels, int width, int height, ptrdiff_t pitch) {
    uint64_t hash = fnv1a_start;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const uint16_t pixel = pixels ? pixels[y * pitch + x] : 0;
            hash = fnv1a_add(fnv1a_add(hash, uint8_t(pixel & 0xFFu)), uint8_t(pixel >> 8));
        }
    return hash;
}
