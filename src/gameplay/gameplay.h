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

struct Shot {
    int32_t id;
    int32_t state;  // 0 in stock, 1 flying, 2 hit spark, 3 spent
    int32_t x, y;
    int32_t timer;  // spark picture 0..2
};

struct Raider {
    int32_t x, y;
    int32_t hp;
    int32_t anim;
    int32_t state;  // 0 waiting, 1 walking or eating, 2 knocked back, 3 flying off
};

// One global record; starts all zero, and a few fields outlive a round.
struct RoundState {
    // The player
    int32_t player_x, player_y;
    int32_t player_pose;    // column of the player strip, 0..8
    int32_t player_timer;
    int32_t player_action;  // 0 idle, 1 throwing, 2 refilling, 3 changing lane, 4 landing
    int32_t player_lane;
    int32_t shots_left;
    int32_t idle_clock;     // carries over between rounds
    int32_t flash_frame;    // carries over between rounds
    int32_t drop_speed;
    int32_t drop_state;

    int32_t time_left;  // 18000 down by 2 per play frame

    Bowl bowls[lane_count];
    int32_t bowl_drop_state;
    int32_t bowl_fall_speed;

    Shot shots[shot_count];
    Raider raiders[lane_count][raiders_per_lane];

    int32_t scroll[4];  // carries over between rounds

    int32_t total_left;
    int32_t rank;
};

extern RoundState round_data;

// ---- Player ---------------------------------------------------------------------------

void update_player();
bool player_drop_in();
void draw_player(int32_t x, int32_t y, int32_t pose);
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
// 0 while the round is on; 1 when the clock ran out, 2 when the rice is all gone.
int32_t update_timer_hud(bool counting);
// The four shown digits of the countdown: d0, separator, d1 d2, separator, d3.
void timer_digits(int32_t time_left, int32_t out[4]);
// 0 for the first picture row of the timer display, 16 for the late-round row.
int32_t timer_row_offset(int32_t time_left);
