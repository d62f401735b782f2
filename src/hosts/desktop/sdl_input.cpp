// The keyboard and the first pad on SDL. A pad SDL knows is read through its
// game controller API (d-pad and left stick, the four face buttons); any other
// is read as a raw joystick. A pad plugged in while the game runs is taken up,
// and the next one takes over when it goes. A key or button that went down
// since the last frame counts as held in the next one, however short the tap.
#include <SDL.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "hosts/desktop/sdl_options.h"
#include "hosts/desktop/sdl_platform.h"

namespace {

bool KeyboardState::*const game_key_fields[game_key_count] = {
    &KeyboardState::up,    &KeyboardState::down,  &KeyboardState::left, &KeyboardState::right,
    &KeyboardState::enter, &KeyboardState::shift, &KeyboardState::ctrl, &KeyboardState::space,
};
// Each game key's keys on the keyboard, by where they are, for this layout.
std::vector<SDL_Scancode> bound_scancodes[game_key_count];

bool key_tapped[SDL_NUM_SCANCODES];  // went down since the last frame
bool key_taken[SDL_NUM_SCANCODES];   // held for the window (Alt+Enter): not the game's until released

SDL_GameController* controller = nullptr;  // the pad, when SDL knows it
SDL_Joystick* joystick = nullptr;          // the pad: the controller's own, or a raw joystick
uint8_t buttons_tapped = 0;                // bit n: button n + 1 went down since the last frame
uint8_t directions_tapped = 0;             // hat or d-pad pushes since the last frame

enum : uint8_t { tap_up = 1, tap_down = 2, tap_left = 4, tap_right = 8 };

// What the frame read, for a recording.
KeyboardState keys_read{};
JoystickState joystick_read{0x8000, 0x8000, 0};

const SDL_GameControllerButton face_buttons[4] = {SDL_CONTROLLER_BUTTON_A, SDL_CONTROLLER_BUTTON_B,
                                                  SDL_CONTROLLER_BUTTON_X, SDL_CONTROLLER_BUTTON_Y};

bool open_pad(int device_index) {
    if (SDL_IsGameController(device_index)) {
        controller = SDL_GameControllerOpen(device_index);
        joystick = controller ? SDL_GameControllerGetJoystick(controller) : nullptr;
    } else {
        joystick = SDL_JoystickOpen(device_index);
    }
    return joystick != nullptr;
}

void close_pad() {
    if (controller) SDL_GameControllerClose(controller);
    else if (joystick) SDL_JoystickClose(joystick);
    controller = nullptr;
    joystick = nullptr;
    buttons_tapped = directions_tapped = 0;
}

// SDL's axes run from -32768 to 32767; shifted to 0..0xFFFF the quarter and
// three-quarter points fall where the game's thresholds expect them.
uint16_t axis_position(int16_t value) { return uint16_t(int32_t(value) + 32768); }

bool centred(uint16_t position) { return position >= 0x4000 && position < 0xC000; }

// A push of a hat or d-pad overrides the stick's position on that axis.
void apply_directions(uint8_t pushed, JoystickState* state) {
    if (pushed & tap_left) state->x = 0;
    if (pushed & tap_right) state->x = 0xFFFF;
    if (pushed & tap_up) state->y = 0;
    if (pushed & tap_down) state->y = 0xFFFF;
}

uint8_t hat_directions(Uint8 hat) {
    return uint8_t((hat & SDL_HAT_UP ? tap_up : 0) | (hat & SDL_HAT_DOWN ? tap_down : 0) |
                   (hat & SDL_HAT_LEFT ? tap_left : 0) | (hat & SDL_HAT_RIGHT ? tap_right : 0));
}

uint8_t dpad_direction(Uint8 button) {
    switch (button) {
    case SDL_CONTROLLER_BUTTON_DPAD_UP: return tap_up;
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN: return tap_down;
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT: return tap_left;
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT: return tap_right;
    default: return 0;
    }
}

void read_controller(JoystickState* state) {
    state->x = axis_position(SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_LEFTX));
    state->y = axis_position(SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_LEFTY));
    uint8_t pushed = directions_tapped;
    for (Uint8 button = SDL_CONTROLLER_BUTTON_DPAD_UP; button <= SDL_CONTROLLER_BUTTON_DPAD_RIGHT; ++button)
        if (SDL_GameControllerGetButton(controller, SDL_GameControllerButton(button)))
            pushed |= dpad_direction(button);
    apply_directions(pushed, state);
    for (int b = 0; b < 4; ++b)
        if (SDL_GameControllerGetButton(controller, face_buttons[b])) state->buttons |= uint8_t(1 << b);
}

void read_raw_joystick(JoystickState* state) {
    state->x = SDL_JoystickNumAxes(joystick) > 0 ? axis_position(SDL_JoystickGetAxis(joystick, 0)) : 0x8000;
    state->y = SDL_JoystickNumAxes(joystick) > 1 ? axis_position(SDL_JoystickGetAxis(joystick, 1)) : 0x8000;
    // The hat (most pads' d-pad) steers only while the stick rests.
    if (centred(state->x) && centred(state->y)) {
        const Uint8 hat = SDL_JoystickNumHats(joystick) > 0 ? SDL_JoystickGetHat(joystick, 0) : 0;
        apply_directions(uint8_t(hat_directions(hat) | directions_tapped), state);
    }
    const int buttons = SDL_JoystickNumButtons(joystick);
    for (int b = 0; b < 4 && b < buttons; ++b)
        if (SDL_JoystickGetButton(joystick, b)) state->buttons |= uint8_t(1 << b);
}

}  // namespace

void sdl_start_input() {
    for (int key = 0; key < game_key_count; ++key) {
        bound_scancodes[key].clear();
        for (const SDL_Keycode keycode : host_options.keys[key]) {
            const SDL_Scancode scancode = SDL_GetScancodeFromKey(keycode);
            if (scancode != SDL_SCANCODE_UNKNOWN) bound_scancodes[key].push_back(scancode);
        }
    }
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) return;  // the game plays on without pads
    // The player's own mappings, for pads SDL's database lacks.
    const std::string mappings = kuzari_config_dir() + "/gamecontrollerdb.txt";
    if (access(mappings.c_str(), F_OK) == 0 && SDL_GameControllerAddMappingsFromFile(mappings.c_str()) < 0)
        std::fprintf(stderr, "kuzari: %s: %s\n", mappings.c_str(), SDL_GetError());
}

void sdl_pad_event(const SDL_Event& event) {
    switch (event.type) {
    case SDL_JOYDEVICEADDED:
        if (!joystick) open_pad(event.jdevice.which);  // a device index
        break;
    case SDL_JOYDEVICEREMOVED:
        if (joystick && SDL_JoystickInstanceID(joystick) == event.jdevice.which) {  // an instance id
            close_pad();
            for (int index = 0; index < SDL_NumJoysticks() && !open_pad(index); ++index) {
            }
        }
        break;
    case SDL_JOYBUTTONDOWN:
        if (!controller && joystick && event.jbutton.which == SDL_JoystickInstanceID(joystick) &&
            event.jbutton.button < 4)
            buttons_tapped |= uint8_t(1 << event.jbutton.button);
        break;
    case SDL_JOYHATMOTION:
        if (!controller && joystick && event.jhat.which == SDL_JoystickInstanceID(joystick) && event.jhat.hat == 0)
            directions_tapped |= hat_directions(event.jhat.value);
        break;
    case SDL_CONTROLLERBUTTONDOWN:
        if (controller && event.cbutton.which == SDL_JoystickInstanceID(joystick)) {
            directions_tapped |= dpad_direction(event.cbutton.button);
            for (int b = 0; b < 4; ++b)
                if (event.cbutton.button == face_buttons[b]) buttons_tapped |= uint8_t(1 << b);
        }
        break;
    default:
        break;
    }
}

void sdl_key_went_down(SDL_Scancode scancode) {
    if (scancode < SDL_NUM_SCANCODES) key_tapped[scancode] = true;
}

void sdl_key_came_up(SDL_Scancode scancode) {
    if (scancode < SDL_NUM_SCANCODES) key_taken[scancode] = false;
}

void sdl_key_taken_by_window(SDL_Scancode scancode) {
    if (scancode < SDL_NUM_SCANCODES) key_taken[scancode] = true;
}

void sdl_frame_shown() {
    sdl_record_frame(keys_read, joystick_read);
    std::fill(std::begin(key_tapped), std::end(key_tapped), false);
    buttons_tapped = directions_tapped = 0;
}

bool platform_read_keyboard(KeyboardState* keys) {
    if (sdl_playback_input(keys, nullptr)) return true;
    const Uint8* state = SDL_GetKeyboardState(nullptr);
    if (!state) return false;
    *keys = KeyboardState{};
    for (int key = 0; key < game_key_count; ++key)
        for (const SDL_Scancode scancode : bound_scancodes[key])
            if ((state[scancode] || key_tapped[scancode]) && !key_taken[scancode]) keys->*game_key_fields[key] = true;
    keys_read = *keys;
    return true;
}

bool platform_read_joystick(JoystickState* state) {
    if (sdl_playback_input(nullptr, state)) return true;
    joystick_read = JoystickState{0x8000, 0x8000, 0};
    if (!joystick || !SDL_JoystickGetAttached(joystick)) return false;
    *state = JoystickState{0x8000, 0x8000, buttons_tapped};
    if (controller) read_controller(state);
    else read_raw_joystick(state);
    joystick_read = *state;
    return true;
}
