// The real game's options: one table serves the command line, --help and
// the manual's list.
#pragma once

#include <string>

struct HostOptions {
    bool fullscreen = true;
    int scale = 0;  // the window's whole-number enlargement; 0: the largest that fits
    bool pause_without_focus = true;
};

extern HostOptions host_options;

// Reads the command line into host_options. Returns -1 to go on and play, or
// the exit status to end with at once (after --help, --version, or a mistake).
int read_command_line(int argc, char** argv);

// Where the player's own files for the game live: $XDG_CONFIG_HOME/kuzari,
// else ~/.config/kuzari. Nothing here creates it.
std::string kuzari_config_dir();
