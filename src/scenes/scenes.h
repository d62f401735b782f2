// Scenes: the title with its menu, the flow of a round, and the cut-ins,
// ranking and closing screens. Each keeps its place in a state of its own
// and draws the whole picture every time it is stepped. The states' numbers
// are the ones the traces show.
#pragma once

#include <cstdint>

// ---- Title ------------------------------------------------------------------------

// The title's music and sheet, the wipe opening on it, the menu, the wipe
// closing on the item chosen, and the explanation picture.
enum TitleState : int32_t {
    title_starting_music = 0, title_loading_sheet = 1,
    title_opening = 2, title_choosing = 3, title_closing = 4,
    title_explaining = 5,
};

// The menu's items top to bottom, where the cursor stands.
enum MenuItem : int32_t { item_start = 0, item_explanation = 1, item_quit = 2 };

// The item confirmed, one above its MenuItem; none while nothing is.
enum MenuChoice : int32_t { choice_none = 0, choice_start = 1, choice_explanation = 2, choice_quit = 3 };

// What the title says after each of its frames.
// On start chosen the title is ready to run again.
enum TitleResult : int32_t { title_goes_on = 0, title_start_chosen = 1, title_quit_chosen = 2 };

TitleResult title_scene();
// Draws the tiles and the strips and scrolls the strips one pixel.
void draw_title_background();
// The menu's words and caption, and the bouncing logo (moved a step first).
void draw_title_logo();
// Blinks and draws the cursor; when interactive it also moves it and returns
// the item confirmed with A, else choice_none.
MenuChoice menu_cursor(bool interactive);
// The explanation picture, whole; true on the frame A is pressed.
bool show_explanation();

// The logo, the strips and the cursor back where the program starts them.
void reset_title();

extern TitleState title_state;
extern MenuChoice menu_choice;
extern int32_t cursor_pos;  // a MenuItem
extern int32_t cursor_blink;
extern int32_t logo_y;
extern int32_t logo_speed;
extern int32_t strip_offset;

// ---- Round flow ------------------------------------------------------------------

// Around the round: its music, then the round, then a blank frame to leave on.
enum PlayState : int32_t { play_starting_music = 0, play_in_round = 1, play_leaving = 2 };

enum RoundFlowState : int32_t {
    round_setting_up = 0,
    // The entrance: the field opens, the bowls and then the girl drop in.
    round_opening = 1, round_bowls_dropping = 2, round_player_dropping = 3,
    round_playing = 4,
    // The clock beat the raiders: the winning banner, then the ranking.
    round_won_banner = 5, round_ranking = 6,
    // The food is gone: the loss banner, then the game-over screen until A.
    round_lost_banner = 8, round_game_over_opening = 9, round_game_over = 10,
};

// Non-zero when the round and its closing screens are over.
int32_t play_wrapper();
bool round_flow();
void reset_round();
// Neither a round nor its music begun, as at start-up.
void reset_round_flow();

extern PlayState play_state;
extern RoundFlowState round_state;

// ---- Result and ending sequences ---------------------------------------------------

// The banner falls in over play, the bars close the field under it, it
// holds, and it slides off.
enum CutinState : int32_t {
    cutin_starting = 0, cutin_falling = 1, cutin_closing = 2, cutin_holding = 3, cutin_sliding_off = 4
};

// The end picture opens from its centre, the banner slides in, the rank
// rises and stays a while, the mosaic breaks it up; after a perfect round
// the staff screen opens and waits for A.
enum ResultState : int32_t {
    result_window_growing = 0, result_banner_sliding = 1,
    result_rank_rising = 2, result_rank_shown = 3, result_breaking_up = 4,
    result_staff_opening = 5, result_staff_shown = 6,
};

bool finish_cutin(bool won);
bool result_sequence();
// Sums the food left into round_data.total_left and ranks it 0..3 into round_data.rank.
void take_rank();
// Neither closing screen begun, as at start-up.
void reset_cutin();
void reset_result();

extern CutinState cutin_state;
extern int32_t cutin_offset;
extern ResultState result_state;
extern int32_t result_counter;
