#include "hosts/shared/game_keys.h"

const GameKeyBinding game_keys[game_key_count] = {
    {"up", "a lane up; the menu's cursor up", &KeyboardState::up, {"Up"}, {"ArrowUp"}, "dpup"},
    {"down", "a lane down; the menu's cursor down", &KeyboardState::down, {"Down"}, {"ArrowDown"}, "dpdown"},
    {"left", "left: the game reads it, but no move needs it", &KeyboardState::left, {"Left"}, {"ArrowLeft"}, "dpleft"},
    {"right", "right: the game reads it, but no move needs it", &KeyboardState::right, {"Right"}, {"ArrowRight"}, "dpright"},
    {"throw", "throw (hold to keep throwing); confirm", &KeyboardState::enter, {"Return", "Keypad Enter"},
     {"Enter", "NumpadEnter"}, "a"},
    {"refill", "refill the stock of beans", &KeyboardState::shift, {"Left Shift", "Right Shift"},
     {"ShiftLeft", "ShiftRight"}, "b"},
    {"button3", "the game reads it, but it does nothing", &KeyboardState::ctrl, {"Left Ctrl", "Right Ctrl"},
     {"ControlLeft", "ControlRight"}, "x"},
    {"button4", "the game reads it, but it does nothing", &KeyboardState::space, {"Space"}, {"Space"}, "y"},
};

const MenuControl menu_controls[menu_control_count] = {
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

const char* const desktop_reserved_keys[desktop_reserved_count] = {"Escape", "F1", "F11", "F12", "M"};

const char page_quit_code[] = "Escape";
const char* const page_reserved_codes[page_reserved_count] = {"F1", page_quit_code, "F11"};

const char* const standard_pad_buttons[standard_pad_button_count] = {
    "a",    "b",     "x",         "y",          "leftshoulder", "rightshoulder", "lefttrigger", "righttrigger",
    "back", "start", "leftstick", "rightstick", "dpup",         "dpdown",        "dpleft",      "dpright",
    "guide",
};
