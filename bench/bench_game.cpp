#include "bench_game.h"

#include <unistd.h>

#include <cstring>
#include <vector>

#include "audio/audio.h"
#include "gameplay/gameplay.h"
#include "graphics/graphics.h"
#include "graphics/picture.h"
#include "hosts/headless/headless.h"
#include "scenes/scenes.h"
#include "core/observer.h"
#include "shell/shell.h"

uint64_t pixel_bytes_written = 0;

namespace {

const GameObserver byte_counter = {
    nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
    [](uint64_t bytes) { pixel_bytes_written += bytes; },
};

}  // namespace

bool start_bench_game() {
    if (chdir(KUZARI_DATA_DIR) != 0) return false;
    headless_configure(HeadlessConfig{});
    clear_game_observers();  // no trace: only what the frames write
    add_game_observer(&byte_counter);
    main_window = platform_create_window("Kuzari", screen_width, screen_height);
    return init_display(main_window, screen_width, screen_height) && init_sound() && init_music(main_window);
}

namespace {

struct TitleValues {
    TitleState title_state;
    MenuChoice menu_choice;
    int32_t cursor_pos, cursor_blink, logo_y, logo_speed, strip_offset;
    WipeState wipe_close_state;
    int32_t wipe_close_offset;
};
TitleValues title_values;

void put_title_back(const TitleValues& v) {
    title_state = v.title_state;
    menu_choice = v.menu_choice;
    cursor_pos = v.cursor_pos;
    cursor_blink = v.cursor_blink;
    logo_y = v.logo_y;
    logo_speed = v.logo_speed;
    strip_offset = v.strip_offset;
    wipe_close_state = v.wipe_close_state;
    wipe_close_offset = v.wipe_close_offset;
}

RoundState play_values;
Pixels mosaic_sheet;

}  // namespace

void set_up_title() {
    title_state = title_loading_sheet;  // whatever screen ran before
    wipe_open_state = wipe_idle;
    title_scene();
    wipe_open_state = wipe_idle;
    wipe_open_offset = 0;
    // The logo at the bottom of its swing, the strips half way.
    title_values = TitleValues{title_choosing, choice_none, item_start, 0, 50, 1, 32, wipe_idle, 0};
}

void title_menu_frame() {
    put_title_back(title_values);
    title_scene();
}

void title_wipe_frame() {
    // The step with offset 162: both bars cover 162 rows, over every picture.
    TitleValues v = title_values;
    v.title_state = title_closing;
    v.menu_choice = choice_start;
    v.wipe_close_state = wipe_moving;
    v.wipe_close_offset = 162;
    put_title_back(v);
    title_scene();
}

void set_up_play() {
    reset_round();  // loads the round's sheet
    RoundState& r = round_data;
    for (int32_t i = 0; i < lane_count; ++i) r.bowls[i] = Bowl{88 - 16 * i, 48 + 32 * i, 1000};
    r.player_lane = 1;
    r.player_x = 56 - 16;
    r.player_y = 32 + 48;
    r.player_pose = pose_standing;
    // Five raiders per lane spread between the stop line and the right edge.
    for (int32_t row = 0; row < lane_count; ++row)
        for (int32_t slot = 0; slot < raiders_per_lane; ++slot)
            r.raiders[row][slot] = Raider{130 + 38 * slot, 32 * row + 44, 3, 2 * slot, raider_walking};
    play_values = r;
    play_state = play_in_round;
}

void play_frame() {
    round_data = play_values;
    round_state = round_playing;
    round_flow();
}

void set_up_mosaic() {
    load_sheet("bitmap/end.bmp");
    round_data.rank = 2;
    // The holes of the fifteen steps before the one with 16-pixel squares,
    // which fills the most of the sheet.
    mosaic_step = 0;
    for (int step = 0; step < 16; ++step) mosaic_out();
    mosaic_sheet = sheet.pixels;
}

void put_back_mosaic_sheet() { std::memcpy(sheet.pixels.data(), mosaic_sheet.data(), mosaic_sheet.size() * 2); }

void mosaic_frame() {
    mosaic_step = 16;
    result_state = result_breaking_up;
    result_sequence();
}

void set_up_explanation() {
    load_sheet("bitmap/setumei.bmp");
    title_state = title_explaining;
}

void explanation_frame() { title_scene(); }
