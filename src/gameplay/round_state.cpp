// The round's data lives here, zero-initialised like any global.
#include "gameplay/gameplay.h"

RoundState round_data;
