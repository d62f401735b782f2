// The keyboard and the first pad as the page reports them. As on the desktop,
// a key or button that went down since the last frame counts as held in the
// next one, however short the tap.
#include "hosts/web/web_host.h"

namespace {

constexpr int game_key_count = 8;  // up, down, left, right, enter, shift, ctrl, space

bool key_held[game_key_count];
bool key_tapped[game_key_count];

enum : uint8_t { push_up = 1, push_down = 2, push_left = 4, push_right = 8 };

bool pad_connected = false;
JoystickState pad{0x8000, 0x8000, 0};
uint8_t pad_pushes = 0;             // the d-pad held now
uint8_t buttons_tapped = 0;         // bit n: button n + 1 went down since the last frame
uint8_t pushes_tapped = 0;          // d-pad pushes since the last frame

// What the frame read, for a recording.
KeyboardState keys_read{};
JoystickState joystick_read{0x8000, 0x8000, 0};

bool KeyboardState::*const key_fields[game_key_count] = {
    &KeyboardState::up,    &KeyboardState::down,  &KeyboardState::left, &KeyboardState::right,
    &KeyboardState::enter, &KeyboardState::shift, &KeyboardState::ctrl, &KeyboardState::space,
};

}  // namespace

// One of the game's keys is now held or not (any of the keys bound to it).
WEB_EXPORT("web_key") void web_key(int key, int held) {
    if (key < 0 || key >= game_key_count) return;
    if (held && !key_held[key]) key_tapped[key] = true;
    key_held[key] = held != 0;
}

// The pad as the page last read it: the stick's position (0..0xFFFF, centre
// 0x8000), the four face buttons (bit n: button n + 1) and the d-pad's pushes
// (1 up, 2 down, 4 left, 8 right).
WEB_EXPORT("web_pad") void web_pad(int connected, int x, int y, int buttons, int pushes) {
    pad_connected = connected != 0;
    if (!pad_connected) {
        pad = JoystickState{0x8000, 0x8000, 0};
        pad_pushes = buttons_tapped = pushes_tapped = 0;
        return;
    }
    pad.x = uint16_t(x);
    pad.y = uint16_t(y);
    pad.buttons = uint8_t(buttons & 0xF);
    pad_pushes = uint8_t(pushes & 0xF);
    buttons_tapped |= pad.buttons;
    pushes_tapped |= pad_pushes;
}

void web_input_read(KeyboardState* keys, JoystickState* joystick) {
    *keys = keys_read;
    *joystick = joystick_read;
}

void web_frame_shown() {
    for (bool& tapped : key_tapped) tapped = false;
    buttons_tapped = pushes_tapped = 0;
}

bool platform_read_keyboard(KeyboardState* keys) {
    if (web_script_running()) {
        web_script_keyboard(keys);
        return true;
    }
    *keys = KeyboardState{};
    for (int key = 0; key < game_key_count; ++key)
        if (key_held[key] || key_tapped[key]) keys->*key_fields[key] = true;
    keys_read = *keys;
    return true;
}

// A push of the d-pad overrides the stick on its axis, as on the desktop.
bool platform_read_joystick(JoystickState* joystick) {
    if (web_script_running()) {
        web_script_joystick(joystick);
        return true;
    }
    joystick_read = JoystickState{0x8000, 0x8000, 0};
    if (!pad_connected) return false;
    *joystick = pad;
    joystick->buttons = uint8_t(pad.buttons | buttons_tapped);
    const uint8_t pushes = uint8_t(pad_pushes | pushes_tapped);
    if (pushes & push_left) joystick->x = 0;
    if (pushes & push_right) joystick->x = 0xFFFF;
    if (pushes & push_up) joystick->y = 0;
    if (pushes & push_down) joystick->y = 0xFFFF;
    joystick_read = *joystick;
    return true;
}
