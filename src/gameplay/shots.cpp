// The shots: the stock gauge, the flying shots with their hit test against the
// raiders, and the spark a hit leaves.
#include "audio/audio.h"
#include "gameplay/gameplay.h"
#include "graphics/graphics.h"

namespace {

// Every raider the shot's point has passed, within its band, is struck; the
// raider's state is not looked at, so one flying off can be struck again.
void strike_raiders(Shot& shot) {
    for (auto& row : round_data.raiders) {
        for (Raider& raider : row) {
            if (shot.x > raider.x && shot.y > raider.y && shot.y < raider.y + 32) {
                play_se(effect_hit);
                raider.state = raider_knocked_back;
                raider.hp -= 1;
                if (raider.hp <= 0) {
                    raider.state = raider_flying_off;
                    play_se(effect_knockout);
                }
                shot.state = shot_sparking;
            }
        }
    }
}

void fly(Shot& shot) {
    draw_sprite(shot.x, shot.y, make_rect(216, 176, 224, 184));
    shot.x += 10;
    strike_raiders(shot);
    // Leaving the screen wins over a hit in the same frame: no spark then.
    if (shot.x >= 320) shot.state = shot_spent;
}

void spark(Shot& shot) {
    draw_sprite(shot.x, shot.y, make_rect(224 + 8 * shot.timer, 176, 232 + 8 * shot.timer, 184));
    shot.timer += 1;
    if (shot.timer >= 3) shot.state = shot_spent;
}

}  // namespace

void update_shots() {
    RoundState& r = round_data;
    // shots[0] leaves the stock last, so its state tells whether the stock is empty.
    if (r.shots[0].state != shot_in_stock) draw_sprite(100, 208, make_rect(248, 176, 304, 192));
    for (int32_t i = 0; i < shot_count; ++i) {
        Shot& shot = r.shots[i];
        switch (shot.state) {
        case shot_in_stock: draw_sprite(8 * i + 8, 208, make_rect(208, 176, 216, 192)); break;
        case shot_flying: fly(shot); break;
        case shot_sparking: spark(shot); break;
        default: break;
        }
    }
}
