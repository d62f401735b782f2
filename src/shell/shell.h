// The shell holds the game together: it brings the display, sound and music
// up and down, runs a frame whenever 17 ms have gone by and picks the title or
// the round. The hosts call it; the game's parts never do.
#pragma once

#include <cstdint>

struct PlatformWindow;
enum TitleResult : int32_t;  // scenes/scenes.h

// ---- Entry, window and frame loop ---------------------------------------------

extern PlatformWindow* main_window;
extern uint32_t frame_rate;     // 60: frames per second aimed at
extern uint32_t last_frame_ms;  // when the frame last shown began, by the clock
enum TopScene : int32_t { scene_title = 0, scene_play = 1 };

extern TopScene top_scene;

// Runs the whole program and returns its exit code: 0, or
// exit_start_up_failed when a service could not start (after its box).
constexpr int exit_start_up_failed = 1;
int game_main();

// game_main in pieces, for a host that must not block (the browser): the
// start-up (false: it failed and the program is over), one pass of the
// message loop (a message, or a frame and the wait for the next; false once
// the loop is over), and the shutdown after it.
bool game_start();
bool game_step();
void game_finish();
// The game from its start again in the same window with the same services:
// state, picture and seed as game_start leaves them. A host watching a
// recording calls it between frames to go back.
void game_restart();

// Runs a frame when one is due; true when it ended the message loop.
bool frame_ends_loop();
// Steps the scene on top; true when it ended the program.
bool run_top_scene();
// Steps the title and says what came of its frame.
TitleResult title_frame_result();

// Every global of the game back to how the program starts it: the shell's,
// the scenes', the round's, the transitions', the sound's (not its loaded
// clips), the input and the random generator. The language stays as chosen:
// it is a setting, given before the game starts. Start-up calls it, so a
// second game in one process starts like the first.
void reset_game_state();
// The shell's own part of it.
void reset_shell();
