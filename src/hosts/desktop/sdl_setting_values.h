// How the settings' values are read from text and written back: whole
// numbers, yes or no, decimals, and lists of the keyboard's keys.
#pragma once

#include <SDL.h>

#include <string>
#include <vector>

// False, and *value untouched, when the text is not a number in [low, high].
bool parse_whole(const std::string& text, long low, long high, int* value);
bool parse_decimal_number(const std::string& text, float low, float high, float* value);
std::string decimal_text(float value);

// yes/true/on/1 or no/false/off/0.
bool parse_yes_no(const std::string& text, bool* value);
std::string yes_no(bool value);

// "Return, Keypad Enter": the keys' names, separated by commas. The keys the
// window keeps for itself (Escape, F1, F11, F12, M) are refused.
bool parse_key_list(const std::string& text, std::vector<SDL_Keycode>* keys);
std::string key_list(const std::vector<SDL_Keycode>& keys);
bool reserved_key(SDL_Keycode key);

// A key's name as the settings file and the menu show it: SDL's, but a word
// where SDL's is a punctuation mark ("Comma", "Keypad Comma"), since a list
// splits at a comma and the file's reader takes " ;" for a comment.
// SDLK_UNKNOWN for a name neither knows.
std::string key_name(SDL_Keycode key);
SDL_Keycode key_from_name(const std::string& name);

// "a, b": SDL's names of a game controller's buttons, separated by commas.
// Start opens the options menu and is refused.
bool parse_button_list(const std::string& text, std::vector<SDL_GameControllerButton>* buttons);
std::string button_list(const std::vector<SDL_GameControllerButton>& buttons);
