// What the real game learns from where it runs: the player's folder for its
// settings, the locale's language, and where its data is.
#pragma once

#include <string>

// The language to play in: the one asked for, else the locale's (the first
// of LC_ALL, LC_MESSAGES and LANG that is set: Japanese for ja..., else English).
bool play_in_english();

// Where the player's own files for the game live: $XDG_CONFIG_HOME/kuzari,
// else ~/.config/kuzari; empty when neither names an absolute folder.
// Nothing here creates it.
std::string kuzari_config_dir();
// $VARIABLE/kuzari, else ~/UNDER_HOME/kuzari; empty when neither is an
// absolute path.
std::string kuzari_xdg_dir(const char* variable, const char* under_home);

// The first folder holding the game's data of: --data (or the data
// setting), $KUZARI_DATA, the folder it was installed to, and data/ of the
// source tree it was built from. When none does, says on standard error
// which were tried and gives the first, whose missing files the game then
// reports as it would any other. A folder the player named that holds no
// data is refused with the reason: then the result is empty.
std::string find_data_folder();
