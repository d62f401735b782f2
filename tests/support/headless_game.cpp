#include "support/headless_game.h"

#include <unistd.h>

#include "audio/audio.h"
#include "graphics/graphics.h"
#include "shell/shell.h"

bool start_headless_display(HeadlessConfig config) {
    if (chdir(KUZARI_DATA_DIR) != 0) return false;
    headless_configure(config);
    main_window = platform_create_window("Kuzari", screen_width, screen_height);
    return init_display(main_window, screen_width, screen_height);
}

bool start_headless_game(HeadlessConfig config) {
    return start_headless_display(config) && init_sound() && init_music(main_window);
}
