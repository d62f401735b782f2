// Gameplay: what a round is made of and the code that moves and draws each
// piece of it every frame: the girl, the oni, the beans, the bowls, the clock
// and the field behind them.
#pragma once

#include <cstdint>

constexpr int lane_count = 4;
constexpr int raiders_per_lane = 5;
constexpr int shot_count = 38;

struct Bowl {
    int32_t x, y;
    int32_t amount;  // food units left, 1000 when full
};

// Sparking: it struck a raider.
enum ShotState : int32_t { shot_in_stock = 0, shot_flying = 1, shot_sparking = 2, shot_spent = 3 };

struct Shot {
    int32_t id;
    ShotState state;
    int32_t x, y;
    int32_t timer;  // spark picture 0..2
};

// Waiting off screen, rolling to set out; walking, or eating at its bowl;
// knocked back by a shot; flying off, beaten.
enum RaiderState : int32_t {
    raider_waiting = 0, raider_walking = 1, raider_knocked_back = 2, raider_flying_off = 3
};

struct Raider {
    int32_t x, y;
    int32_t hp;
    int32_t anim;
    RaiderState state;
};

enum PlayerAction : int32_t {
    action_idle = 0, action_throwing = 1, action_refilling = 2,
    action_changing_lane = 3, action_landing = 4,  // a hop to the next lane, then a moment to land
};

// The girl's pictures, by their column in her strip of the sheet (the numbers
// the traces print).
enum PlayerPose : int32_t {
    pose_standing = 0, pose_throwing = 1, pose_crouching = 2, pose_tucked = 3, pose_landing = 4,
    pose_leaping = 5, pose_cheering = 6, pose_blinking = 7, pose_fidgeting = 8,
};

// The girl's entrance from above the screen; crouching is the moment in the
// landing pose.
enum PlayerDropState : int32_t {
    player_drop_setting_up = 0, player_drop_falling = 1, player_drop_crouching = 2, player_drop_standing = 3
};

// The bowls' entrance: placed above the screen, then falling onto their lanes.
enum BowlDropState : int32_t { bowls_drop_setting_up = 0, bowls_drop_falling = 1 };

// What the clock's judgement says at the end of a frame of play: time up
// with food left is a win, the food gone a loss.
enum RoundEnd : int32_t { round_goes_on = 0, round_time_up = 1, round_food_gone = 2 };

// One global record; starts all zero, and a few fields outlive a round.
struct RoundState {
    // The player
    int32_t player_x, player_y;
    PlayerPose player_pose;
    int32_t player_timer;
    PlayerAction player_action;
    int32_t player_lane;
    int32_t shots_left;
    int32_t idle_clock;     // carries over between rounds
    int32_t flash_frame;    // carries over between rounds
    int32_t drop_speed;
    PlayerDropState drop_state;

    int32_t time_left;  // 18000 down by 2 per play frame

    Bowl bowls[lane_count];
    BowlDropState bowl_drop_state;
    int32_t bowl_fall_speed;

    Shot shots[shot_count];
    Raider raiders[lane_count][raiders_per_lane];

    int32_t scroll[4];  // carries over between rounds

    int32_t total_left;
    int32_t rank;
};

extern RoundState round_data;

// All of it back to zero, as at start-up, the fields that outlive a round too.
void reset_round_data();

// ---- Player ---------------------------------------------------------------------------

void update_player();
bool player_drop_in();
void draw_player(int32_t x, int32_t y, PlayerPose pose);
// The burst at the player's hand in the frame of a throw; drawn by draw_bowls.
void draw_throw_flash();

// ---- Raiders and shots ------------------------------------------------------------------

void update_raiders();
void update_shots();

// ---- Bowls, timer and playfield ---------------------------------------------------------

bool bowls_drop_in();
void draw_bowls();  // also draws the player's throw flash
// Column of the bowl picture for the bowl's fill: 0 full, 1 for 751..999,
// 2 for 501..750, 3 for 1..500, 4 empty. An amount of 0 or below is put back to 0.
int32_t bowl_picture(Bowl& bowl);
void draw_playfield();
// Whether the round is on, the clock ran out or the rice is all gone.
RoundEnd update_timer_hud(bool counting);
// The four shown digits of the countdown: d0, separator, d1 d2, separator, d3.
void timer_digits(int32_t time_left, int32_t out[4]);
// 0 for the first picture row of the timer display, 16 for the late-round row.
int32_t timer_row_offset(int32_t time_left);
