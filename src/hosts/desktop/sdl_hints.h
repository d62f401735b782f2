// The hints' words laid over the game's own hint lines on the desktop, in the
// words of the last device played: keyboard (named only when the player
// moved the keys the line names) or pad.
#pragma once

#include "hosts/shared/hints.h"
#include "hosts/shared/overlay_image.h"

// A key or a pad's button went to the game.
void sdl_hint_device(InputDevice device);
InputDevice sdl_hint_device_now();
// The band to lay over the picture with its top at *top (game pixels), or
// null when the game's own line shows untouched.
const OverlayImage* sdl_hint_band(int* top);
