#pragma once

#include <cstdint>
#include <string>

// Writes 320 x 240 RGB565 pixels as a PNG, widening each channel to 8 bits by
// bit replication. False when the file cannot be written.
bool write_screenshot_png(const std::string& path, const uint16_t* pixels);
