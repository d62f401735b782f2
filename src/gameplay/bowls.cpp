// The four bowls: their entrance at the start of a round and their pictures by
// how much food is left.
#include "gameplay/gameplay.h"
#include "graphics/graphics.h"

namespace {

void draw_bowl(const Bowl& bowl, int32_t column) {
    draw_sprite(bowl.x, bowl.y, make_rect(32 * column, 40, 32 * column + 32, 80));
}

void draw_full_bowls() {
    for (const Bowl& bowl : round_data.bowls) draw_bowl(bowl, 0);
}

}  // namespace

bool bowls_drop_in() {
    RoundState& r = round_data;
    if (r.bowl_drop_state == bowls_drop_setting_up) {
        for (int32_t i = 0; i < lane_count; ++i) {
            r.bowls[i].x = 88 - 16 * i;
            r.bowls[i].y = 32 * i - 136;
            r.bowls[i].amount = 1000;
        }
        r.bowl_fall_speed = 0;
        r.bowl_drop_state = bowls_drop_falling;
    }
    for (Bowl& bowl : r.bowls) bowl.y += r.bowl_fall_speed;
    r.bowl_fall_speed += 1;
    if (r.bowls[0].y > 48) {
        // Pull all four back by the overshoot so that they land on their lanes.
        const int32_t overshoot = r.bowls[0].y - 48;
        r.bowl_fall_speed = overshoot;
        r.bowl_drop_state = bowls_drop_setting_up;
        for (Bowl& bowl : r.bowls) bowl.y -= overshoot;
        draw_full_bowls();
        return true;
    }
    draw_full_bowls();
    return false;
}

int32_t bowl_picture(Bowl& bowl) {
    // Not an else-chain: each test may overwrite the column the one before chose.
    int32_t column = 0;
    if (bowl.amount <= 0) {
        bowl.amount = 0;
        column = 4;
    }
    if (bowl.amount > 0) column = 3;
    if (bowl.amount > 500) column = 2;
    if (bowl.amount > 750) column = 1;
    if (bowl.amount == 1000) column = 0;
    return column;
}

void draw_bowls() {
    for (Bowl& bowl : round_data.bowls) draw_bowl(bowl, bowl_picture(bowl));
    draw_throw_flash();
}
