// Helpers for tests that drive the round's own functions in-process: a player
// standing at a lane, frame-by-frame input, and checks on what was drawn and heard.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "graphics/graphics.h"

// Starts the display and loads the round's sheet, so drawing really happens.
bool start_round_display();

// The player idle at the home position of `lane` with a full stock.
void place_player(int32_t lane);

// Input for the next frame: the current copies become the previous ones.
void next_input(int32_t dir, bool a = false, bool b = false);

// One play frame's gameplay calls in the round's order (without drawing the field).
void play_frame();

// The back buffer's hash after clearing it and running `draw`.
uint64_t drawn_hash(const std::function<void()>& draw);
// The back buffer's hash after clearing it and drawing these sprites in order.
struct Placed {
    int32_t x, y;
    Rect rect;
};
uint64_t sprites_hash(const std::vector<Placed>& sprites);

// True once the sound engine records its calls (the stand-in records nothing).
bool sound_is_recorded();
// The sound calls since the last look, as "se 3" / "voice voice/tama.wav".
std::vector<std::string> take_sounds();
