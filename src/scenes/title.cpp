// The title: tiled background, two scrolling strips, the bouncing logo and the
// three-item menu (start, explanation, quit). Its globals live for the whole
// run, so the logo, the strips and the cursor carry on where they stopped.
#include "audio/audio.h"
#include "graphics/graphics.h"
#include "scenes/scenes.h"
#include "core/input.h"

TitleState title_state = title_starting_music;
MenuChoice menu_choice = choice_none;
int32_t cursor_pos = item_start;
int32_t cursor_blink = 0;
int32_t logo_y = 32;
int32_t logo_speed = 1;  // fifths of a pixel per frame, positive = down
int32_t strip_offset = 0;

void reset_title() {
    title_state = title_starting_music;
    menu_choice = choice_none;
    cursor_pos = item_start;
    cursor_blink = 0;
    logo_y = 32;
    logo_speed = 1;
    strip_offset = 0;
}

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

MenuChoice menu_cursor(bool interactive) {
    cursor_blink = (cursor_blink + 1) % 10;
    if (!interactive) {
        draw_cursor();
        return choice_none;
    }

    // One step per push: the stick has to come back to neutral before the next.
    if (input.dir_prev == dir_neutral) {
        if (dir_is_down(input.dir)) {
            cursor_pos = cursor_pos == item_quit ? item_start : cursor_pos + 1;
            play_se(effect_cursor);
        } else if (dir_is_up(input.dir)) {
            cursor_pos = cursor_pos == item_start ? item_quit : cursor_pos - 1;
            play_se(effect_cursor);
        }
    }
    draw_cursor();

    if (button_a_pressed()) {
        play_se(effect_confirm);
        // The explanation plays under the title music; start and quit silence it.
        if (cursor_pos != item_explanation) stop_music();
        return MenuChoice(cursor_pos + 1);
    }
    return choice_none;
}

bool show_explanation() {
    copy_whole_sheet();
    if (button_a_pressed()) {
        play_se(effect_hop);
        return true;
    }
    return false;
}

static void draw_title() {
    draw_title_background();
    draw_title_logo();
}

TitleResult title_scene() {
    if (title_state == title_starting_music) {
        se_enabled = true;
        play_music("midi/title.mid", true);
        title_state = title_loading_sheet;
    }
    if (title_state == title_loading_sheet) {
        load_sheet("bitmap/title.bmp");
        title_state = title_opening;
    }
    switch (title_state) {
    case title_opening:
        draw_title();
        menu_cursor(false);
        if (wipe_open()) title_state = title_choosing;
        menu_choice = choice_none;
        return title_goes_on;
    case title_choosing:
        draw_title();
        menu_choice = menu_cursor(true);
        if (menu_choice != choice_none) {
            title_state = title_closing;
            if (menu_choice == choice_start) play_voice("voice/hajimaru.wav");
            if (menu_choice == choice_explanation) play_voice("voice/setumei.wav");
        }
        return title_goes_on;
    case title_closing:
        draw_title();
        menu_cursor(false);
        if (!wipe_close()) return title_goes_on;
        if (menu_choice == choice_start) {
            menu_choice = choice_none;
            title_state = title_starting_music;
            return title_start_chosen;
        }
        if (menu_choice == choice_explanation) {
            load_sheet("bitmap/setumei.bmp");
            title_state = title_explaining;
            return title_goes_on;
        }
        if (menu_choice == choice_quit) return title_quit_chosen;  // the program ends, nothing to reset
        return title_goes_on;
    case title_explaining:
        // Back to loading: the title sheet is reloaded and wiped open, the music goes on.
        if (show_explanation()) title_state = title_loading_sheet;
        return title_goes_on;
    default:
        return title_goes_on;
    }
}
