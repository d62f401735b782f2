// The real game's options. Each has a key in the settings file
// ($XDG_CONFIG_HOME/kuzari/kuzari.ini) and most a command-line option; the
// command line wins over the file. Paths the player gives are relative to
// the folder the game was started in: the game never leaves it.
#pragma once

#include <SDL.h>

#include <string>
#include <vector>

#include "hosts/desktop/sdl_command_line.h"
#include "hosts/desktop/sdl_environment.h"
#include "hosts/shared/captions.h"
#include "hosts/shared/game_keys.h"

struct HostOptions {
    bool fullscreen = true;
    int scale = 0;  // the window's whole-number enlargement; 0: the largest that fits
    bool pause_in_background = true;
    bool sound = true;
    int volume = 100, music_volume = 100, effects_volume = 100;  // percent
    bool mute = false;  // M switches it for the session
    CaptionMode captions = captions_auto;
    int screenshot_scale = 1;
    std::string record_path;    // write every frame's input here
    std::string playback_path;  // take every frame's input from here
    std::string playback_speed;  // --speed: the pace to watch it at ("1/4" ... "8", "max"); empty: 1
    std::vector<SDL_Keycode> keys[game_key_count];
    // Each game key's buttons on a pad SDL knows (its game controller API).
    std::vector<SDL_GameControllerButton> pad_buttons[game_key_count];
    std::string lang;  // "ja" or "en"; empty: the locale's
    bool vsync = false;
    std::string data_dir;  // where the game's data is; empty: look for it
    std::string settings_path;  // the settings file read at start, where the menu's changes go; empty: none
};

extern HostOptions host_options;

