// The bar wipes that open and close a screen and the mosaic that breaks the
// sheet's picture up. Each is a resumable machine stepped once per frame.
#include "graphics/picture.h"

int32_t mosaic_step = 0;
WipeState wipe_open_state = wipe_idle;
int32_t wipe_open_offset = 0;
WipeState wipe_close_state = wipe_idle;
int32_t wipe_close_offset = 0;

void reset_transitions() {
    mosaic_step = 0;
    wipe_open_state = wipe_idle;
    wipe_open_offset = 0;
    wipe_close_state = wipe_idle;
    wipe_close_offset = 0;
}

// The band of rows 120 - offset .. 120 + offset shows; the bars cover the rest.
bool wipe_open() {
    if (wipe_open_state == wipe_idle) {
        wipe_open_offset = 0;
        wipe_open_state = wipe_moving;
    }
    if (wipe_open_state == wipe_moving) {
        fill_black(back_buffer, make_rect(0, 0, screen_width, 120 - wipe_open_offset));
        fill_black(back_buffer, make_rect(0, 121 + wipe_open_offset, screen_width, screen_height));
        if (wipe_open_offset > 160) wipe_open_state = wipe_finished;
        wipe_open_offset += 2;
        return false;
    }
    if (wipe_open_state == wipe_finished) {
        wipe_open_offset = 0;
        wipe_open_state = wipe_idle;
        return true;
    }
    return false;
}

// Bars grow from the top and bottom edges until they meet.
bool wipe_close() {
    if (wipe_close_state == wipe_idle) {
        wipe_close_offset = 0;
        wipe_close_state = wipe_moving;
    }
    if (wipe_close_state == wipe_moving) {
        fill_black(back_buffer, make_rect(0, 0, screen_width, wipe_close_offset));
        fill_black(back_buffer, make_rect(0, screen_height - wipe_close_offset, screen_width, screen_height));
        if (wipe_close_offset > 160) wipe_close_state = wipe_finished;
        wipe_close_offset += 2;
        return false;
    }
    if (wipe_close_state == wipe_finished) {
        fill_black(back_buffer, make_rect(0, 0, screen_width, screen_height));
        wipe_close_offset = 0;
        wipe_close_state = wipe_idle;
        return true;
    }
    return false;
}

// Blackens a growing square at the centre of each 16 x 16 cell of the sheet;
// black is the sheet's transparent colour, so copies from there show nothing.
bool mosaic_out() {
    const int32_t s = mosaic_step;
    for (int32_t i = 0; i < 20; ++i) {
        for (int32_t j = 0; j < 15; ++j) {
            const int32_t cx = 16 * i + 8, cy = 16 * j + 8;
            fill_black(sheet, make_rect(cx - (s + 1) / 2, cy - (s + 1) / 2, cx + s / 2, cy + s / 2));
        }
    }
    mosaic_step += 1;
    if (mosaic_step > 18) {
        mosaic_step = 0;
        return true;
    }
    return false;
}
