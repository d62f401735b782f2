// Writes 8-bit RGB or RGBA pictures as PNG files, for the tools.
#pragma once

#include <cstdint>
#include <string>

// `pixels` holds width x height pixels of `channels` bytes (3: RGB, 4: RGBA),
// rows top to bottom. False when the file cannot be written.
bool write_png(const std::string& path, int width, int height, int channels, const uint8_t* pixels);
