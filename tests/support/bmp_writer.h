// Writes small Windows bitmap files in the formats the game must read, for
// tests of the sheet loader.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct Rgb {
    uint8_t r, g, b;
};

enum class BmpFormat { pal1, pal4, pal8, rgb555, rgb565_bitfields, rgb24, rgb32, os2_pal8 };

// `pixels` holds width x height colours, rows top to bottom. Palettised formats
// build their palette from the colours used (at most 2^bits of them).
std::vector<uint8_t> make_bmp(BmpFormat format, int width, int height, const std::vector<Rgb>& pixels,
                              bool top_down = false);

bool write_file(const std::string& path, const std::vector<uint8_t>& bytes);

// The colour a 24-bit colour becomes in the sheet: RGB565 by truncation.
inline uint16_t rgb565(Rgb c) { return uint16_t((c.r >> 3) << 11 | (c.g >> 2) << 5 | (c.b >> 3)); }
