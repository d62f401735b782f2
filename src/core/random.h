// The game's own linear congruential generator, 0..32767; not the C library's.
#pragma once

#include <cstdint>

void game_srand(uint32_t seed);
int32_t game_rand();
