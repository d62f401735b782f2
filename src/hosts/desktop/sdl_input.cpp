// The keyboard and the first pad on SDL. A pad SDL knows is read through its
// game controller API (d-pad and left stick, the four face buttons); any other
// is read as a raw joystick. A pad plugged in while the game runs is taken up,
// and the next one takes over when it goes. Taps between frames are latched
// and a script played back takes the devices' place, as on every host.
#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "core/file_read.h"
#include "core/shown_text.h"
#include "platform/platform.h"
#include "hosts/desktop/sdl_hints.h"
#include "hosts/desktop/sdl_options.h"
#include "hosts/desktop/sdl_pad_mappings.h"
#include "hosts/desktop/sdl_platform.h"
#include "hosts/shared/input_feed.h"
#include "hosts/shared/input_latch.h"

namespace {

// Each game key's keys on the keyboard, by where they are, for this layout.
std::vector<SDL_Scancode> bound_scancodes[game_key_count];
bool key_taken[SDL_NUM_SCANCODES];  // held for the window (Alt+Enter): not the game's until released

SDL_GameController* controller = nullptr;  // the pad, when SDL knows it
SDL_Joystick* joystick = nullptr;          // the pad: the controller's own, or a raw joystick
InputLatch latch{};

// Buttons held for the options menu: not the game's until released.
bool button_taken[SDL_CONTROLLER_BUTTON_MAX];

// The player's gamecontrollerdb.txt, a few thousand lines at most in practice.
constexpr size_t max_pad_mapping_bytes = size_t(4) << 20;
std::string pad_mappings_path;
PadMappings pad_mappings;

void read_pad_mappings() {
    pad_mappings.clear();
    const std::string folder = kuzari_config_dir();
    if (folder.empty()) return;
    pad_mappings_path = folder + "/gamecontrollerdb.txt";
    std::string text, reason;
    const FileReadOutcome outcome = read_whole_file(pad_mappings_path, max_pad_mapping_bytes, &text, &reason);
    if (outcome == file_read) pad_mappings = index_pad_mappings(text, SDL_GetPlatform());
    else if (outcome != file_missing)
        std::fprintf(stderr, "kuzari: cannot read %s: %s\n", shown_text(pad_mappings_path).c_str(), reason.c_str());
}

// Hands SDL the player's mappings for this pad before it is asked about it.
void add_pad_mappings(int device_index) {
    if (pad_mappings.empty()) return;
    char guid[33];
    SDL_JoystickGetGUIDString(SDL_JoystickGetDeviceGUID(device_index), guid, sizeof guid);
    const auto found = pad_mappings.find(pad_mapping_key(guid));
    if (found == pad_mappings.end()) return;
    for (const PadMappingLine& line : found->second)
        if (SDL_GameControllerAddMapping(line.text.c_str()) < 0)
            std::fprintf(stderr, "kuzari: %s:%d: %s\n", shown_text(pad_mappings_path).c_str(), line.number, SDL_GetError());
}

bool open_pad(int device_index) {
    add_pad_mappings(device_index);
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
    latch_pad_gone(&latch);
}

// SDL's axes run from -32768 to 32767; shifted to 0..0xFFFF the quarter and
// three-quarter points fall where the game's thresholds expect them.
uint16_t axis_position(int16_t value) { return uint16_t(int32_t(value) + 32768); }

bool centred(uint16_t position) { return position >= 0x4000 && position < 0xC000; }

uint8_t hat_directions(Uint8 hat) {
    return uint8_t((hat & SDL_HAT_UP ? push_up : 0) | (hat & SDL_HAT_DOWN ? push_down : 0) |
                   (hat & SDL_HAT_LEFT ? push_left : 0) | (hat & SDL_HAT_RIGHT ? push_right : 0));
}

// What a known pad's button does for the game, by the player's [pad] map: a
// direction key pushes the stick that way, the others are the game's buttons
// 1 to 4. (The default map is the d-pad and A, B, X, Y.)
void button_effect(Uint8 button, uint8_t* pushes, uint8_t* buttons) {
    constexpr uint8_t key_pushes[4] = {push_up, push_down, push_left, push_right};
    for (int key = 0; key < game_key_count; ++key)
        for (const SDL_GameControllerButton bound : host_options.pad_buttons[key]) {
            if (bound != button) continue;
            if (key <= key_right) *pushes |= key_pushes[key];
            else *buttons |= uint8_t(1 << (key - key_throw));
        }
}

void read_controller(JoystickState* state) {
    state->x = axis_position(SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_LEFTX));
    state->y = axis_position(SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_LEFTY));
    uint8_t pushed = 0, held = 0;
    for (int button = 0; button < SDL_CONTROLLER_BUTTON_MAX; ++button) {
        const bool down = SDL_GameControllerGetButton(controller, SDL_GameControllerButton(button));
        if (!down) button_taken[button] = false;
        if (down && !button_taken[button]) button_effect(Uint8(button), &pushed, &held);
    }
    apply_pushes(latched_pushes(latch, pushed), state);
    state->buttons = latched_buttons(latch, held);
}

void read_raw_joystick(JoystickState* state) {
    state->x = SDL_JoystickNumAxes(joystick) > 0 ? axis_position(SDL_JoystickGetAxis(joystick, 0)) : 0x8000;
    state->y = SDL_JoystickNumAxes(joystick) > 1 ? axis_position(SDL_JoystickGetAxis(joystick, 1)) : 0x8000;
    // The hat (most pads' d-pad) steers only while the stick rests.
    if (centred(state->x) && centred(state->y)) {
        const Uint8 hat = SDL_JoystickNumHats(joystick) > 0 ? SDL_JoystickGetHat(joystick, 0) : 0;
        apply_pushes(latched_pushes(latch, hat_directions(hat)), state);
    }
    const int buttons = SDL_JoystickNumButtons(joystick);
    uint8_t held = 0;
    for (int b = 0; b < 4 && b < buttons; ++b)
        if (SDL_JoystickGetButton(joystick, b)) held |= uint8_t(1 << b);
    state->buttons = latched_buttons(latch, held);
}

}  // namespace

void sdl_bind_keys() {
    for (int key = 0; key < game_key_count; ++key) {
        bound_scancodes[key].clear();
        for (const SDL_Keycode keycode : host_options.keys[key]) {
            const SDL_Scancode scancode = SDL_GetScancodeFromKey(keycode);
            if (scancode != SDL_SCANCODE_UNKNOWN) bound_scancodes[key].push_back(scancode);
        }
    }
}

void sdl_start_input() {
    sdl_bind_keys();
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) return;  // the game plays on without pads
    // The player's own mappings, for pads SDL's database lacks.
    read_pad_mappings();
}

namespace {

// Whether the event is the player's hand on a pad (not its being plugged in,
// nor a stick resting a little off its middle).
bool played_on_pad(const SDL_Event& event) {
    switch (event.type) {
    case SDL_JOYBUTTONDOWN:
    case SDL_CONTROLLERBUTTONDOWN: return true;
    case SDL_JOYHATMOTION: return event.jhat.value != SDL_HAT_CENTERED;
    case SDL_JOYAXISMOTION: return !centred(axis_position(event.jaxis.value));
    case SDL_CONTROLLERAXISMOTION: return !centred(axis_position(event.caxis.value));
    default: return false;
    }
}

}  // namespace

void sdl_pad_event(const SDL_Event& event) {
    if (played_on_pad(event)) sdl_hint_device(device_pad);
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
            latch_buttons_down(&latch, uint8_t(1 << event.jbutton.button));
        break;
    case SDL_JOYHATMOTION:
        if (!controller && joystick && event.jhat.which == SDL_JoystickInstanceID(joystick) && event.jhat.hat == 0)
            latch_pushes(&latch, hat_directions(event.jhat.value));
        break;
    case SDL_CONTROLLERBUTTONDOWN:
        if (controller && event.cbutton.which == SDL_JoystickInstanceID(joystick)) {
            uint8_t pushes = 0, buttons = 0;
            button_effect(event.cbutton.button, &pushes, &buttons);
            latch_pushes(&latch, pushes);
            if (buttons) latch_buttons_down(&latch, buttons);
        }
        break;
    default:
        break;
    }
}

void sdl_key_went_down(SDL_Scancode scancode) {
    sdl_hint_device(device_keyboard);
    for (int key = 0; key < game_key_count; ++key)
        for (const SDL_Scancode bound : bound_scancodes[key])
            if (bound == scancode) latch_key_down(&latch, GameKey(key));
}

void sdl_key_came_up(SDL_Scancode scancode) {
    if (scancode < SDL_NUM_SCANCODES) key_taken[scancode] = false;
}

void sdl_key_taken_by_window(SDL_Scancode scancode) {
    if (scancode < SDL_NUM_SCANCODES) key_taken[scancode] = true;
}

void sdl_frame_shown() { latch_frame_shown(&latch); }

void sdl_pad_button_taken_by_window(Uint8 button) {
    if (button < SDL_CONTROLLER_BUTTON_MAX) button_taken[button] = true;
}

bool sdl_pad_is_controller() { return controller != nullptr; }

bool platform_read_keyboard(KeyboardState* keys) {
    const Uint8* state = SDL_GetKeyboardState(nullptr);
    bool held[game_key_count] = {};
    for (int key = 0; key < game_key_count && state; ++key)
        for (const SDL_Scancode scancode : bound_scancodes[key])
            if (state[scancode] && !key_taken[scancode]) held[key] = true;
    return feed_keyboard(state != nullptr, latched_keyboard(latch, held), keys);
}

bool platform_read_joystick(JoystickState* state) {
    JoystickState live = joystick_at_rest;
    const bool attached = joystick && SDL_JoystickGetAttached(joystick);
    if (attached) {
        if (controller) read_controller(&live);
        else read_raw_joystick(&live);
    }
    return feed_joystick(attached, live, state);
}
