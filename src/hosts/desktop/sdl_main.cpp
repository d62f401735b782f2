// The real game's entry point.
#include <SDL.h>

#include <cstdio>
#include <string>

#include "core/shown_text.h"
#include "hosts/desktop/sdl_options.h"
#include "hosts/desktop/sdl_event_log.h"
#include "hosts/desktop/sdl_platform.h"
#include "core/data_file.h"
#include "core/texts.h"
#include "shell/shell.h"

int main(int argc, char** argv) {
    sdl_catch_signals();
    const int early_exit = read_options(argc, argv);
    if (early_exit >= 0) return early_exit;
    if (!sdl_display_named()) return 1;
    sdl_profile_step("options and display named");
    sdl_start_black_box();
    sdl_profile_step("black box");
    sdl_event_log_start();
    const std::string data_folder = find_data_folder();
    if (data_folder.empty()) return 1;
    set_data_folder(data_folder);
    sdl_profile_step("event log, data folder");
    if (!sdl_start_recording_and_playback()) return 1;
    sdl_profile_step("recording or playback");
    bool english = play_in_english();
    bool recorded_english;
    if (sdl_playback_language(&recorded_english) && recorded_english != english) {
        // A recording replays only in the edition it was made in.
        std::fprintf(stderr, "kuzari: %s was recorded in the %s edition; playing it back in that one\n",
                     shown_text(host_options.playback_path).c_str(), recorded_english ? "English" : "Japanese");
        english = recorded_english;
    }
    set_game_language(english ? language_english : language_japanese);
    sdl_overlay_language(english);
    sdl_start_captions(english);
    sdl_start_viewer(english);
    sdl_start_records(english);
    sdl_profile_step("captions, viewer, records");
    const int exit_code = game_main();
    const bool recorded = sdl_finish_recording();
    SDL_Quit();
    return exit_code == 0 && !recorded ? 1 : exit_code;
}
