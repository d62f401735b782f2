// The game's random generator. Every draw is game_rand() % n, and the order of
// draws within a frame is part of the game's behaviour, so this must be exactly
// this generator and never the C library's.
#include "core/random.h"

static uint32_t random_state = 0;

void game_srand(uint32_t seed) { random_state = seed; }

int32_t game_rand() {
    random_state = random_state * 214013u + 2531011u;
    return static_cast<int32_t>((random_state >> 16) & 0x7FFF);
}
