#include "hosts/shared/menu_controls.h"

#include <cstring>
#include <iterator>

const char* const standard_pad_buttons[standard_pad_button_count] = {
    "a",    "b",     "x",         "y",          "leftshoulder", "rightshoulder", "lefttrigger", "righttrigger",
    "back", "start", "leftstick", "rightstick", "dpup",         "dpdown",        "dpleft",      "dpright",
    "guide",
};

namespace {

constexpr int most_names = 2;

struct MenuControl {
    MenuPress press;
    const char* desktop_keys[most_names];  // SDL's key names
    const char* page_codes[most_names];    // KeyboardEvent.code values
    const char* pad_button;                // SDL's button name, the standard mapping's too
    bool yields_to_game_key;               // a game key bound to it keeps it
};

const MenuControl menu_controls[] = {
    {press_toggle, {"F1"}, {"F1"}, "start", false},
    {press_toggle, {"Tab"}, {"Tab"}, nullptr, true},
    {press_up, {"Up"}, {"ArrowUp"}, "dpup", false},
    {press_down, {"Down"}, {"ArrowDown"}, "dpdown", false},
    {press_left, {"Left"}, {"ArrowLeft"}, "dpleft", false},
    {press_right, {"Right"}, {"ArrowRight"}, "dpright", false},
    {press_confirm, {"Return", "Keypad Enter"}, {"Enter", "NumpadEnter"}, "a", false},
    {press_confirm, {"Space"}, {"Space"}, nullptr, false},
    {press_back, {"Escape", "Backspace"}, {"Escape", "Backspace"}, "b", false},
};

bool named(const char* const (&names)[most_names], const char* name) {
    for (const char* one : names)
        if (one && std::strcmp(one, name) == 0) return true;
    return false;
}

}  // namespace

MenuPress menu_press_of(MenuDevice device, const char* name, bool game_key) {
    if (!name) return press_other;
    for (const MenuControl& control : menu_controls) {
        const bool match = device == device_pad         ? control.pad_button && std::strcmp(control.pad_button, name) == 0
                           : device == device_page_keys ? named(control.page_codes, name)
                                                        : named(control.desktop_keys, name);
        if (match) return game_key && control.yields_to_game_key ? press_other : control.press;
    }
    return press_other;
}

MenuStep menu_step(bool open, bool capturing, MenuPress press) {
    // In the order of MenuPress from press_up.
    constexpr MenuInput inputs[] = {menu_up, menu_down, menu_left, menu_right, menu_confirm, menu_back};
    static_assert(std::size(inputs) == press_back - press_up + 1, "an input for each of the menu's presses");
    if (!open) return {press == press_toggle ? action_open : action_pass, menu_back};
    if (capturing) {
        if (press == press_back || press == press_toggle) return {action_input, menu_back};
        return {action_capture, menu_back};
    }
    if (press == press_toggle) return {action_close, menu_back};
    if (press == press_other) return {action_swallow, menu_back};
    return {action_input, inputs[press - press_up]};
}
