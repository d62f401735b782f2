// The oni: five to a lane, each idling past the right edge until a random draw
// sends it walking left; one that reaches its bowl eats a unit every frame.
#include "audio/audio.h"
#include "gameplay/gameplay.h"
#include "graphics/graphics.h"
#include "core/random.h"

namespace {

const Rect struck_picture = make_rect(64, 80, 96, 120);

int32_t stop_line(int32_t row) { return 112 - 16 * row; }

void wait_off_screen(Raider& raider, int32_t row) {
    // Position and phase are drawn afresh every waiting frame; the ones drawn
    // in the frame the roll comes up are the ones it sets out with.
    raider.x = game_rand() % 420 + 360;
    raider.y = 32 * row + 44;
    raider.anim = game_rand() % 30;
    if (game_rand() % 500 == 1) {
        raider.hp = game_rand() % 2 + 1;
        if (round_data.time_left <= 3000) raider.hp += 2;
        raider.state = raider_walking;
    }
}

void walk(Raider& raider, int32_t row) {
    raider.anim += 1;
    if (raider.anim >= 10) raider.anim = 0;
    raider.x -= 1;
    if (round_data.time_left <= 100) raider.x -= 1;
    // Stepping past the line means standing at the bowl: a bite, and back onto the line.
    if (raider.x < stop_line(row)) {
        Bowl& bowl = round_data.bowls[row];
        if (bowl.amount == 1) play_voice("voice/hin.wav");
        bowl.amount -= 1;
        raider.x = stop_line(row);
    }
    const int32_t column = raider.anim / 6 * 32;
    draw_sprite(raider.x, raider.y, make_rect(column, 80, column + 32, 120));
}

void knocked_back(Raider& raider) {
    // The knock-back runs on from the walking phase, so it lasts 40 - phase frames.
    raider.anim += 1;
    if (raider.anim >= 40) raider.state = raider_walking;
    raider.x += 2;
    draw_sprite(raider.x, raider.y, struck_picture);
}

void fly_off(Raider& raider) {
    raider.x += 10;
    raider.y -= 10;
    if (raider.x >= 320) raider.state = raider_waiting;
    draw_sprite(raider.x, raider.y, struck_picture);
}

}  // namespace

void update_raiders() {
    for (int32_t row = 0; row < lane_count; ++row) {
        for (Raider& raider : round_data.raiders[row]) {
            switch (raider.state) {
            case raider_waiting: wait_off_screen(raider, row); break;
            case raider_walking: walk(raider, row); break;
            case raider_knocked_back: knocked_back(raider); break;
            case raider_flying_off: fly_off(raider); break;
            default: break;
            }
        }
    }
}
