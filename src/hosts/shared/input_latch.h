// Live input between two frames. A frame reads the keyboard and the pad once,
// so a key or button that went down and came up again in between would be
// lost: it is latched and counts as held in the next frame, however short the
// tap. A push of the d-pad (or hat) overrides the stick on its axis.
#pragma once

#include <cstdint>

#include "hosts/shared/game_keys.h"
#include "platform/platform.h"

enum PadPush : uint8_t { push_up = 1, push_down = 2, push_left = 4, push_right = 8 };

struct InputLatch {
    bool keys_tapped[game_key_count];
    uint8_t buttons_tapped;  // bit n: button n + 1 went down since the last frame
    uint8_t pushes_tapped;   // PadPush bits pushed since the last frame
};

void latch_key_down(InputLatch* latch, GameKey key);
void latch_buttons_down(InputLatch* latch, uint8_t buttons);
void latch_pushes(InputLatch* latch, uint8_t pushes);

// The keyboard as the frame sees it: each game key held now or tapped.
KeyboardState latched_keyboard(const InputLatch& latch, const bool (&held)[game_key_count]);
// The pad's buttons and d-pad pushes as the frame sees them: held now or tapped.
uint8_t latched_buttons(const InputLatch& latch, uint8_t held);
uint8_t latched_pushes(const InputLatch& latch, uint8_t held);
// Pushes move the stick to the end of their axis.
void apply_pushes(uint8_t pushes, JoystickState* state);
// The pad went: its taps go with it.
void latch_pad_gone(InputLatch* latch);
// The frame has read its input: the taps are spent.
void latch_frame_shown(InputLatch* latch);
