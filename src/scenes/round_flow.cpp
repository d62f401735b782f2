// One round from start to finish: set up, open, drop the bowls and the girl
// in, play, then either the win banner and ranking or the loss banner and the
// game-over screen. Things are drawn in the order they are called.
#include "audio/audio.h"
#include "gameplay/gameplay.h"
#include "graphics/graphics.h"
#include "scenes/scenes.h"
#include "core/input.h"

PlayState play_state = play_starting_music;
RoundFlowState round_state = round_setting_up;

void reset_round_flow() {
    play_state = play_starting_music;
    round_state = round_setting_up;
}

void reset_round() {
    load_sheet("bitmap/main.bmp");

    RoundState& r = round_data;
    r.player_x = 40;
    r.player_y = -40;  // above the screen until the player drops in
    r.player_timer = 0;
    r.player_pose = pose_tucked;
    r.time_left = 18000;
    r.shots_left = shot_count;
    r.player_lane = 1;
    r.player_action = action_idle;
    for (Shot& s : r.shots) {
        s.id = 0;
        s.state = shot_in_stock;
        s.x = 0;
        s.y = 0;
        s.timer = 0;
    }
    for (auto& row : r.raiders) {
        for (Raider& e : row) {
            e.anim = 0;
            e.hp = 0;
            e.state = raider_waiting;
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
    if (round_state == round_setting_up) {
        reset_round();
        round_state = round_opening;
    }
    switch (round_state) {
    case round_opening:
        draw_playfield();
        update_timer_hud(false);
        if (wipe_open()) {
            play_voice("voice/onaka.wav");
            round_state = round_bowls_dropping;
        }
        return false;
    case round_bowls_dropping:
        draw_playfield();
        if (bowls_drop_in()) round_state = round_player_dropping;
        update_timer_hud(false);
        return false;
    case round_player_dropping:
        draw_playfield();
        if (player_drop_in()) round_state = round_playing;
        draw_bowls();
        update_timer_hud(false);
        return false;
    case round_playing: {
        draw_playfield();
        update_player();
        draw_player(round_data.player_x, round_data.player_y, round_data.player_pose);
        draw_bowls();
        update_raiders();
        update_shots();
        // The end is judged after a full frame of play.
        const RoundEnd end = update_timer_hud(true);
        if (end == round_time_up) {
            stop_music();
            play_music("midi/hue.mid", false);
            se_enabled = false;  // the whistle is heard alone; the staff screen or the title turns them back on
            round_state = round_won_banner;
        } else if (end == round_food_gone) {
            round_state = round_lost_banner;
        }
        return false;
    }
    case round_won_banner:
        if (finish_cutin(true)) {
            round_state = round_ranking;
            load_sheet("bitmap/end.bmp");
        }
        return false;
    case round_ranking:
        if (result_sequence()) {
            round_state = round_setting_up;
            return true;
        }
        return false;
    case round_lost_banner:
        // A lost round shows empty bowls, whatever the raiders left.
        for (Bowl& b : round_data.bowls) b.amount = 0;
        if (finish_cutin(false)) {
            load_sheet("bitmap/gameover.bmp");
            round_state = round_game_over_opening;
        }
        return false;
    case round_game_over_opening:
        draw_full_sheet();
        if (wipe_open()) round_state = round_game_over;
        return false;
    case round_game_over:
        draw_full_sheet();
        if (button_a_pressed()) {
            round_state = round_setting_up;
            play_se(effect_hop);
            stop_music();
            return true;
        }
        return false;
    default:
        return false;
    }
}

int32_t play_wrapper() {
    if (play_state == play_starting_music) {
        play_music("midi/main.mid", true);
        play_state = play_in_round;
    }
    switch (play_state) {
    case play_in_round:
        if (round_flow()) play_state = play_leaving;
        return 0;
    case play_leaving:
        // One more frame, drawing nothing, before the title takes over.
        play_state = play_starting_music;
        return 1;
    default:
        return 0;
    }
}
