// One round from start to finish: set up, open, drop the bowls and the girl
// in, play, then either the win banner and ranking or the loss banner and the
// game-over screen. Things are drawn in the order they are called.
#include "audio/audio.h"
#include "gameplay/gameplay.h"
#include "graphics/graphics.h"
#include "scenes/scenes.h"
#include "core/input.h"

int32_t play_state = 0;
int32_t round_state = 0;

void reset_round() {
    load_sheet("bitmap/main.bmp");

    RoundState& r = round_data;
    r.player_x = 40;
    r.player_y = -40;  // above the screen until the player drops in
    r.player_timer = 0;
    r.player_pose = 3;
    r.time_left = 18000;
    r.shots_left = shot_count;
    r.player_lane = 1;
    r.player_action = 0;
    for (Shot& s : r.shots) {
        s.id = 0;
        s.state = 0;
        s.x = 0;
        s.y = 0;
        s.timer = 0;
    }
    for (auto& row : r.raiders) {
        for (Raider& e : row) {
            e.anim = 0;
            e.hp = 0;
            e.state = 0;
            e.x = 0;
            e.y = 0;
        }
    }
}

static void draw_full_sheet() {
    clear_screen();
    draw_sprite(0, 0, make_rect(0, 0, screen_width, screen_height));
}

bool round_flow() {
    if (round_state == 0) {
        reset_round();
        round_state = 1;
    }
    switch (round_state) {
    case 1:
        draw_playfield();
        update_timer_hud(false);
        if (wipe_open()) {
            play_voice("voice/onaka.wav");
            round_state = 2;
        }
        return false;
    case 2:
        draw_playfield();
        if (bowls_drop_in()) round_state = 3;
        update_timer_hud(false);
        return false;
    case 3:
        draw_playfield();
        if (player_drop_in()) round_state = 4;
        draw_bowls();
        update_timer_hud(false);
        return false;
    case 4: {
        draw_playfield();
        update_player();
        draw_player(round_data.player_x, round_data.player_y, round_data.player_pose);
        draw_bowls();
        update_raiders();
        update_shots();
        // The end is judged after a full frame of play.
        const int32_t r = update_timer_hud(true);
        if (r == 1) {
            stop_music();
            play_music("midi/hue.mid", false);
            se_enabled = false;  // the whistle is heard alone; the staff screen or the title turns them back on
            round_state = 5;
        } else if (r == 2) {
            round_state = 8;
        }
        return false;
    }
    case 5:
        if (finish_cutin(true)) {
            round_state = 6;
            load_sheet("bitmap/end.bmp");
        }
        return false;
    case 6:
        if (result_sequence()) {
            round_state = 0;
            return true;
        }
        return false;
    case 8:
        // A lost round shows empty bowls, whatever the raiders left.
        for (Bowl& b : round_data.bowls) b.amount = 0;
        if (finish_cutin(false)) {
            load_sheet("bitmap/gameover.bmp");
            round_state = 9;
        }
        return false;
    case 9:
        draw_full_sheet();
        if (wipe_open()) round_state = 10;
        return false;
    case 10:
        draw_full_sheet();
        if (button_a_pressed()) {
            round_state = 0;
            play_se(2);
            stop_music();
            return true;
        }
        return false;
    default:
        return false;
    }
}

int32_t play_wrapper() {
    if (play_state == 0) {
        play_music("midi/main.mid", true);
        play_state = 1;
    }
    switch (play_state) {
    case 1:
        if (round_flow()) play_state = 2;
        return 0;
    case 2:
        // One more frame, drawing nothing, before the title takes over.
        play_state = 0;
        return 1;
    default:
        return 0;
    }
}
