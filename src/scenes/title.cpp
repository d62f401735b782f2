// The title: tiled background, two scrolling strips, the bouncing logo and the
// three-item menu (start, explanation, quit). Its globals live for the whole
// run, so the logo, the strips and the cursor carry on where they stopped.
#include "audio/audio.h"
#include "graphics/graphics.h"
#include "scenes/scenes.h"
#include "core/input.h"

int32_t title_state = 0;
int32_t menu_choice = 0;
int32_t cursor_pos = 0;
int32_t cursor_blink = 0;
int32_t logo_y = 32;
int32_t logo_speed = 1;  // fifths of a pixel per frame, positive = down
int32_t strip_offset = 0;

void draw_title_background() {
    const Rect tile = make_rect(288, 0, 320, 32);
    for (int32_t row = 0; row < 6; ++row)
        for (int32_t col = 0; col < 10; ++col) draw_sprite(32 * col, 32 + 32 * row, tile);

    // The top strip runs right, the bottom one left; seven tiles always cover the width.
    const Rect strip = make_rect(0, 0, 64, 32);
    for (int32_t k = 0; k < 7; ++k) {
        draw_sprite(64 * k - strip_offset, 0, strip);
        draw_sprite(64 * k + strip_offset - 64, 208, strip);
    }
    strip_offset -= 1;
    if (strip_offset <= 0) strip_offset = 64;
}

void draw_title_logo() {
    draw_sprite(224, 112, make_rect(0, 96, 64, 192));  // menu labels
    draw_sprite(16, 176, make_rect(128, 0, 288, 32));  // caption

    // A bounce: at the bottom it is kicked up, then gravity pulls it back.
    if (logo_y >= 48) logo_speed = -20;
    logo_speed += 1;
    logo_y += logo_speed / 5;
    draw_sprite(0, logo_y, make_rect(0, 32, 320, 96));
}

static void draw_cursor() {
    const int32_t left = 64 + 32 * (cursor_blink / 5);
    draw_sprite(192, 112 + 32 * cursor_pos, make_rect(left, 0, left + 32, 32));
}

int32_t menu_cursor(bool interactive) {
    cursor_blink = (cursor_blink + 1) % 10;
    if (!interactive) {
        draw_cursor();
        return 0;
    }

    // One step per push: the stick has to come back to neutral before the next.
    if (input.dir_prev == 5) {
        switch (input.dir) {
        case 1: case 2: case 3:
            cursor_pos = cursor_pos == 2 ? 0 : cursor_pos + 1;
            play_se(1);
            break;
        case 7: case 8: case 9:
            cursor_pos = cursor_pos == 0 ? 2 : cursor_pos - 1;
            play_se(1);
            break;
        default:
            break;
        }
    }
    draw_cursor();

    if (button_a_pressed()) {
        play_se(0);
        // The explanation plays under the title music; start and quit silence it.
        if (cursor_pos != 1) stop_music();
        return cursor_pos + 1;
    }
    return 0;
}

bool show_explanation() {
    copy_whole_sheet();
    if (button_a_pressed()) {
        play_se(2);
        return true;
    }
    return false;
}

static void draw_title() {
    draw_title_background();
    draw_title_logo();
}

int32_t title_scene() {
    if (title_state == 0) {
        se_enabled = true;
        play_music("midi/title.mid", true);
        title_state = 1;
    }
    if (title_state == 1) {
        load_sheet("bitmap/title.bmp");
        title_state = 2;
    }
    switch (title_state) {
    case 2:
        draw_title();
        menu_cursor(false);
        if (wipe_open()) title_state = 3;
        menu_choice = 0;
        return 0;
    case 3:
        draw_title();
        menu_choice = menu_cursor(true);
        if (menu_choice != 0) {
            title_state = 4;
            if (menu_choice == 1) play_voice("voice/hajimaru.wav");
            if (menu_choice == 2) play_voice("voice/setumei.wav");
        }
        return 0;
    case 4:
        draw_title();
        menu_cursor(false);
        if (!wipe_close()) return 0;
        if (menu_choice == 1) {
            menu_choice = 0;
            title_state = 0;
            return 1;
        }
        if (menu_choice == 2) {
            load_sheet("bitmap/setumei.bmp");
            title_state = 5;
            return 0;
        }
        if (menu_choice == 3) return 2;  // quit: the program ends, nothing to reset
        return 0;
    case 5:
        // Back to state 1: the title sheet is reloaded and wiped open, the music goes on.
        if (show_explanation()) title_state = 1;
        return 0;
    default:
        return 0;
    }
}
