// The options menu over the game on the desktop: F1, Tab (while no game key
// has it) or a pad's Start opens it and the game stands still as it does in
// the background. Keys, the pad and the mouse move through it; each change is
// applied at once and kept in the settings file, changing only its line.
#include <SDL.h>

#include <cstdio>
#include <iterator>
#include <string>
#include <vector>

#include "hosts/desktop/settings_edit.h"
#include "hosts/desktop/sdl_options.h"
#include "hosts/desktop/sdl_platform.h"
#include "hosts/desktop/sdl_setting_values.h"
#include "hosts/desktop/sdl_settings.h"
#include "hosts/shared/menu_controls.h"
#include "hosts/shared/menu_texts.h"
#include "hosts/shared/options_menu.h"
#include "hosts/shared/settings_table.h"

namespace {

OptionsMenu* menu = nullptr;
OverlayImage picture;
bool english_menu = false;

enum FontState { font_not_loaded, font_loaded, font_missing };
FontState font_state = font_not_loaded;
PixelFont font;

// A stick's axis counts as one push each time it leaves the middle.
constexpr int16_t stick_push = 16000;
int stick_x = 0, stick_y = 0;  // -1, 0 or 1

// What the menu shows of the keys and buttons: the names the settings file has.
std::vector<std::string> key_names(const std::vector<SDL_Keycode>& keys) {
    std::vector<std::string> names;
    for (const SDL_Keycode key : keys) names.push_back(key_name(key));
    return names;
}

std::vector<std::string> button_names(const std::vector<SDL_GameControllerButton>& buttons) {
    std::vector<std::string> names;
    for (const SDL_GameControllerButton button : buttons) {
        const char* name = SDL_GameControllerGetStringForButton(button);
        if (name) names.push_back(name);
    }
    return names;
}

MenuValues values_now() {
    const HostOptions& o = host_options;
    MenuValues values;
    values.volume = o.volume;
    values.music_volume = o.music_volume;
    values.effects_volume = o.effects_volume;
    values.mute = o.mute;
    values.captions = o.captions;
    values.english = o.lang.empty() ? english_menu : o.lang == "en";
    values.fullscreen = sdl_is_fullscreen();
    values.scale = o.scale;
    values.pause_in_background = o.pause_in_background;
    sdl_records_now(&values.records, &values.best_round_kept);
    for (int key = 0; key < game_key_count; ++key) {
        values.keys[key] = key_names(o.keys[key]);
        values.buttons[key] = button_names(o.pad_buttons[key]);
    }
    return values;
}

MenuFeatures features() {
    MenuFeatures offered;
    offered.window_options = true;
    offered.pad_buttons = true;
    for (int key = 0; key < game_key_count; ++key) {
        for (const char* name : game_keys[key].desktop_keys)
            if (name) offered.default_keys[key].push_back(name);
        offered.default_buttons[key] = {game_keys[key].pad_button};
    }
    offered.reserved_keys.assign(std::begin(desktop_reserved_keys), std::end(desktop_reserved_keys));
    offered.records = sdl_records_kept();
    return offered;
}

// A change made live: what it changes beyond the setting's own field.
void apply(const MenuChange& change) {
    const Setting* setting = find_setting(change.section, change.key);
    if (!setting || !setting->set(change.value)) {
        std::fprintf(stderr, "kuzari: the menu's '%s' cannot be '%s'\n", change.key.c_str(), change.value.c_str());
        return;
    }
    const SettingName name = change.section.empty() ? setting_named(change.key) : setting_name_count;
    if (change.section == keys_section) sdl_bind_keys();
    else if (name == setting_volume || name == setting_music_volume || name == setting_effects_volume || name == setting_mute)
        sdl_apply_volumes();
    else if (name == setting_fullscreen && host_options.fullscreen != sdl_is_fullscreen())
        sdl_switch_fullscreen();
    else if (name == setting_scale && !sdl_is_fullscreen())
        sdl_resize_window();
}

void apply_and_keep_changes() {
    std::vector<SettingsEdit> edits;
    for (const MenuChange& change : take_menu_changes(menu)) {
        apply(change);
        const Setting* setting = find_setting(change.section, change.key);
        if (setting) edits.push_back({change.section, change.key, setting->text()});
    }
    if (edits.empty()) return;
    std::string error;
    if (keep_settings(host_options.settings_path, edits, &error)) return;
    std::fprintf(stderr, "kuzari: the settings are not kept: %s\n", error.c_str());
    menu_report(menu, english_menu ? "The settings could not be saved" : "設定を保存できません");
}

// Whether the player made Tab one of the game's keys: then it is theirs.
bool tab_is_a_game_key() {
    for (const std::vector<SDL_Keycode>& keys : host_options.keys)
        for (const SDL_Keycode key : keys)
            if (key == SDLK_TAB) return true;
    return false;
}

// Axis and button events come only while the menu is open: the game never
// needs them woken for.
void listen_for_menu_events(bool listen) {
    const int state = listen ? SDL_ENABLE : SDL_IGNORE;
    for (const Uint32 type : {Uint32(SDL_CONTROLLERAXISMOTION), Uint32(SDL_MOUSEBUTTONDOWN)})
        SDL_EventState(type, state);
    SDL_ShowCursor(listen ? SDL_ENABLE : SDL_DISABLE);
}

void close_menu() {
    close_options_menu(menu);
    menu = nullptr;
    listen_for_menu_events(false);
    sdl_follow_pause();
}

// What the menu asked for: to resume, to quit, or to watch the best round.
void follow_request(MenuRequest request, bool* quit) {
    if (request == request_resume) close_menu();
    if (request == request_quit) {
        close_menu();
        *quit = true;
    }
    if (request == request_watch_best_round) {
        if (sdl_watch_best_round()) close_menu();
        else menu_report(menu, words(words_cannot_watch, english_menu));
    }
}

// One of the menu's moves.
void menu_move(MenuInput input, bool* quit) {
    const MenuRequest request = menu_input(menu, input);
    apply_and_keep_changes();
    follow_request(request, quit);
}

// What the shared rules say a press does while the menu is open.
void follow_step(MenuStep step, const char* name, bool is_pad_button, bool* quit) {
    switch (step.action) {
    case action_input: menu_move(step.input, quit); break;
    case action_capture:
        menu_key_pressed(menu, name, is_pad_button);
        apply_and_keep_changes();
        break;
    case action_close: close_menu(); break;
    default: break;
    }
}

bool key_event(const SDL_KeyboardEvent& key, bool* quit) {
    const SDL_Keycode sym = key.keysym.sym;
    // Whatever is held now is not the game's until it comes up.
    sdl_key_taken_by_window(key.keysym.scancode);
    if (sym == SDLK_F11 || sym == SDLK_F12 || (sym == SDLK_m && !menu_capturing(menu)))
        return false;  // the window's, as always
    const MenuPress press = menu_press_of(device_desktop_keys, SDL_GetKeyName(sym), sym == SDLK_TAB && tab_is_a_game_key());
    follow_step(menu_step(true, menu_capturing(menu), press, key.repeat != 0), key_name(sym).c_str(), false, quit);
    return true;
}

void controller_button(Uint8 button, bool* quit) {
    const char* name = SDL_GameControllerGetStringForButton(SDL_GameControllerButton(button));
    if (!name) return;
    follow_step(menu_step(true, menu_capturing(menu), menu_press_of(device_pad, name, false)), name, true, quit);
}

void stick_moved(Uint8 axis, int16_t value, bool* quit) {
    const int position = value <= -stick_push ? -1 : value >= stick_push ? 1 : 0;
    int* last = axis == SDL_CONTROLLER_AXIS_LEFTX ? &stick_x : axis == SDL_CONTROLLER_AXIS_LEFTY ? &stick_y : nullptr;
    if (!last || position == *last) return;
    *last = position;
    if (position == 0 || menu_capturing(menu)) return;
    if (axis == SDL_CONTROLLER_AXIS_LEFTX) menu_move(position < 0 ? menu_left : menu_right, quit);
    else menu_move(position < 0 ? menu_up : menu_down, quit);
}

// A pad SDL does not know: its hat moves, its first button confirms and its
// second goes back. It has no button known to be Start, so F1 opens the menu.
void raw_joystick_event(const SDL_Event& event, bool* quit) {
    if (event.type == SDL_JOYHATMOTION) {
        const Uint8 hat = event.jhat.value;
        if (hat & SDL_HAT_UP) menu_move(menu_up, quit);
        else if (hat & SDL_HAT_DOWN) menu_move(menu_down, quit);
        else if (hat & SDL_HAT_LEFT) menu_move(menu_left, quit);
        else if (hat & SDL_HAT_RIGHT) menu_move(menu_right, quit);
    } else if (event.type == SDL_JOYBUTTONDOWN && !menu_capturing(menu)) {
        if (event.jbutton.button == 0) menu_move(menu_confirm, quit);
        else if (event.jbutton.button == 1) menu_move(menu_back, quit);
    }
}

}  // namespace

const PixelFont* sdl_overlay_font() {
    if (font_state == font_not_loaded) {
        std::string error;
        font_state = load_pixel_font(&font, &error) ? font_loaded : font_missing;
        if (font_state == font_missing)
            std::fprintf(stderr, "kuzari: %s; the options and captions go without text\n", error.c_str());
    }
    return font_state == font_loaded ? &font : nullptr;
}

void sdl_overlay_language(bool english) { english_menu = english; }

bool sdl_overlay_is_open() { return menu != nullptr; }

bool sdl_opens_overlay(const SDL_Event& event) {
    MenuPress press = press_other;
    bool repeat = false;
    if (event.type == SDL_KEYDOWN) {
        const SDL_Keycode sym = event.key.keysym.sym;
        press = menu_press_of(device_desktop_keys, SDL_GetKeyName(sym), sym == SDLK_TAB && tab_is_a_game_key());
        repeat = event.key.repeat != 0;
    } else if (event.type == SDL_CONTROLLERBUTTONDOWN) {
        press = menu_press_of(device_pad, SDL_GameControllerGetStringForButton(SDL_GameControllerButton(event.cbutton.button)),
                              false);
    }
    return menu_step(false, false, press, repeat).action == action_open;
}

void sdl_open_overlay() {
    if (menu) return;
    menu = open_options_menu(values_now(), features(), english_menu);
    stick_x = stick_y = 0;
    listen_for_menu_events(true);
    sdl_follow_pause();
}

void sdl_release_overlay() {
    if (menu) close_menu();
}

bool sdl_overlay_event(const SDL_Event& event, bool* quit) {
    *quit = false;
    if (!menu) return false;
    switch (event.type) {
    case SDL_KEYDOWN: return key_event(event.key, quit);
    case SDL_CONTROLLERBUTTONDOWN:
        sdl_pad_button_taken_by_window(event.cbutton.button);
        controller_button(event.cbutton.button, quit);
        return true;
    case SDL_CONTROLLERAXISMOTION:
        stick_moved(event.caxis.axis, event.caxis.value, quit);
        return true;
    case SDL_JOYHATMOTION:
    case SDL_JOYBUTTONDOWN:
        if (!sdl_pad_is_controller()) raw_joystick_event(event, quit);
        return true;
    case SDL_MOUSEBUTTONDOWN: {
        int x, y;
        if (event.button.button == SDL_BUTTON_LEFT && sdl_window_to_picture(event.button.x, event.button.y, &x, &y)) {
            const MenuRequest request = menu_pointer(menu, x, y);
            apply_and_keep_changes();
            follow_request(request, quit);
        }
        return true;
    }
    default:
        return false;
    }
}

const OverlayImage* sdl_overlay_picture() {
    if (!menu) return nullptr;
    if (const PixelFont* face = sdl_overlay_font()) {
        draw_options_menu(&picture, *face, menu);
    } else {
        // Without its font the menu still shows that the game stands still.
        constexpr OverlayColour shade = 0xA0000000;
        clear_overlay(&picture, 320, 240);
        fill_overlay_box(&picture, menu_panel_x, menu_panel_y, menu_panel_width, menu_panel_height, shade);
    }
    return &picture;
}
