#include "script.h"

#include <cstdint>
#include <sstream>

bool parse_decimal(const std::string& text, uint64_t max, uint64_t* value) {
    if (text.empty() || text.size() > 20) return false;
    uint64_t v = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        if (v > (max - uint64_t(c - '0')) / 10) return false;
        v = v * 10 + uint64_t(c - '0');
    }
    *value = v;
    return true;
}

namespace {

constexpr uint64_t max_run_frames = 999999999999999999ull;  // eighteen digits

// Applies one key token; false when the token is unknown.
bool apply_key(const std::string& key, InputRun* run) {
    KeyboardState& k = run->keys;
    JoystickState& j = run->joystick;
    if (key == "up") k.up = true;
    else if (key == "down") k.down = true;
    else if (key == "left") k.left = true;
    else if (key == "right") k.right = true;
    else if (key == "enter") k.enter = true;
    else if (key == "shift") k.shift = true;
    else if (key == "ctrl") k.ctrl = true;
    else if (key == "space") k.space = true;
    else if (key == "escape") run->escape = true;
    else if (key == "jup") j.y = 0;
    else if (key == "jdown") j.y = 0xFFFF;
    else if (key == "jleft") j.x = 0;
    else if (key == "jright") j.x = 0xFFFF;
    else if (key == "j1") j.buttons |= 0x1;
    else if (key == "j2") j.buttons |= 0x2;
    else if (key == "j3") j.buttons |= 0x4;
    else if (key == "j4") j.buttons |= 0x8;
    else return false;
    return true;
}

}  // namespace

bool parse_script(const std::string& text, std::vector<InputRun>* runs, std::string* error) {
    std::istringstream lines(text);
    std::string line;
    int number = 0;
    while (std::getline(lines, line)) {
        ++number;
        const size_t comment = line.find('#');
        if (comment != std::string::npos) line.erase(comment);
        std::istringstream words(line);
        std::string word;
        if (!(words >> word)) continue;

        InputRun run{};
        run.joystick = JoystickState{0x8000, 0x8000, 0};
        if (!parse_decimal(word, max_run_frames, &run.count) || run.count == 0) {
            *error = "line " + std::to_string(number) + ": '" + word + "' is not a positive frame count";
            return false;
        }
        bool jup = false, jdown = false, jleft = false, jright = false;
        while (words >> word) {
            if (!apply_key(word, &run)) {
                *error = "line " + std::to_string(number) + ": unknown key '" + word + "'";
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
