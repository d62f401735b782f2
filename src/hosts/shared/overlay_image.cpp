#include "hosts/shared/overlay_image.h"

#include <algorithm>

void clear_overlay(OverlayImage* image, int width, int height) {
    image->width = std::max(0, width);
    image->height = std::max(0, height);
    image->pixels.assign(size_t(image->width) * size_t(image->height), 0);
}

namespace {

// Straight-alpha "over": the colour on top of what is there.
OverlayColour blend(OverlayColour top, OverlayColour under) {
    const uint32_t a = top >> 24, b = under >> 24;
    if (a == 255 || b == 0) return top;
    if (a == 0) return under;
    const uint32_t out_a = a * 255 + b * (255 - a);  // in 255ths of 255ths
    OverlayColour out = (out_a / 255) << 24;
    for (int shift = 0; shift < 24; shift += 8) {
        const uint32_t t = (top >> shift) & 255, u = (under >> shift) & 255;
        out |= ((t * a * 255 + u * b * (255 - a)) / out_a) << shift;
    }
    return out;
}

}  // namespace

void fill_overlay_box(OverlayImage* image, int x, int y, int width, int height, OverlayColour colour) {
    const int left = std::max(0, x), top = std::max(0, y);
    const int right = std::min(image->width, x + std::max(0, width));
    const int bottom = std::min(image->height, y + std::max(0, height));
    for (int row = top; row < bottom; ++row)
        for (int column = left; column < right; ++column) {
            OverlayColour& pixel = image->pixels[size_t(row) * size_t(image->width) + size_t(column)];
            pixel = blend(colour, pixel);
        }
}
