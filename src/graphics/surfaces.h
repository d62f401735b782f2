// The surfaces the graphics subsystem owns; shared by its own files only.
#pragma once

#include <SDL.h>

#include "graphics/graphics.h"

extern SDL_Surface* back_buffer;  // the frame being drawn
extern SDL_Surface* sheet;        // the one picture source; null until a bitmap loads

// Fills `rect` of `surface` with colour 0. A rectangle with no area, or one
// that reaches outside the surface, fills nothing.
void fill_black(SDL_Surface* surface, Rect rect);

// Checks a Windows bitmap file in memory before it is decoded: the headers,
// sizes, palette and pixel data must all lie inside the file.
bool bitmap_file_is_well_formed(const uint8_t* data, size_t size);

// Checks and decodes a Windows bitmap file held in memory into a new RGB565
// surface (colours truncated), or null. The loader and the fuzzer share it.
SDL_Surface* decode_bitmap_bytes(const uint8_t* data, size_t size);
