// The bot's choice of keys in a frame of play, from the round's data alone.
#pragma once

struct BotKeys {
    bool up = false, down = false, a = false, b = false;
};

// Knobs of the play policy, in frames and shots.
struct BotPolicy {
    int refill_below = 12;    // refill when the stock is below this and the field allows
    int refill_margin = 60;   // frames of slack every lane must keep for a refill
    int stay_margin = 30;     // slack below which another lane draws the player away
};

BotKeys choose_play_keys(const BotPolicy& policy);
