// The one record of a round's data, zero when the program starts.
#include "gameplay/gameplay.h"

RoundState round_data;
