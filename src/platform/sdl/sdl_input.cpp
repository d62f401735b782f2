// The keyboard and the first joystick on SDL. The joystick is opened when it
// is plugged in, also after start, and handed over when it is replaced.
#include "platform/platform.h"
#include "platform/sdl/sdl_platform.h"

static SDL_Joystick* joystick = nullptr;

void sdl_joystick_device_event(const SDL_Event& event) {
    if (event.type == SDL_JOYDEVICEADDED) {
        if (!joystick) joystick = SDL_JoystickOpen(event.jdevice.which);  // a device index
    } else if (event.type == SDL_JOYDEVICEREMOVED) {
        if (joystick && SDL_JoystickInstanceID(joystick) == event.jdevice.which) {  // an instance id
            SDL_JoystickClose(joystick);
            joystick = nullptr;
            if (SDL_NumJoysticks() > 0) joystick = SDL_JoystickOpen(0);
        }
    }
}

bool platform_read_keyboard(KeyboardState* keys) {
    const Uint8* state = SDL_GetKeyboardState(nullptr);
    if (!state) return false;
    keys->up = state[SDL_SCANCODE_UP];
    keys->down = state[SDL_SCANCODE_DOWN];
    keys->left = state[SDL_SCANCODE_LEFT];
    keys->right = state[SDL_SCANCODE_RIGHT];
    keys->enter = state[SDL_SCANCODE_RETURN] || state[SDL_SCANCODE_KP_ENTER];
    keys->shift = state[SDL_SCANCODE_LSHIFT] || state[SDL_SCANCODE_RSHIFT];
    keys->ctrl = state[SDL_SCANCODE_LCTRL] || state[SDL_SCANCODE_RCTRL];
    keys->space = state[SDL_SCANCODE_SPACE];
    return true;
}

// SDL's axes run from -32768 to 32767; shifted to 0..0xFFFF the quarter and
// three-quarter points fall where the game's thresholds expect them.
static uint16_t axis_position(SDL_Joystick* stick, int axis) {
    if (SDL_JoystickNumAxes(stick) <= axis) return 0x8000;
    return uint16_t(int32_t(SDL_JoystickGetAxis(stick, axis)) + 32768);
}

bool platform_read_joystick(JoystickState* state) {
    if (!joystick || !SDL_JoystickGetAttached(joystick)) return false;
    state->x = axis_position(joystick, 0);
    state->y = axis_position(joystick, 1);
    state->buttons = 0;
    const int buttons = SDL_JoystickNumButtons(joystick);
    for (int b = 0; b < 4 && b < buttons; ++b)
        if (SDL_JoystickGetButton(joystick, b)) state->buttons |= uint8_t(1 << b);
    return true;
}
