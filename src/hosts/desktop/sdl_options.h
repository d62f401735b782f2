// The real game's options. Each has a key in the settings file
// ($XDG_CONFIG_HOME/kuzari/kuzari.ini) and most a command-line option; the
// command line wins over the file.
#pragma once

#include <SDL.h>

#include <string>
#include <vector>

#include "hosts/shared/game_keys.h"


struct HostOptions {
    bool fullscreen = true;
    int scale = 0;  // the window's whole-number enlargement; 0: the largest that fits
    bool pause_in_background = true;
    bool sound = true;
    int volume = 100, music_volume = 100, effects_volume = 100;  // percent
    int screenshot_scale = 1;
    std::string record_path;    // write every frame's input here
    std::string playback_path;  // take every frame's input from here
    std::vector<SDL_Keycode> keys[game_key_count];
    std::string lang;  // "ja" or "en"; empty: the locale's
    bool vsync = false;
};

extern HostOptions host_options;

// Reads the settings file and then the command line into host_options.
// Returns -1 to go on and play, or the exit status to end with at once (after
// --help, --version, --write-config, or a mistake on the command line).
int read_options(int argc, char** argv);

// The language to play in: the one asked for, else the locale's (the first
// of LC_ALL, LC_MESSAGES and LANG that is set: Japanese for ja..., else English).
bool play_in_english();

// Where the player's own files for the game live: $XDG_CONFIG_HOME/kuzari,
// else ~/.config/kuzari. Nothing here creates it.
std::string kuzari_config_dir();

// A path the player gave, made absolute against the folder the game was
// started from (the launcher moves into the data folder before it starts us).
std::string player_path(const std::string& path);
