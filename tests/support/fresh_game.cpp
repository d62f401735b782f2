#include "support/fresh_game.h"

#include "audio/audio.h"
#include "core/data_file.h"
#include "core/observer.h"
#include "graphics/graphics.h"
#include "hosts/headless/headless.h"
#include "shell/shell.h"

void reset_game_to_start() {
    // What an earlier test left open goes first, through the game's own releases.
    release_music();
    release_display();
    release_sound();
    clear_game_observers();
    headless_configure(HeadlessConfig{});

    reset_game_state();
    // A setting the game keeps, so not part of its state; tests change it.
    set_game_language(language_japanese);
    set_data_folder("");
}
