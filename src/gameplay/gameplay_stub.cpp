// Stand-in until the gameplay lands.
#include "gameplay/gameplay.h"

RoundState round_data;

void update_player() {}
bool player_drop_in() { return false; }
void draw_player(int32_t, int32_t, int32_t) {}
void update_raiders() {}
void update_shots() {}
bool bowls_drop_in() { return false; }
void draw_bowls() {}
void draw_playfield() {}
int32_t update_timer_hud(bool) { return 0; }
