// The input the game reads once a frame: the keyboard and the first joystick
// folded into one direction and four buttons, with the previous frame's
// values kept beside them so that presses can be told from holds.
#pragma once

#include <cstdint>

// Directions are numeric-keypad codes: 8 up, 2 down, 4 left, 6 right,
// 7 up-left, 9 up-right, 1 down-left, 3 down-right, 5 neutral.
struct InputState {
    int32_t dir;
    uint8_t button_a, button_b, button_c, button_d;
    int32_t dir_prev;
    uint8_t button_a_prev, button_b_prev, button_c_prev, button_d_prev;
    uint8_t use_joystick;  // 1: dir comes from the joystick
    int32_t key_dir_prev;
    int32_t joy_dir_prev;
};

extern InputState input;

constexpr int32_t dir_neutral = 5;
// The keypad's rows: any of the three downward, upward or level directions.
inline bool dir_is_down(int32_t dir) { return dir == 1 || dir == 2 || dir == 3; }
inline bool dir_is_up(int32_t dir) { return dir == 7 || dir == 8 || dir == 9; }
inline bool dir_is_level(int32_t dir) { return dir == 4 || dir == 5 || dir == 6; }

// JoyBits returned by read_joystick.
enum : uint8_t {
    joy_up = 0x01,
    joy_down = 0x02,
    joy_left = 0x04,
    joy_right = 0x08,
    joy_button1 = 0x10,
    joy_button2 = 0x20,
    joy_button3 = 0x40,
    joy_button4 = 0x80,
};

void poll_input();
// Nothing held, no device chosen: the snapshot as it is before the first frame.
void reset_input();
int32_t read_direction();
uint8_t read_joystick();

// A press: held now, not held in the previous frame.
inline bool button_a_pressed() { return input.button_a && !input.button_a_prev; }
inline bool button_b_pressed() { return input.button_b && !input.button_b_prev; }
