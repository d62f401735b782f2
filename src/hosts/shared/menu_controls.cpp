#include "hosts/shared/menu_controls.h"

#include <cstring>
#include <iterator>

#include "hosts/shared/game_keys.h"

namespace {

bool named(const char* const (&names)[most_menu_names], const char* name) {
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

MenuStep menu_step(bool open, bool capturing, MenuPress press, bool repeat) {
    // In the order of MenuPress from press_up.
    constexpr MenuInput inputs[] = {menu_up, menu_down, menu_left, menu_right, menu_confirm, menu_back};
    static_assert(std::size(inputs) == press_back - press_up + 1, "an input for each of the menu's presses");
    const bool moves = press >= press_up && press <= press_right;
    if (repeat && !(open && !capturing && moves))
        return {open || press == press_toggle ? action_swallow : action_pass, menu_back};
    if (!open) return {press == press_toggle ? action_open : action_pass, menu_back};
    if (capturing) {
        if (press == press_back || press == press_toggle) return {action_input, menu_back};
        return {action_capture, menu_back};
    }
    if (press == press_toggle) return {action_close, menu_back};
    if (press == press_other) return {action_swallow, menu_back};
    return {action_input, inputs[press - press_up]};
}
