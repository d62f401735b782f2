// The scrolling field behind a round: four background strips moving left at
// their own speeds and the four floor rows.
#include "gameplay/gameplay.h"
#include "graphics/graphics.h"

void draw_playfield() {
    static constexpr int32_t strip_y[4] = {0, 32, 192, 224};
    for (int32_t s = 0; s < 4; ++s) {
        int32_t& scroll = round_data.scroll[s];
        const Rect strip = make_rect(64 + 32 * s, 208, 96 + 32 * s, 240);
        for (int32_t j = 0; j <= 10; ++j) draw_sprite(32 * j + scroll / 2, strip_y[s], strip);
        // A wrap of 64 in the offset is one tile width on screen.
        scroll -= s + 4;
        if (scroll < -64) scroll += 64;
    }
    const Rect floor = make_rect(0, 208, 64, 240);
    for (int32_t row = 0; row < 4; ++row)
        for (int32_t k = 0; k < 6; ++k) draw_sprite(64 * k + 16 * row - 48, 64 + 32 * row, floor);
}
