// The sprite copy works on groups of pixels at a time; here it is checked pixel
// by pixel on thousands of sprites of every width from 1 up, at every
// alignment, clipped at each edge, over a background that shows whether a
// transparent pixel really left what was under it. The pixels around each
// sprite are checked too: nothing may be written outside it.
#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "graphics/graphics.h"
#include "support/headless_game.h"

namespace {

uint16_t screen(int x, int y) { return back_buffer_pixels()[y * screen_width + x]; }

struct Sprite {
    int32_t x, y;
    Rect rect;
};

// What the screen must hold after drawing `s` over `before`.
uint16_t expected(const std::vector<uint16_t>& before, const Sprite& s, int px, int py) {
    const int sx = s.rect.left + px - s.x, sy = s.rect.top + py - s.y;
    const bool covered = sx >= s.rect.left && sx < s.rect.right && sy >= s.rect.top && sy < s.rect.bottom;
    const uint16_t under = before[py * screen_width + px];
    if (!covered) return under;
    const uint16_t source = sheet_pixel(sx, sy);
    return source != 0 ? source : under;
}

}  // namespace

TEST(KeyedCopy, EveryWidthAlignmentAndClipMatchesThePixelRule) {
    ASSERT_TRUE(start_headless_display());  // the title sheet: pictures outlined on black
    uint32_t state = 12345;
    const auto next = [&state](int n) {
        state = state * 1103515245u + 12345u;
        return int((state >> 8) % uint32_t(n));
    };

    long long transparent = 0, opaque = 0;
    for (int i = 0; i < 3000; ++i) {
        if (i % 500 == 0) copy_whole_sheet();  // an opaque, varied background
        const int width = 1 + i % 41, height = 1 + next(6);
        const int left = next(320 - width + 1), top = next(240 - height + 1);
        Sprite s{next(screen_width + 2 * width) - width, next(screen_height + 2 * height) - height,
                 make_rect(left, top, left + width, top + height)};
        if (i % 7 == 0) s.x = -next(width + 1);                 // cut at the left edge
        if (i % 11 == 0) s.x = screen_width - next(width + 1);  // cut at the right edge

        const std::vector<uint16_t> before(back_buffer_pixels(), back_buffer_pixels() + screen_width * screen_height);
        draw_sprite(s.x, s.y, s.rect);
        for (int py = std::max(0, s.y - 1); py < std::min(screen_height, s.y + height + 1); ++py) {
            for (int px = std::max(0, s.x - 1); px < std::min(screen_width, s.x + width + 1); ++px) {
                ASSERT_EQ(screen(px, py), expected(before, s, px, py))
                    << "sprite " << i << " (" << s.x << "," << s.y << ") width " << width << " at " << px << "," << py;
                const int sx = left + px - s.x, sy = top + py - s.y;
                if (sx >= left && sx < left + width && sy >= top && sy < top + height)
                    ++(sheet_pixel(sx, sy) == 0 ? transparent : opaque);
            }
        }
    }
    // Both kinds of pixel were drawn many times, or the check proved little.
    EXPECT_GT(transparent, 10000);
    EXPECT_GT(opaque, 10000);
}

TEST(KeyedCopy, PositionsAndRectanglesAtTheEndsOfTheirRangeDrawNothing) {
    ASSERT_TRUE(start_headless_display());
    copy_whole_sheet();
    const std::vector<uint16_t> before(back_buffer_pixels(), back_buffer_pixels() + screen_width * screen_height);
    const int32_t far = INT32_MAX, near = INT32_MIN;
    const Sprite sprites[] = {
        {near, near, make_rect(0, 0, 32, 32)},      {far, far, make_rect(0, 0, 32, 32)},
        {near, 0, make_rect(far - 40, 0, far, 32)}, {0, near, make_rect(0, near, 32, near + 40)},
        {-10, -10, make_rect(near, near, far, far)}, {far - 5, 0, make_rect(near, 0, far, 32)},
        {0, 0, make_rect(far, 0, near, 32)},
    };
    for (const Sprite& s : sprites) draw_sprite(s.x, s.y, s.rect);
    const std::vector<uint16_t> after(back_buffer_pixels(), back_buffer_pixels() + screen_width * screen_height);
    EXPECT_TRUE(after == before);
}
