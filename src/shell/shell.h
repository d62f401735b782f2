// The shell holds the game together: it brings the display, sound and music
// up and down, runs a frame whenever 17 ms have gone by, picks the title or the
// round, reads the devices once a frame, and owns the game's random numbers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct PlatformWindow;

// ---- Entry, window and frame loop ---------------------------------------------

extern PlatformWindow* main_window;
extern uint32_t frame_rate;     // 60: frames per second aimed at
extern uint32_t last_frame_ms;  // clock at the start of the last presented frame
extern int32_t top_scene;       // 0 title, 1 play

// Runs the whole program and returns its exit code (always 0).
int game_main();

// game_main in pieces, for a host that must not block (the browser): the
// start-up (false: it failed and the program is over), one pass of the
// message loop (a message, or a frame and the wait for the next; false once
// the loop is over), and the shutdown after it.
bool game_start();
bool game_step();
void game_finish();

// True when the message loop is to end.
bool frame_tick();
bool run_top_scene();
int run_title_guarded();

// ---- Input ----------------------------------------------------------------------

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
int32_t read_direction();
uint8_t read_joystick();

// A press: held now, not held in the previous frame.
inline bool button_a_pressed() { return input.button_a && !input.button_a_prev; }
inline bool button_b_pressed() { return input.button_b && !input.button_b_prev; }

// ---- Data files and language -----------------------------------------------------

// The language of what the game shows: its pictures and its boxes' texts.
// The voices are Japanese in both.
enum GameLanguage { language_japanese, language_english };
void set_game_language(GameLanguage language);
GameLanguage game_language();

enum GameText { text_display_failed, text_sound_failed, text_music_failed, text_missing_file };
// A box's text in the language chosen (UTF-8).
const char* game_text(GameText text);

// Reads a whole file of the game's data; false when it cannot be opened or
// read, or holds more than `max_bytes`, in which case nothing is allocated.
bool read_data_file(const char* path, size_t max_bytes, std::vector<uint8_t>* bytes);

// ---- Random generator -------------------------------------------------------------
// The game's own linear congruential generator, 0..32767; not the C library's.

void game_srand(uint32_t seed);
int32_t game_rand();
