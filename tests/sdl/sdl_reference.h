// The game's pictures as SDL 2 made them before graphics did this work itself:
// the references that the differential tests and the bitmap fuzzer hold our
// own code to, pixel for pixel.
#pragma once

#include <cstddef>
#include <cstdint>

#include "graphics/picture.h"

// Our check, then SDL_LoadBMP_RW and SDL_ConvertSurfaceFormat to RGB565 with
// blending off; false when either refuses the file.
bool sdl_decode_bitmap(const uint8_t* data, size_t size, Picture* picture);

// SDL_BlitScaled of the whole of `from` onto the whole of `to`, both RGB565
// surfaces with the colour key off, as the whole-sheet copy did it.
void sdl_stretch_picture(const Picture& from, Picture& to);

// SDL_BlitSurface of `from` onto `to` at its top-left corner, colour key off,
// as loading a picture into the sheet did it.
void sdl_copy_top_left(const Picture& from, Picture& to);

// The same size and the same pixels.
bool same_picture(const Picture& a, const Picture& b);
