// The ranking after a won round: the end picture opens, the banner slides in,
// the food left is ranked 0 to 3 and the rank picture rises; a perfect round
// goes on to the staff screen.
#include "audio/audio.h"
#include "gameplay/gameplay.h"
#include "graphics/graphics.h"
#include "scenes/scenes.h"
#include "core/input.h"

ResultState result_state = result_window_growing;
int32_t result_counter = 0;

void reset_result() {
    result_state = result_window_growing;
    result_counter = 0;
}

void take_rank() {
    RoundState& r = round_data;
    r.total_left = 0;
    for (const Bowl& b : r.bowls) r.total_left += b.amount;
    // Later matches replace earlier ones.
    if (r.total_left == 4000) r.rank = 3;
    if (r.total_left < 4000) r.rank = 2;
    if (r.total_left < 2000) r.rank = 1;
    if (r.total_left < 1000) r.rank = 0;
}

static void draw_end_picture() { draw_sprite(0, 32, make_rect(0, 0, 320, 176)); }
static void draw_banner(int32_t x) { draw_sprite(x, 96, make_rect(0, 192, 128, 224)); }

// The top `height` rows of the rank picture, standing on the line y 132.
static void draw_rank(int32_t height) {
    const int32_t left = 128 + 40 * round_data.rank;
    draw_sprite(192, 132 - height, make_rect(left, 176, left + 40, 176 + height));
}

static void draw_ranked_screen() {
    draw_end_picture();
    draw_banner(48);
    draw_rank(64);
}

static void draw_staff() { draw_sprite(0, 0, make_rect(0, 0, screen_width, screen_height)); }

bool result_sequence() {
    if (result_state != result_staff_shown) clear_screen();
    switch (result_state) {
    case result_window_growing: {
        // A window growing from the centre pixel; the picture sits 32 rows lower on screen.
        const int32_t n = result_counter;
        const int32_t q = 11 * n / 4;
        draw_sprite(160 - 5 * n, 120 - q, make_rect(160 - 5 * n, 88 - q, 161 + 5 * n, 89 + q));
        result_counter += 1;
        if (result_counter >= 32) {
            result_counter = 320;
            result_state = result_banner_sliding;
        }
        return false;
    }
    case result_banner_sliding:
        draw_end_picture();
        draw_banner(result_counter);
        result_counter -= 4;
        if (result_counter <= 48) {
            take_rank();
            result_counter = 0;
            result_state = result_rank_rising;
        }
        return false;
    case result_rank_rising:
        draw_end_picture();
        draw_banner(48);
        draw_rank(result_counter);
        result_counter += 2;
        if (result_counter >= 64) {
            result_counter = 0;
            result_state = result_rank_shown;
        }
        return false;
    case result_rank_shown:
        draw_ranked_screen();
        result_counter += 1;
        if (result_counter >= 200) result_state = result_breaking_up;
        return false;
    case result_breaking_up:
        // The mosaic eats the sheet itself, so each frame shows the holes of the frames before.
        draw_ranked_screen();
        if (!mosaic_out()) return false;
        if (round_data.rank == 3) {
            load_sheet("bitmap/staff.bmp");
            result_state = result_staff_opening;
            return false;
        }
        result_state = result_window_growing;
        result_counter = 0;
        return true;
    case result_staff_opening:
        draw_staff();
        se_enabled = true;  // so that leaving the staff screen is heard
        if (wipe_open()) result_state = result_staff_shown;
        return false;
    case result_staff_shown:
        draw_staff();
        if (button_a_pressed()) {
            result_state = result_window_growing;
            play_se(effect_confirm);
            stop_music();
            result_counter = 0;
            return true;
        }
        return false;
    default:
        return false;
    }
}
