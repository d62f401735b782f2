#include "support/fresh_game.h"

#include <unistd.h>

#include "audio/audio.h"
#include "audio/audio_internal.h"
#include "gameplay/gameplay.h"
#include "graphics/graphics.h"
#include "hosts/headless/headless.h"
#include "scenes/scenes.h"
#include "core/observer.h"
#include "core/input.h"
#include "core/data_file.h"
#include "core/random.h"
#include "shell/shell.h"

void reset_game_to_start() {
    // What an earlier test left open goes first, through the game's own releases.
    release_music();
    release_display();
    release_sound();
    game_observer = nullptr;
    headless_configure(HeadlessConfig{});

    main_window = nullptr;
    frame_rate = 60;
    last_frame_ms = 0;
    top_scene = 0;
    input = InputState{};
    game_srand(0);

    mosaic_step = 0;
    wipe_open_state = wipe_open_offset = 0;
    wipe_close_state = wipe_close_offset = 0;

    se_enabled = true;
    voice_cooldown = 0;

    title_state = menu_choice = cursor_pos = cursor_blink = 0;
    logo_y = 32;
    logo_speed = 1;
    strip_offset = 0;
    play_state = round_state = 0;
    cutin_state = cutin_offset = 0;
    result_state = result_counter = 0;

    round_data = RoundState{};
    set_game_language(language_japanese);
    set_data_folder("");
}
