// A picture the host lays over the game's, at the game's own size (320 x 240)
// or a band of it: the options menu and the captions. The host scales it by
// the same whole factor as the game's picture, so its pixels are as crisp.
#pragma once

#include <cstdint>
#include <vector>

// 0xAARRGGBB, straight (not premultiplied) alpha; 0 is fully clear.
using OverlayColour = uint32_t;

struct OverlayImage {
    int width = 0;
    int height = 0;
    std::vector<OverlayColour> pixels;  // rows top to bottom, width per row
};

// Sized and cleared to transparent.
void clear_overlay(OverlayImage* image, int width, int height);
// A rectangle of one colour, clipped to the image (blended over what is there).
void fill_overlay_box(OverlayImage* image, int x, int y, int width, int height, OverlayColour colour);
