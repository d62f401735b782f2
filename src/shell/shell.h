// The shell holds the game together: it brings the display, sound and music
// up and down, runs a frame whenever 17 ms have gone by and picks the title or
// the round. The hosts call it; the game's parts never do.
#pragma once

#include <cstdint>

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
