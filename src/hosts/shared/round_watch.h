// Watching the game from a host, frame by frame, for the end of each round:
// won as its rank is taken, lost as the game-over screen opens, and the
// ranking's end once the rank has stood. The recording checker and the
// player's records both follow rounds this way.
#pragma once

#include <cstdint>

enum RoundEvent { round_event_none, round_event_won, round_event_lost, round_event_rank_stood };

struct RoundWatch {
    bool ranked = false;     // this round's rank was taken
    bool rank_stood = false;
    bool lost = false;       // this round's game-over screen opened
};

// Called after every frame; each event once a round.
RoundEvent watch_round(RoundWatch* watch);

// The rank and food left of the round just ended.
int32_t round_rank();
int32_t round_food_left();
