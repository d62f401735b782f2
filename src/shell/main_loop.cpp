// main for every host: bring the services up, pump messages and run frames on
// the clock until the window goes, then take everything down in order.
#include "audio/audio.h"
#include "graphics/graphics.h"
#include "platform/platform.h"
#include "scenes/scenes.h"
#include "core/input.h"
#include "core/observer.h"
#include "core/random.h"
#include "core/texts.h"
#include "shell/shell.h"

PlatformWindow* main_window = nullptr;
uint32_t frame_rate = 60;
uint32_t last_frame_ms = 0;
TopScene top_scene = scene_title;

void reset_shell() {
    main_window = nullptr;
    frame_rate = 60;
    last_frame_ms = 0;
    top_scene = scene_title;
}

// Safe at any point: each release checks what it holds first, so a half-done
// start-up or a second call costs nothing.
static void shutdown_sequence() {
    release_music();
    release_display();
    release_sound();
    platform_post_quit();
}

static void on_window_created() {
    game_srand(platform_calendar_seconds());
    platform_hide_cursor();
}

// Destroying the window delivers its destruction notice first, as the window
// system does, and only then takes the window away.
static void destroy_main_window() {
    shutdown_sequence();
    platform_destroy_window(main_window);
    main_window = nullptr;
}

static void window_proc(const PlatformMessage& message) {
    switch (message.kind) {
    case message_key_down:
        // Every key-down is consumed here; only Escape does anything.
        if (message.key_is_escape) destroy_main_window();
        break;
    case message_close:
        destroy_main_window();
        break;
    case message_quit:
        break;
    }
}

TitleResult title_frame_result() {
    const TitleResult result = title_scene();
    if (result == title_start_chosen || result == title_quit_chosen) return result;
    return title_goes_on;
}

bool run_top_scene() {
    switch (top_scene) {
    case scene_title: {
        const TitleResult result = title_frame_result();
        if (result == title_start_chosen) top_scene = scene_play;
        return result == title_quit_chosen;
    }
    case scene_play:
        if (play_wrapper() != 0) top_scene = scene_title;
        return false;
    default:
        return false;
    }
}

bool frame_ends_loop() {
    const uint32_t now = platform_ticks_ms();
    if (now - last_frame_ms <= 1000 / frame_rate) return false;

    poll_input();
    tick_voice_cooldown();
    if (run_top_scene()) {
        observe(&GameObserver::frame_finished, false);
        return true;
    }
    present_frame();
    last_frame_ms = now;
    observe(&GameObserver::frame_finished, true);
    return false;
}

static void fail_start_up(const char* text) {
    platform_message_box(text, "", false);
}

bool game_start() {
    reset_game_state();
    main_window = platform_create_window("Kuzari", screen_width, screen_height);
    on_window_created();

    if (!init_display(main_window, screen_width, screen_height)) {
        fail_start_up(game_text(text_display_failed));
        release_display();
        return false;
    }
    if (!init_sound()) {
        fail_start_up(game_text(text_sound_failed));
        release_sound();
        release_display();
        return false;
    }
    if (!init_music(main_window)) {
        fail_start_up(game_text(text_music_failed));
        release_music();
        release_sound();
        release_display();
        return false;
    }
    return true;
}

bool game_step() {
    PlatformMessage message;
    if (platform_take_message(&message)) {
        if (message.kind == message_quit) return false;
        window_proc(message);
        return true;
    }
    if (frame_ends_loop()) return false;
    // Sleep until the next frame is due instead of spinning on the clock.
    platform_wait_until(last_frame_ms + 1000 / frame_rate + 1);
    return true;
}

void game_restart() {
    PlatformWindow* const window = main_window;
    stop_music();
    reset_game_state();
    main_window = window;
    restart_display();
    on_window_created();
}

void game_finish() { shutdown_sequence(); }

int game_main() {
    if (!game_start()) return exit_start_up_failed;
    while (game_step()) {
    }
    game_finish();
    return 0;
}
