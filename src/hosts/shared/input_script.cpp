#include "hosts/shared/input_script.h"

#include <cstdio>
#include <sstream>

#include "core/shown_text.h"

namespace {

constexpr uint64_t max_run_frames = 999999999999999999ull;  // eighteen digits

// The script's words for the keyboard, in the order a line lists them.
struct KeyWord {
    const char* word;
    bool KeyboardState::*key;
};
const KeyWord key_words[] = {
    {"up", &KeyboardState::up},       {"down", &KeyboardState::down},   {"left", &KeyboardState::left},
    {"right", &KeyboardState::right}, {"enter", &KeyboardState::enter}, {"shift", &KeyboardState::shift},
    {"ctrl", &KeyboardState::ctrl},   {"space", &KeyboardState::space},
};
const char* const button_words[4] = {"j1", "j2", "j3", "j4"};

constexpr uint16_t stick_low = 0, stick_high = 0xFFFF, stick_centre = 0x8000;

// Applies one key word; false when the word is unknown.
bool apply_key(const std::string& word, InputRun* run) {
    for (const KeyWord& k : key_words)
        if (word == k.word) {
            run->keys.*k.key = true;
            return true;
        }
    JoystickState& j = run->joystick;
    for (int b = 0; b < 4; ++b)
        if (word == button_words[b]) {
            j.buttons |= uint8_t(1 << b);
            return true;
        }
    if (word == "escape") run->escape = true;
    else if (word == "jup") j.y = stick_low;
    else if (word == "jdown") j.y = stick_high;
    else if (word == "jleft") j.x = stick_low;
    else if (word == "jright") j.x = stick_high;
    else return false;
    return true;
}

// The game reads a stick as pushed below a quarter of its range or from
// three quarters on.
uint16_t reduced(uint16_t position) {
    if (position < 0x4000) return stick_low;
    if (position >= 0xC000) return stick_high;
    return stick_centre;
}

}  // namespace

InputRun frame_input(const KeyboardState& keys, const JoystickState& joystick) {
    return InputRun{1, keys, JoystickState{reduced(joystick.x), reduced(joystick.y), uint8_t(joystick.buttons & 0xF)},
                    false};
}

bool same_input(const InputRun& a, const InputRun& b) {
    for (const KeyWord& k : key_words)
        if (a.keys.*k.key != b.keys.*k.key) return false;
    return a.joystick.x == b.joystick.x && a.joystick.y == b.joystick.y &&
           a.joystick.buttons == b.joystick.buttons && a.escape == b.escape;
}

void add_script_line(PlainText* line, const InputRun& run) {
    plain_add_decimal(line, run.count);
    for (const KeyWord& k : key_words)
        if (run.keys.*k.key) {
            plain_add(line, " ");
            plain_add(line, k.word);
        }
    if (run.escape) plain_add(line, " escape");
    if (run.joystick.y == stick_low) plain_add(line, " jup");
    if (run.joystick.y == stick_high) plain_add(line, " jdown");
    if (run.joystick.x == stick_low) plain_add(line, " jleft");
    if (run.joystick.x == stick_high) plain_add(line, " jright");
    for (int b = 0; b < 4; ++b)
        if (run.joystick.buttons & (1 << b)) {
            plain_add(line, " ");
            plain_add(line, button_words[b]);
        }
}

std::string script_line(const InputRun& run) {
    PlainText line;
    add_script_line(&line, run);
    return std::string(line.text, line.length);
}

bool parse_decimal(const std::string& text, uint64_t max, uint64_t* value) {
    if (text.empty() || text.size() > 20) return false;
    uint64_t v = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        const uint64_t digit = uint64_t(c - '0');
        // A digit above a small maximum would wrap the bound below round.
        if (digit > max || v > (max - digit) / 10) return false;
        v = v * 10 + digit;
    }
    *value = v;
    return true;
}

bool parse_script(const std::string& text, std::vector<InputRun>* runs, std::string* error) {
    std::istringstream lines(text);
    std::string line;
    int number = 0;
    uint64_t frames = 0;
    while (std::getline(lines, line)) {
        ++number;
        const size_t comment = line.find('#');
        if (comment != std::string::npos) line.erase(comment);
        std::istringstream words(line);
        std::string word;
        if (!(words >> word)) continue;

        InputRun run{};
        run.joystick = joystick_at_rest;
        if (!parse_decimal(word, max_run_frames, &run.count) || run.count == 0) {
            *error = "line " + std::to_string(number) + ": '" + shown_text(word) + "' is not a positive frame count";
            return false;
        }
        if (run.count > UINT64_MAX - frames) {
            *error = "line " + std::to_string(number) + ": the script's frames add up to more than " +
                     std::to_string(UINT64_MAX);
            return false;
        }
        frames += run.count;
        bool jup = false, jdown = false, jleft = false, jright = false;
        while (words >> word) {
            if (!apply_key(word, &run)) {
                *error = "line " + std::to_string(number) + ": unknown key '" + shown_text(word) + "'";
                return false;
            }
            jup |= word == "jup";
            jdown |= word == "jdown";
            jleft |= word == "jleft";
            jright |= word == "jright";
        }
        if ((jup && jdown) || (jleft && jright)) {
            *error = "line " + std::to_string(number) + ": the stick cannot be pushed two opposite ways";
            return false;
        }
        runs->push_back(run);
    }
    return true;
}

bool script_seed(const std::string& text, uint32_t* seed) {
    const std::string first = text.substr(0, text.find('\n'));
    std::istringstream words(first);
    std::string hash, name, number;
    uint64_t value;
    if (!(words >> hash >> name >> number) || hash != "#" || name != "seed") return false;
    if (!parse_decimal(number, UINT32_MAX, &value)) return false;
    *seed = uint32_t(value);
    return true;
}

std::vector<std::string> script_seed_warnings(const std::string& text) {
    std::vector<std::string> warnings;
    std::istringstream lines(text);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        std::istringstream words(line);
        std::string hash, name, value;
        if (!(words >> hash >> name) || hash != "#" || name != "seed") continue;
        const std::string at = "line " + std::to_string(number) + ": ";
        uint64_t seed;
        if (number > 1) {
            warnings.push_back(at + "a seed counts only on the first line; this one is left out");
        } else if (!(words >> value) || !parse_decimal(value, UINT32_MAX, &seed)) {
            warnings.push_back(at + "the seed '" + shown_text(value) +
                               "' is not a number from 0 to 4294967295; it is left out");
        }
    }
    return warnings;
}

std::string script_language(const std::string& text) {
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line) && !line.empty() && line[0] == '#') {
        std::istringstream words(line);
        std::string hash, name, language;
        if (words >> hash >> name >> language && hash == "#" && name == "lang") return language;
    }
    return "";
}
