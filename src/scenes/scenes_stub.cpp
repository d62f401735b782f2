// Stand-in until the scenes land: the title draws nothing and play ends at once.
#include "scenes/scenes.h"

int32_t title_state, menu_choice, cursor_pos, cursor_blink, logo_y = 32, logo_speed = 1, strip_offset;
int32_t play_state, round_state, cutin_state, cutin_offset, result_state, result_counter;

int32_t title_scene() { return 0; }
int32_t play_wrapper() { return 0; }
bool round_flow() { return false; }
void reset_round() {}
bool finish_cutin(bool) { return false; }
bool result_sequence() { return false; }
