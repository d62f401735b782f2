// The round's data lives here, zero-initialised like any global.
#include "gameplay/gameplay.h"

RoundState round_data;

void reset_round_data() { round_data = RoundState{}; }
