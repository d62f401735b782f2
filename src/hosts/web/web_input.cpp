// The keyboard and the first pad as the page reports them, latched between
// frames and fed to the game as on every host.
#include "hosts/shared/input_feed.h"
#include "hosts/shared/input_latch.h"
#include "hosts/web/web_host.h"

namespace {

bool key_held[game_key_count];
InputLatch latch{};

bool pad_connected = false;
JoystickState pad = joystick_at_rest;
uint8_t pad_pushes = 0;  // the d-pad held now

}  // namespace

// One of the game's keys is now held or not (any of the keys bound to it).
WEB_EXPORT("web_key") void web_key(int key, int held) {
    if (key < 0 || key >= game_key_count) return;
    if (held && !key_held[key]) latch_key_down(&latch, GameKey(key));
    key_held[key] = held != 0;
}

// The pad as the page last read it: the stick's position (0..0xFFFF, centre
// 0x8000), the four face buttons (bit n: button n + 1) and the d-pad's pushes
// (1 up, 2 down, 4 left, 8 right).
WEB_EXPORT("web_pad") void web_pad(int connected, int x, int y, int buttons, int pushes) {
    pad_connected = connected != 0;
    if (!pad_connected) {
        pad = joystick_at_rest;
        pad_pushes = 0;
        latch_pad_gone(&latch);
        return;
    }
    pad = JoystickState{uint16_t(x), uint16_t(y), uint8_t(buttons & 0xF)};
    pad_pushes = uint8_t(pushes & 0xF);
    latch_buttons_down(&latch, pad.buttons);
    latch_pushes(&latch, pad_pushes);
}

void web_frame_shown() { latch_frame_shown(&latch); }

bool platform_read_keyboard(KeyboardState* keys) {
    return feed_keyboard(true, latched_keyboard(latch, key_held), keys);
}

bool platform_read_joystick(JoystickState* joystick) {
    JoystickState live = pad;
    live.buttons = latched_buttons(latch, pad.buttons);
    apply_pushes(latched_pushes(latch, pad_pushes), &live);
    return feed_joystick(pad_connected, live, joystick);
}
