// The countdown: counting, its display, and the judgement of the round's end.
#include "gameplay/gameplay.h"
#include "graphics/graphics.h"

void timer_digits(int32_t time_left, int32_t out[4]) {
    // Read like minutes, seconds and tenths, 100 units to a second; units unshown.
    out[0] = time_left / 6000;
    out[1] = time_left % 6000 / 1000;
    out[2] = time_left % 1000 / 100;
    out[3] = time_left % 100 / 10;
}

int32_t timer_row_offset(int32_t time_left) { return time_left > 3000 ? 0 : 16; }

RoundEnd update_timer_hud(bool counting) {
    RoundState& r = round_data;
    if (counting) r.time_left -= 2;

    const int32_t o = timer_row_offset(r.time_left);
    int32_t digits[4];
    timer_digits(r.time_left, digits);
    draw_sprite(0, 0, make_rect(168, 176 + o, 208, 192 + o));
    const Rect separator = make_rect(160, 176 + o, 168, 192 + o);
    draw_sprite(64, 0, separator);
    draw_sprite(104, 0, separator);
    static constexpr int32_t digit_x[4] = {48, 72, 88, 112};
    for (int32_t i = 0; i < 4; ++i)
        draw_sprite(digit_x[i], 0, make_rect(16 * digits[i], 176 + o, 16 * digits[i] + 16, 192 + o));

    // Empty bowls are judged first, so they win over time-up in the same frame.
    int32_t total = 0;
    for (const Bowl& bowl : r.bowls) total += bowl.amount;
    if (total <= 0) return round_food_gone;
    if (r.time_left <= 0) return round_time_up;
    return round_goes_on;
}
