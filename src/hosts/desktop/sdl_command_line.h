// The real game's command line, read over its settings file.
#pragma once

// Reads the settings file and then the command line into host_options.
// Returns -1 to go on and play, or the exit status to end with at once (after
// --help, --version, --write-config, or a mistake on the command line).
int read_options(int argc, char** argv);
