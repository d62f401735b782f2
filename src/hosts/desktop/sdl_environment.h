// What the real game learns from where it runs: the player's folder for its
// settings, the locale's language, and the folder it was started from.
#pragma once

#include <string>

// The language to play in: the one asked for, else the locale's (the first
// of LC_ALL, LC_MESSAGES and LANG that is set: Japanese for ja..., else English).
bool play_in_english();

// Where the player's own files for the game live: $XDG_CONFIG_HOME/kuzari,
// else ~/.config/kuzari. Nothing here creates it.
std::string kuzari_config_dir();

// A path the player gave, made absolute against the folder the game was
// started from (the launcher moves into the data folder before it starts us).
std::string player_path(const std::string& path);
