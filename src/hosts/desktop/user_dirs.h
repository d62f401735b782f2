// The player's pictures folder as their desktop names it in user-dirs.dirs
// (XDG_PICTURES_DIR="$HOME/Pictures"), without touching any file.
#pragma once

#include <string>

// The folder the text names, with $HOME put in; empty when it names none, or
// names one that is neither absolute nor under $HOME.
std::string pictures_dir_in_user_dirs(const std::string& text, const std::string& home);
