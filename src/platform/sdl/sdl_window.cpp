// The real game's window, message queue, clock and message boxes, on SDL.
#include <SDL.h>

#include <ctime>
#include <unistd.h>

#include "platform/platform.h"
#include "platform/sdl/sdl_platform.h"

struct PlatformWindow {
    SDL_Window* window;
};

static PlatformWindow the_window{nullptr};
static bool quit_posted = false;

PlatformWindow* platform_create_window(const char* title, int width, int height) {
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
    SDL_SetHint(SDL_HINT_RENDER_VSYNC, "0");
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    if (SDL_Init(SDL_INIT_VIDEO) != 0) return nullptr;
    SDL_InitSubSystem(SDL_INIT_JOYSTICK);  // the game plays on without one
    // Made at the desktop's size as well as full screen, so that it covers the
    // screen even where no window manager acts on the full-screen request.
    SDL_DisplayMode desktop;
    if (SDL_GetDesktopDisplayMode(0, &desktop) == 0) {
        width = desktop.w;
        height = desktop.h;
    }
    the_window.window = SDL_CreateWindow(title, 0, 0, width, height,
                                         SDL_WINDOW_FULLSCREEN_DESKTOP | SDL_WINDOW_BORDERLESS);
    if (!the_window.window) return nullptr;
    sdl_set_window_icon(the_window.window);
    return &the_window;
}

void platform_destroy_window(PlatformWindow* window) {
    if (!window || !window->window) return;
    SDL_DestroyWindow(window->window);
    window->window = nullptr;
}

SDL_Window* sdl_window_of(PlatformWindow* window) { return window ? window->window : nullptr; }

void platform_hide_cursor() { SDL_ShowCursor(SDL_DISABLE); }

bool platform_take_message(PlatformMessage* message) {
    if (quit_posted) {
        quit_posted = false;
        *message = PlatformMessage{message_quit, false};
        return true;
    }
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        switch (event.type) {
        case SDL_QUIT:
            *message = PlatformMessage{message_close, false};
            return true;
        case SDL_WINDOWEVENT:
            if (event.window.event == SDL_WINDOWEVENT_CLOSE) {
                *message = PlatformMessage{message_close, false};
                return true;
            }
            break;
        case SDL_KEYDOWN:
            if (event.key.repeat) break;
            *message = PlatformMessage{message_key_down, event.key.keysym.sym == SDLK_ESCAPE};
            return true;
        case SDL_JOYDEVICEADDED:
        case SDL_JOYDEVICEREMOVED:
            sdl_joystick_device_event(event);
            break;
        default:
            break;
        }
    }
    return false;
}

void platform_post_quit() { quit_posted = true; }

// Waits on the event queue for most of the time left, then in short naps for
// the last couple of milliseconds, so that the frame starts on its exact
// millisecond without spinning a core.
void platform_wait_until(uint32_t deadline_ms) {
    const double began = sdl_profile_clock();
    for (;;) {
        const int32_t remaining = int32_t(deadline_ms - SDL_GetTicks());
        if (remaining <= 0) break;
        if (remaining > 2) {
            if (SDL_WaitEventTimeout(nullptr, remaining - 2)) break;
        } else {
            SDL_PumpEvents();
            if (SDL_HasEvents(SDL_FIRSTEVENT, SDL_LASTEVENT)) break;
            usleep(200);
        }
    }
    sdl_profile_waited(began);
}

uint32_t platform_ticks_ms() { return SDL_GetTicks(); }

uint32_t platform_calendar_seconds() { return uint32_t(std::time(nullptr)); }
