// The pictures the graphics subsystem owns; shared by its own files (and the
// tests that hold them against SDL).
#pragma once

#include <cstddef>
#include <cstdint>
#include <new>
#include <vector>

#include "graphics/graphics.h"

// Pixels that start on a 64-byte cache line, as SDL's did: the sheet's 16 x 16
// squares and sprite rows then never straddle more lines than they must, which
// keeps the fills and the keyed copy as fast as they were.
template <typename T>
struct CacheLineAllocator {
    using value_type = T;
    CacheLineAllocator() = default;
    template <typename U>
    CacheLineAllocator(const CacheLineAllocator<U>&) {}
    T* allocate(size_t count) { return static_cast<T*>(::operator new(count * sizeof(T), std::align_val_t(64))); }
    void deallocate(T* p, size_t) { ::operator delete(p, std::align_val_t(64)); }
    bool operator==(const CacheLineAllocator&) const { return true; }
    bool operator!=(const CacheLineAllocator&) const { return false; }
};

using Pixels = std::vector<uint16_t, CacheLineAllocator<uint16_t>>;

// An RGB565 picture, rows top to bottom, `width` pixels a row with nothing between rows.
struct Picture {
    int32_t width = 0;
    int32_t height = 0;
    Pixels pixels;
};

extern Picture back_buffer;  // the frame being drawn; empty until the display opens
extern Picture sheet;        // the one picture source; empty until a bitmap loads

// A black picture of the given size.
Picture blank_picture(int32_t width, int32_t height);

// Fills `rect` of `picture` with colour 0. A rectangle with no area, or one
// that reaches outside the picture, fills nothing.
void fill_black(Picture& picture, Rect rect);

// Copies `from` onto the top-left corner of `to`, cut off at `to`'s edges.
void copy_top_left(const Picture& from, Picture& to);

// Covers the whole of `to` with the whole of `from`, stretched by taking the
// nearest pixel.
void stretch_picture(const Picture& from, Picture& to);

// Checks a Windows bitmap file in memory before it is decoded: the headers,
// sizes, palette and pixel data must all lie inside the file.
bool bitmap_file_is_well_formed(const uint8_t* data, size_t size);

// Checks and decodes a Windows bitmap file held in memory into `picture`
// (colours truncated to RGB565); false when the file is refused. The loader
// and the fuzzer share it.
bool decode_bitmap_bytes(const uint8_t* data, size_t size, Picture* picture);
