// Scenes: the title with its menu, the flow of a round, and the cut-ins,
// ranking and closing screens. Each keeps its place in a state number and
// draws the whole picture every time it is stepped.
#pragma once

#include <cstdint>

// ---- Title ------------------------------------------------------------------------

// 0 still running, 1 start chosen, 2 quit chosen.
int32_t title_scene();
// Draws the tiles and the strips and scrolls the strips one pixel.
void draw_title_background();
// The menu's words and caption, and the bouncing logo (moved a step first).
void draw_title_logo();
// Blinks and draws the cursor; when interactive it also moves it and returns
// the item confirmed with A (cursor_pos + 1), else 0.
int32_t menu_cursor(bool interactive);
// The explanation picture, whole; true on the frame A is pressed.
bool show_explanation();

extern int32_t title_state;
extern int32_t menu_choice;
extern int32_t cursor_pos;
extern int32_t cursor_blink;
extern int32_t logo_y;
extern int32_t logo_speed;
extern int32_t strip_offset;

// ---- Round flow ------------------------------------------------------------------

// Non-zero when the round and its closing screens are over.
int32_t play_wrapper();
bool round_flow();
void reset_round();

extern int32_t play_state;
extern int32_t round_state;

// ---- Result and ending sequences ---------------------------------------------------

bool finish_cutin(bool won);
bool result_sequence();
// Sums the food left into round_data.total_left and ranks it 0..3 into round_data.rank.
void take_rank();

extern int32_t cutin_state;
extern int32_t cutin_offset;
extern int32_t result_state;
extern int32_t result_counter;
