// The game's data files, read whole, in the language chosen.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The language of what the game shows: its pictures and its boxes' texts.
// The voices are Japanese in both.
enum GameLanguage { language_japanese, language_english };
void set_game_language(GameLanguage language);
GameLanguage game_language();

// The folder the data files are read from; empty (the start): the working
// directory. The paths the game names stay relative to it.
void set_data_folder(const std::string& folder);

// Reads a whole file of the game's data; false when it cannot be opened or
// read, is not a regular file, or holds more than `max_bytes`, in which case
// nothing is allocated. Why a file that is there was refused goes to
// standard error.
bool read_data_file(const char* path, size_t max_bytes, std::vector<uint8_t>* bytes);
