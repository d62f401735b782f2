#include "hosts/shared/input_latch.h"

void latch_key_down(InputLatch* latch, GameKey key) {
    if (key >= 0 && key < game_key_count) latch->keys_tapped[key] = true;
}

void latch_buttons_down(InputLatch* latch, uint8_t buttons) { latch->buttons_tapped |= uint8_t(buttons & 0xF); }

void latch_pushes(InputLatch* latch, uint8_t pushes) { latch->pushes_tapped |= uint8_t(pushes & 0xF); }

KeyboardState latched_keyboard(const InputLatch& latch, const bool (&held)[game_key_count]) {
    KeyboardState keys{};
    for (int key = 0; key < game_key_count; ++key)
        if (held[key] || latch.keys_tapped[key]) keys.*game_keys[key].field = true;
    return keys;
}

uint8_t latched_buttons(const InputLatch& latch, uint8_t held) { return uint8_t((held | latch.buttons_tapped) & 0xF); }

uint8_t latched_pushes(const InputLatch& latch, uint8_t held) { return uint8_t((held | latch.pushes_tapped) & 0xF); }

void apply_pushes(uint8_t pushes, JoystickState* state) {
    if (pushes & push_left) state->x = 0;
    if (pushes & push_right) state->x = 0xFFFF;
    if (pushes & push_up) state->y = 0;
    if (pushes & push_down) state->y = 0xFFFF;
}

void latch_pad_gone(InputLatch* latch) { latch->buttons_tapped = latch->pushes_tapped = 0; }

void latch_frame_shown(InputLatch* latch) { *latch = InputLatch{}; }
