// The per-frame input snapshot. Buttons merge keyboard and joystick; the
// direction comes from whichever device most recently left neutral.
#include "platform/platform.h"
#include "core/input.h"

InputState input;

void reset_input() { input = InputState{}; }

uint8_t read_joystick() {
    JoystickState joystick;
    if (!platform_read_joystick(&joystick)) return 0;
    uint8_t bits = 0;
    if (joystick.y < 0x4000) bits |= joy_up;
    if (joystick.y >= 0xC000) bits |= joy_down;
    if (joystick.x < 0x4000) bits |= joy_left;
    if (joystick.x >= 0xC000) bits |= joy_right;
    if (joystick.buttons & 0x1) bits |= joy_button1;
    if (joystick.buttons & 0x2) bits |= joy_button2;
    if (joystick.buttons & 0x4) bits |= joy_button3;
    if (joystick.buttons & 0x8) bits |= joy_button4;
    return bits;
}

static KeyboardState read_keyboard() {
    KeyboardState keys{};
    if (!platform_read_keyboard(&keys)) keys = KeyboardState{};
    return keys;
}

static int32_t keyboard_direction(const KeyboardState& keys) {
    int32_t kd;
    if (keys.up) {
        kd = 8;
        if (keys.left) kd = 7;
        if (keys.right) kd = 9;
    } else if (keys.down) {
        kd = 2;
        if (keys.left) kd = 1;
        if (keys.right) kd = 3;
    } else {
        kd = 5;
        if (keys.left) kd = 4;
        if (keys.right) kd = 6;
    }
    return kd;
}

static int32_t joystick_direction(uint8_t bits) {
    int32_t jd = 5;
    if (bits & (joy_up | joy_down)) {
        if (bits & joy_down) {
            jd = 2;
            if (bits & joy_left) jd = 1;
            if (bits & joy_right) jd = 3;
        }
        if (bits & joy_up) {
            jd = 8;
            if (bits & joy_left) jd = 7;
            if (bits & joy_right) jd = 9;
        }
    } else {
        if (bits & joy_left) jd = 4;
        if (bits & joy_right) jd = 6;
    }
    return jd;
}

int32_t read_direction() {
    const uint8_t bits = read_joystick();
    const KeyboardState keys = read_keyboard();
    const int32_t kd = keyboard_direction(keys);
    const int32_t jd = joystick_direction(bits);

    // A device takes the direction over only in the frame it leaves neutral;
    // the joystick is tested second, so it wins a tie.
    if (input.key_dir_prev == 5 && kd != 5) input.use_joystick = 0;
    if (input.joy_dir_prev == 5 && jd != 5) input.use_joystick = 1;
    input.key_dir_prev = kd;
    input.joy_dir_prev = jd;
    return input.use_joystick ? jd : kd;
}

void poll_input() {
    const uint8_t bits = read_joystick();
    const KeyboardState keys = read_keyboard();

    input.button_a_prev = input.button_a;
    input.button_b_prev = input.button_b;
    input.button_c_prev = input.button_c;
    input.button_d_prev = input.button_d;
    input.dir_prev = input.dir;

    input.button_a = (keys.enter || (bits & joy_button1)) ? 1 : 0;
    input.button_b = (keys.shift || (bits & joy_button2)) ? 1 : 0;
    input.button_c = (keys.ctrl || (bits & joy_button3)) ? 1 : 0;
    input.button_d = (keys.space || (bits & joy_button4)) ? 1 : 0;

    input.dir = read_direction();
}
