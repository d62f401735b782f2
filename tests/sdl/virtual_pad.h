// SDL's virtual joysticks standing in for the player's pads in the SDL tests:
// two axes, one hat, six buttons.
#pragma once

#include <SDL.h>

struct VirtualPad {
    int device_index = -1;
    SDL_Joystick* handle = nullptr;
};

// A known pad gets a game controller mapping: a, b, x, y on buttons 0 to 3,
// the d-pad on the hat, the left stick on the axes, and `more` after them
// ("start:b5,").
VirtualPad plug_in(const char* name, bool known, const char* more = "");
void unplug(VirtualPad& pad);
