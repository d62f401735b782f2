// Graphics: the screen with its back buffer, the one sprite sheet every picture
// is copied from, and the drawing primitives and screen transitions.
#pragma once

#include <cstdint>

struct PlatformWindow;

// A rectangle; right and bottom are exclusive.
struct Rect {
    int32_t left, top, right, bottom;
};

inline Rect make_rect(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    return Rect{left, top, right, bottom};
}

constexpr int screen_width = 320;
constexpr int screen_height = 240;

// ---- Display and sheet --------------------------------------------------------------

bool init_display(PlatformWindow* window, int width, int height);
// The back buffer blank and the title's sheet again, as the display opened them.
void restart_display();
void release_display();
// Copies a Windows bitmap into the sheet. On a bad or missing file the player
// is told in a box and the old picture stays.
bool load_sheet(const char* path);
void present_frame();

// ---- Drawing --------------------------------------------------------------------------

// Copies `rect` of the sheet to (x, y) on the back buffer, clipped to the
// screen, leaving out the sheet's transparent colour 0.
void draw_sprite(int32_t x, int32_t y, Rect rect);
void clear_screen();
// Copies the whole sheet onto the whole back buffer, opaque, stretched when
// their sizes differ.
void copy_whole_sheet();

// Screen transitions: call once per frame after drawing the screen; each returns
// true on the call that ends it and is then ready for its next use.
bool wipe_open();
bool wipe_close();
bool mosaic_out();

// Where a wipe stands: not begun, its bars moving, or finished and due to end.
enum WipeState : int32_t { wipe_idle = 0, wipe_moving = 1, wipe_finished = 2 };

extern int32_t mosaic_step;
extern WipeState wipe_open_state;
extern int32_t wipe_open_offset;
extern WipeState wipe_close_state;
extern int32_t wipe_close_offset;

// Every transition back to not begun, as at start-up.
void reset_transitions();

// ---- Looking at the pictures (trace, screenshots, tests) -------------------------------

// The back buffer's RGB565 pixels, `screen_width` per row, or null before the display exists.
const uint16_t* back_buffer_pixels();
// 64-bit FNV-1a over the back buffer, rows top to bottom, each pixel low byte first.
uint64_t back_buffer_hash();
// The sheet's size and one pixel (0 outside it or without a sheet).
bool sheet_size(int* width, int* height);
uint16_t sheet_pixel(int x, int y);
