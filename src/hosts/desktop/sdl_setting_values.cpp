#include "hosts/desktop/sdl_setting_values.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "hosts/shared/game_keys.h"

bool reserved_key(SDL_Keycode key) {
    for (const char* name : desktop_reserved_keys)
        if (SDL_GetKeyFromName(name) == key) return true;
    return false;
}

bool parse_whole(const std::string& text, long low, long high, int* value) {
    if (text.empty()) return false;
    errno = 0;
    char* end = nullptr;
    const long v = std::strtol(text.c_str(), &end, 10);
    if (errno || *end || v < low || v > high) return false;
    *value = int(v);
    return true;
}

bool parse_decimal_number(const std::string& text, float low, float high, float* value) {
    if (text.empty()) return false;
    char* end = nullptr;
    const float v = std::strtof(text.c_str(), &end);
    if (*end || !(v >= low && v <= high)) return false;
    *value = v;
    return true;
}

std::string decimal_text(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", double(value));
    return text;
}

bool parse_yes_no(const std::string& text, bool* value) {
    if (text == "yes" || text == "true" || text == "on" || text == "1") *value = true;
    else if (text == "no" || text == "false" || text == "off" || text == "0") *value = false;
    else return false;
    return true;
}

std::string yes_no(bool value) { return value ? "yes" : "no"; }

namespace {

// The names between the commas, each trimmed; empty ones left out.
std::vector<std::string> list_names(const std::string& text) {
    std::vector<std::string> names;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(',', start);
        if (end == std::string::npos) end = text.size();
        std::string name = text.substr(start, end - start);
        name.erase(0, name.find_first_not_of(" \t"));
        name.erase(name.find_last_not_of(" \t") + 1);
        if (!name.empty()) names.push_back(name);
        start = end + 1;
    }
    return names;
}

struct MarkName {
    char mark;
    const char* name;
};

// Every printable ASCII mark a layout may put on a key of its own.
constexpr MarkName mark_names[] = {
    {'!', "Exclaim"},     {'"', "Double Quote"}, {'#', "Hash"},          {'$', "Dollar"},     {'%', "Percent"},
    {'&', "Ampersand"},   {'\'', "Quote"},       {'(', "Left Paren"},    {')', "Right Paren"}, {'*', "Asterisk"},
    {'+', "Plus"},        {',', "Comma"},        {'-', "Minus"},         {'.', "Period"},     {'/', "Slash"},
    {':', "Colon"},       {';', "Semicolon"},    {'<', "Less"},          {'=', "Equals"},     {'>', "Greater"},
    {'?', "Question"},    {'@', "At"},           {'[', "Left Bracket"},  {'\\', "Backslash"}, {']', "Right Bracket"},
    {'^', "Caret"},       {'_', "Underscore"},   {'`', "Backquote"},     {'{', "Left Brace"}, {'|', "Bar"},
    {'}', "Right Brace"}, {'~', "Tilde"},
};

const char* name_of_mark(const std::string& text) {
    if (text.size() == 1)
        for (const MarkName& entry : mark_names)
            if (entry.mark == text[0]) return entry.name;
    return nullptr;
}

char mark_of_name(const std::string& name) {
    for (const MarkName& entry : mark_names)
        if (SDL_strcasecmp(entry.name, name.c_str()) == 0) return entry.mark;
    return 0;
}

constexpr char keypad[] = "Keypad ";
constexpr size_t keypad_length = sizeof keypad - 1;

}  // namespace

std::string key_name(SDL_Keycode key) {
    const std::string name = SDL_GetKeyName(key);
    if (const char* word = name_of_mark(name)) return word;
    if (name.compare(0, keypad_length, keypad) == 0)
        if (const char* word = name_of_mark(name.substr(keypad_length))) return keypad + std::string(word);
    return name;
}

SDL_Keycode key_from_name(const std::string& name) {
    if (const char mark = mark_of_name(name)) return SDL_GetKeyFromName(std::string(1, mark).c_str());
    if (SDL_strncasecmp(name.c_str(), keypad, keypad_length) == 0)
        if (const char mark = mark_of_name(name.substr(keypad_length)))
            return SDL_GetKeyFromName((keypad + std::string(1, mark)).c_str());
    return SDL_GetKeyFromName(name.c_str());
}

bool parse_key_list(const std::string& text, std::vector<SDL_Keycode>* keys) {
    std::vector<SDL_Keycode> parsed;
    for (const std::string& name : list_names(text)) {
        const SDL_Keycode key = key_from_name(name);
        if (key == SDLK_UNKNOWN || reserved_key(key)) return false;
        parsed.push_back(key);
    }
    *keys = parsed;
    return true;
}

std::string key_list(const std::vector<SDL_Keycode>& keys) {
    std::string text;
    for (const SDL_Keycode key : keys) text += (text.empty() ? "" : ", ") + key_name(key);
    return text;
}

bool parse_button_list(const std::string& text, std::vector<SDL_GameControllerButton>* buttons) {
    std::vector<SDL_GameControllerButton> parsed;
    for (const std::string& name : list_names(text)) {
        const SDL_GameControllerButton button = SDL_GameControllerGetButtonFromString(name.c_str());
        if (button == SDL_CONTROLLER_BUTTON_INVALID || button == SDL_CONTROLLER_BUTTON_START) return false;
        parsed.push_back(button);
    }
    *buttons = parsed;
    return true;
}

std::string button_list(const std::vector<SDL_GameControllerButton>& buttons) {
    std::string text;
    for (const SDL_GameControllerButton button : buttons) {
        const char* name = SDL_GameControllerGetStringForButton(button);
        text += (text.empty() ? "" : ", ") + std::string(name ? name : "");
    }
    return text;
}
