// The game's services started inside the benchmark process on the headless
// platform, and the screens the benchmarks draw, each set up in its heaviest
// frame and put back before every run of it.
#pragma once

#include <cstdint>

// Pixel bytes written by sprite copies, fills and whole-sheet copies since the
// start: what a frame's cost is set against.
extern uint64_t pixel_bytes_written;

// Enters the data directory and starts the display, sound and music as at
// start-up. False if any of them did not start.
bool start_bench_game();

// Each `set_up_*` prepares a scene once; the matching `*_frame` puts its state
// back and runs one frame of it, drawing into the back buffer.

// The title with its menu live and every picture on screen.
void set_up_title();
void title_menu_frame();
// The title's last closing-wipe step with bars, the heaviest title frame.
void title_wipe_frame();

// Play with all twenty raiders walking on screen and the full gauge of 38 shots.
void set_up_play();
void play_frame();

// The ranking screen breaking up, at the mosaic step that fills the most.
// The frame eats the sheet: put it back (outside the timing) before each run.
void set_up_mosaic();
void put_back_mosaic_sheet();
void mosaic_frame();

// The explanation picture copied whole onto the screen.
void set_up_explanation();
void explanation_frame();
