#include "hosts/shared/round_watch.h"

#include "gameplay/gameplay.h"
#include "scenes/scenes.h"

RoundEvent watch_round(RoundWatch* watch) {
    const bool in_round = play_state == play_in_round;
    if (!in_round || round_state != round_ranking) watch->ranked = watch->rank_stood = false;
    if (!in_round || (round_state != round_game_over_opening && round_state != round_game_over)) watch->lost = false;
    if (!in_round) return round_event_none;
    if (round_state == round_ranking && result_state >= result_rank_rising && !watch->ranked) {
        watch->ranked = true;
        return round_event_won;
    }
    if (round_state == round_ranking && result_state >= result_breaking_up && !watch->rank_stood) {
        watch->rank_stood = true;
        return round_event_rank_stood;
    }
    if (round_state == round_game_over_opening && !watch->lost) {
        watch->lost = true;
        return round_event_lost;
    }
    return round_event_none;
}

int32_t round_rank() { return round_data.rank; }

// A lost round's bowls are emptied as its banner falls.
int32_t round_food_left() { return round_state == round_ranking ? round_data.total_left : 0; }
