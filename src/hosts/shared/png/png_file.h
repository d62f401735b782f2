// Writes 8-bit RGB or RGBA pictures as PNG files, for F12 and the tools.
#pragma once

#include <cstdint>
#include <string>

// `pixels` holds width x height pixels of `channels` bytes (3: RGB, 4: RGBA),
// rows top to bottom. The file is there whole or not at all: false, with the
// reason in `error` when given, when it cannot be written.
bool write_png(const std::string& path, int width, int height, int channels, const uint8_t* pixels,
               std::string* error = nullptr);

// An RGB565 picture (`pitch` pixels a row; null: all black) enlarged `scale`
// times, nearest-neighbour, each channel widened to 8 bits by repeating its
// top bits.
bool write_rgb565_png(const std::string& path, const uint16_t* pixels, int width, int height, int pitch,
                      int scale, std::string* error = nullptr);
