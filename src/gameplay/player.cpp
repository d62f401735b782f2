// The player: the entrance from above, the controller (lane changes with a hop,
// throwing while A is held, refilling the stock with B, the idle animation),
// the drawing with the hop lift, and the flash at the hand when it throws.
#include "audio/audio.h"
#include "gameplay/gameplay.h"
#include "graphics/graphics.h"
#include "core/input.h"
#include "core/random.h"

namespace {

constexpr int32_t hop_frames = 16;
constexpr int32_t landing_frames = 5;
constexpr int32_t throw_cooldown = 5;
constexpr int32_t refill_frames = 30;

// Lift of the hop in units of 2 pixels, indexed by the frames of movement left.
constexpr int32_t hop_table[hop_frames] = {5, 9, 12, 14, 15, 16, 17, 17, 17, 17, 16, 15, 14, 12, 9, 5};

void start_lane_change(PlayerPose pose, int32_t step) {
    RoundState& r = round_data;
    play_se(effect_hop);
    r.player_timer = hop_frames;
    r.player_action = action_changing_lane;
    r.player_pose = pose;
    r.player_lane += step;
}

void idle_input() {
    RoundState& r = round_data;
    if (dir_is_down(input.dir)) {
        if (r.player_lane != 3) start_lane_change(pose_tucked, 1);
    } else if (dir_is_up(input.dir)) {
        if (r.player_lane != 0) start_lane_change(pose_leaping, -1);
    }
    // A refill press overrides a lane change begun in the same frame.
    if (button_b_pressed()) {
        r.player_timer = 0;
        r.player_action = action_refilling;
        r.player_pose = pose_throwing;
        play_se(effect_refill);
    }
}

void throw_shot() {
    RoundState& r = round_data;
    play_se(effect_throw);
    r.player_action = action_throwing;
    r.player_timer = throw_cooldown;
    if (r.shots_left == shot_count)
        play_voice(game_rand() % 6 < 3 ? "voice/kono.wav" : "voice/oraora.wav");
    r.shots_left -= 1;
    if (r.shots_left == 0) play_voice("voice/tama.wav");
    // The stock is used from its highest index down, so shots[0] goes last.
    Shot& shot = r.shots[r.shots_left];
    shot.x = r.player_x + game_rand() % 4 + 28;
    shot.y = r.player_y + game_rand() % 4 + 15;
    shot.state = shot_flying;
    shot.timer = 0;
}

void throwing() {
    RoundState& r = round_data;
    if (input.button_a) {
        if (r.shots_left > 0 && r.player_timer == 0) throw_shot();
    } else {
        r.player_action = action_idle;
    }
    if (r.player_timer > 0) r.player_timer -= 1;
    r.player_pose = r.player_timer >= 2 ? pose_throwing : pose_standing;
}

void changing_lane() {
    RoundState& r = round_data;
    r.player_timer -= 1;
    const bool moving_down = r.player_pose == pose_tucked;
    if (moving_down) {
        r.player_x -= 1;
        r.player_y += 2;
    } else {
        r.player_x += 1;
        r.player_y -= 2;
    }
    if (r.player_timer <= 0) {
        r.player_action = action_landing;
        r.player_timer = landing_frames;
        r.player_pose = moving_down ? pose_crouching : pose_landing;
    }
}

void landing() {
    RoundState& r = round_data;
    r.player_timer -= 1;
    if (r.player_timer <= 0) r.player_action = action_idle;
}

void refilling() {
    RoundState& r = round_data;
    r.player_timer += 1;
    r.player_pose = pose_throwing;
    if (r.player_timer >= 10) r.player_pose = pose_crouching;
    if (r.player_timer >= 20) r.player_pose = pose_throwing;
    if (r.player_timer >= refill_frames) {
        play_se(effect_refill);
        r.player_timer = 0;
        r.player_action = action_throwing;
        r.player_pose = pose_standing;
        r.shots_left = shot_count;
        // Shots still flying or sparking vanish; x and y stay as they were.
        for (int32_t i = 0; i < shot_count; ++i) {
            r.shots[i].timer = 0;
            r.shots[i].id = i;
            r.shots[i].state = shot_in_stock;
        }
    }
}

// Six tenths of the 60-frame idle cycle: standing, blinking, standing, blinking,
// standing, fidgeting.
void idle_animation() {
    const int32_t sixth = round_data.idle_clock / 10;
    PlayerPose pose = pose_standing;
    if (sixth == 1 || sixth == 3) pose = pose_blinking;
    if (sixth == 5) pose = pose_fidgeting;
    round_data.player_pose = pose;
}

}  // namespace

void update_player() {
    RoundState& r = round_data;
    // Each step looks at the action as it stands when the step begins, so one
    // frame can pass through several actions.
    if (r.player_action == action_idle) idle_input();
    if (r.player_action == action_idle || r.player_action == action_throwing) throwing();
    if (r.player_action == action_changing_lane) changing_lane();
    if (r.player_action == action_landing) landing();
    if (r.player_action == action_refilling) refilling();
    if (r.player_action == action_idle) {
        r.player_x = 56 - 16 * r.player_lane;
        r.player_y = 32 * r.player_lane + 48;
    }
    r.idle_clock = (r.idle_clock + 1) % 60;
    if (r.player_action == action_idle && dir_is_level(input.dir)) idle_animation();
}

void draw_player(int32_t x, int32_t y, PlayerPose pose) {
    const Rect picture = make_rect(32 * pose, 0, 32 * pose + 32, 40);
    const int32_t t = round_data.player_timer;
    // While hopping the timer is 1..15 when drawn; anything else draws unlifted
    // rather than reading outside the table.
    if (round_data.player_action == action_changing_lane && t >= 0 && t < hop_frames)
        draw_sprite(x, y - 2 * hop_table[t], picture);
    else
        draw_sprite(x, y, picture);
}

bool player_drop_in() {
    RoundState& r = round_data;
    if (r.drop_state == player_drop_setting_up) {
        r.drop_speed = 0;
        r.player_x = 40;
        r.player_y = -40;
        r.player_timer = 0;
        r.player_pose = pose_tucked;
        r.player_lane = 1;
        r.drop_state = player_drop_falling;
    }
    switch (r.drop_state) {
    case player_drop_falling:
        r.drop_speed += 1;
        r.player_y += r.drop_speed / 3;
        if (r.player_y >= 80) {
            r.player_y = 80;
            r.player_pose = pose_crouching;
            r.drop_state = player_drop_crouching;
        }
        break;
    case player_drop_crouching:
        r.player_timer += 1;
        if (r.player_timer >= 10) r.drop_state = player_drop_standing;
        break;
    case player_drop_standing:
        r.player_pose = pose_standing;
        r.player_timer = 0;
        r.drop_state = player_drop_setting_up;
        draw_player(r.player_x, r.player_y, r.player_pose);
        return true;
    default:
        break;
    }
    draw_player(r.player_x, r.player_y, r.player_pose);
    return false;
}

void draw_throw_flash() {
    RoundState& r = round_data;
    // Throwing with the cooldown at 4 holds only in the frame of a throw.
    if (r.player_action != action_throwing || r.player_timer != 4) return;
    const Rect picture = make_rect(208 + 16 * r.flash_frame, 192, 224 + 16 * r.flash_frame, 208);
    const int32_t dy = game_rand() % 4;
    const int32_t dx = game_rand() % 4;
    draw_sprite(r.player_x + 28 + dx, r.player_y + 11 + dy, picture);
    r.flash_frame += 1;
    if (r.flash_frame >= 3) r.flash_frame = 0;
}
