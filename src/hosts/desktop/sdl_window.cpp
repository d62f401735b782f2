// The real game's window and message queue on SDL: full screen or a window,
// Alt+Enter and F11 between them, the window's own keys (F12, M), the pause
// while the window is in the background, and the quit that a signal asks for.
#include <SDL.h>
#ifdef KUZARI_HAVE_X11
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#endif

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <ctime>
#include <utility>

#include "platform/platform.h"
#include "hosts/desktop/sdl_options.h"
#include "hosts/desktop/sdl_event_log.h"
#include "hosts/desktop/sdl_platform.h"
#include "hosts/shared/captions.h"
#include "hosts/shared/input_feed.h"
#include "shell/shell.h"

struct PlatformWindow {
    SDL_Window* window;
};

namespace {

PlatformWindow the_window{nullptr};
bool quit_posted = false;
bool quit_signal_reported = false;
bool focused = true, minimised = false;
bool paused = false;
bool in_fullscreen = false;
// Without a window manager nobody answers a request for full screen: the
// window is then made borderless and as large as the display by hand.
bool fullscreen_by_hand = false;
// The game's picture, which the window's size is a whole multiple of.
int base_width = 320, base_height = 240;
// The window's size, scale or output changed: a standing game draws its
// picture again at once, as a running one does with its next frame.
bool redraw_wanted = false;
// Back from full screen the window's own size is due. A window manager may
// answer with the size the window had before (the whole output, for one that
// started in full screen), and SDL takes it: for a moment after the switch,
// such an answer is corrected once. A size the player gives later stands.
bool window_size_owed = false;
Uint32 window_size_owed_until = 0;
constexpr Uint32 window_size_answer_ms = 2000;

// What the game never reads: dropped as they come, so that they neither pile
// up nor wake the wait for the next frame.
const Uint32 ignored_events[] = {
    SDL_TEXTINPUT,          SDL_TEXTEDITING,        SDL_MOUSEMOTION,        SDL_MOUSEBUTTONDOWN,
    SDL_MOUSEBUTTONUP,      SDL_MOUSEWHEEL,         SDL_JOYAXISMOTION,      SDL_JOYBALLMOTION,
    SDL_JOYBUTTONUP,        SDL_CONTROLLERAXISMOTION, SDL_CONTROLLERBUTTONUP, SDL_CONTROLLERDEVICEADDED,
    SDL_CONTROLLERDEVICEREMOVED, SDL_CONTROLLERDEVICEREMAPPED, SDL_CONTROLLERTOUCHPADDOWN,
    SDL_CONTROLLERTOUCHPADMOTION, SDL_CONTROLLERTOUCHPADUP, SDL_CONTROLLERSENSORUPDATE,
    SDL_FINGERDOWN,         SDL_FINGERUP,           SDL_FINGERMOTION,       SDL_DOLLARGESTURE,
    SDL_DOLLARRECORD,       SDL_MULTIGESTURE,       SDL_CLIPBOARDUPDATE,    SDL_DROPFILE,
    SDL_DROPTEXT,           SDL_DROPBEGIN,          SDL_DROPCOMPLETE,       SDL_AUDIODEVICEADDED,
    SDL_AUDIODEVICEREMOVED, SDL_SENSORUPDATE,       SDL_KEYMAPCHANGED,
};

// The largest whole enlargement of the picture, in the screen's pixels, that
// fits in about 90 % of the display's usable area, or the one the player
// asked for. The display's bounds are in the window's units.
int windowed_scale(int display, int pixels_per_unit) {
    if (host_options.scale > 0) return host_options.scale;
    SDL_Rect usable;
    if (SDL_GetDisplayUsableBounds(display, &usable) != 0) return 2;
    return std::max(1, std::min(usable.w * pixels_per_unit * 9 / 10 / base_width,
                                usable.h * pixels_per_unit * 9 / 10 / base_height));
}

// The window at a whole multiple of the picture in real pixels: on a screen
// scaled by 2 that is half as many of the window's units.
void size_window_in_pixels(SDL_Window* window, int display) {
    const int per_unit = sdl_pixels_per_unit(window);
    const int scale = windowed_scale(display, per_unit);
    SDL_SetWindowSize(window, (base_width * scale + per_unit - 1) / per_unit,
                      (base_height * scale + per_unit - 1) / per_unit);
}

int display_of_window() {
    const int display = the_window.window ? SDL_GetWindowDisplayIndex(the_window.window) : 0;
    return display < 0 ? 0 : display;
}

// Whether a window manager looks after the X display. SDL waits up to 100 ms
// after asking for full screen until the window's size changes, which only a
// window manager makes happen.
bool window_manager_running() {
    if (sdl_on_wayland()) return true;  // the compositor is one
#ifndef KUZARI_HAVE_X11
    return false;  // built without X11: assume none, and make full screen by hand
#else
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver || std::strcmp(driver, "x11") != 0) return false;
    Display* display = XOpenDisplay(nullptr);
    if (!display) return false;
    bool running = false;
    const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", True);
    if (check != None) {
        Atom type;
        int format;
        unsigned long count, left;
        unsigned char* value = nullptr;
        if (XGetWindowProperty(display, DefaultRootWindow(display), check, 0, 1, False, XA_WINDOW, &type, &format,
                               &count, &left, &value) == Success)
            running = value && count == 1;
        if (value) XFree(value);
    }
    XCloseDisplay(display);
    return running;
#endif
}

// SDL's video opens an input method, which reads the locale's compose table
// (thousands of lines, 10-15 ms) before the first picture. The game reads
// keys, never text: it gets an empty table, and the player's own setting is
// put back at once for anything the game starts later.
bool start_video_without_compose() {
    const char* own = std::getenv("XCOMPOSEFILE");
    const std::string kept = own ? own : "";
    setenv("XCOMPOSEFILE", "/dev/null", 1);
    const bool started = SDL_Init(SDL_INIT_VIDEO) == 0;
    if (own) setenv("XCOMPOSEFILE", kept.c_str(), 1);
    else unsetenv("XCOMPOSEFILE");
    return started;
}

// The configured windowed size, centred on the window's display.
void give_window_its_size() {
    window_size_owed = false;
    const int display = display_of_window();
    size_window_in_pixels(the_window.window, display);
    SDL_SetWindowPosition(the_window.window, SDL_WINDOWPOS_CENTERED_DISPLAY(display),
                          SDL_WINDOWPOS_CENTERED_DISPLAY(display));
}

// Whether the window is the size it is given out of full screen, in pixels.
bool window_has_its_size() {
    const int per_unit = sdl_pixels_per_unit(the_window.window);
    const int scale = windowed_scale(display_of_window(), per_unit);
    int width = 0, height = 0;
    SDL_GetWindowSize(the_window.window, &width, &height);
    return width == (base_width * scale + per_unit - 1) / per_unit &&
           height == (base_height * scale + per_unit - 1) / per_unit;
}

void set_paused(bool pause) {
    if (pause == paused) return;
    paused = pause;
    sdl_audio_pause(pause);
    sdl_captions_pause(pause);
}

// A seek back: the game, its script, its recording and what the host keeps of
// them start again; the viewer then runs unshown to the frame sought.
void restart_playback() {
    sdl_black_box_forget();
    sdl_restart_recording();
    reset_captions();
    input_feed.script = script_player(std::move(input_feed.script.runs));
    game_restart();
    sdl_viewer_restarted();
}

// Alt+Enter and F11 belong to the window, never to the game.
bool is_mode_switch(const SDL_KeyboardEvent& key) {
    const SDL_Keycode sym = key.keysym.sym;
    if (sym == SDLK_F11) return true;
    return (sym == SDLK_RETURN || sym == SDLK_KP_ENTER) && (key.keysym.mod & KMOD_ALT);
}

// Turns one event into a message for the game, or handles it here; true
// when there is a message.
bool handle_event(const SDL_Event& event, PlatformMessage* message) {
    bool quit = false;
    if (sdl_overlay_event(event, &quit)) {
        if (!quit) return false;
        // Quit in the menu ends the game as the window's close does.
        *message = PlatformMessage{message_close, false};
        return true;
    }
    if (sdl_opens_overlay(event)) {
        if (event.type == SDL_KEYDOWN) sdl_key_taken_by_window(event.key.keysym.scancode);
        else sdl_pad_button_taken_by_window(event.cbutton.button);
        sdl_open_overlay();
        return false;
    }
    switch (event.type) {
    case SDL_QUIT:
        sdl_check_display_on_quit();
        *message = PlatformMessage{message_close, false};
        return true;
    case SDL_WINDOWEVENT:
        switch (event.window.event) {
        case SDL_WINDOWEVENT_CLOSE:
            *message = PlatformMessage{message_close, false};
            return true;
        case SDL_WINDOWEVENT_FOCUS_GAINED: focused = true; break;
        case SDL_WINDOWEVENT_FOCUS_LOST: focused = false; break;
        case SDL_WINDOWEVENT_MINIMIZED: minimised = true; break;
        case SDL_WINDOWEVENT_RESTORED:
        case SDL_WINDOWEVENT_MAXIMIZED: minimised = false; break;
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            if (window_size_owed && !in_fullscreen && !SDL_TICKS_PASSED(SDL_GetTicks(), window_size_owed_until) &&
                !window_has_its_size())
                give_window_its_size();
            redraw_wanted = true;
            break;
        case SDL_WINDOWEVENT_DISPLAY_CHANGED:
        case SDL_WINDOWEVENT_EXPOSED: redraw_wanted = true; break;
        default: break;
        }
        sdl_follow_pause();
        return false;
    case SDL_KEYDOWN:
        if (event.key.repeat) return false;
        if (is_mode_switch(event.key)) {
            sdl_key_taken_by_window(event.key.keysym.scancode);
            sdl_switch_fullscreen();
            return false;
        }
        if (event.key.keysym.sym == SDLK_F12) {
            sdl_save_shown_picture();
            return false;
        }
        if (event.key.keysym.sym == SDLK_m) {
            sdl_switch_mute();
            return false;
        }
        if (sdl_overlay_is_open()) return false;  // F11, F12 and M above were the window's
        if (sdl_viewer_event(event)) return false;
        sdl_key_went_down(event.key.keysym.scancode);
        if (event.key.keysym.sym == SDLK_ESCAPE) sdl_record_escape();
        *message = PlatformMessage{message_key_down, event.key.keysym.sym == SDLK_ESCAPE};
        return true;
    case SDL_KEYUP:
        sdl_key_came_up(event.key.keysym.scancode);
        return false;
    default:
        if (!sdl_overlay_is_open() && sdl_viewer_event(event)) return false;
        sdl_pad_event(event);
        return false;
    }
}

}  // namespace

PlatformWindow* platform_create_window(const char* title, int width, int height) {
    base_width = width;
    base_height = height;
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
    SDL_SetHint(SDL_HINT_RENDER_VSYNC, "0");
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");  // sdl_signals.cpp has its own
    sdl_choose_video_driver();
    if (!start_video_without_compose() || !sdl_display_opened()) return nullptr;
    sdl_profile_step("SDL's video");
    sdl_tell_video_driver();
    for (const Uint32 type : ignored_events) SDL_EventState(type, SDL_IGNORE);
    sdl_start_input();
    sdl_profile_step("pads");

    const int display = 0;
    // Drawn at the screen's real pixels where the compositor scales windows.
    const Uint32 high_dpi = SDL_WINDOW_ALLOW_HIGHDPI;
    SDL_Rect bounds{0, 0, width, height};
    SDL_GetDisplayBounds(display, &bounds);
    fullscreen_by_hand = !window_manager_running();
    in_fullscreen = host_options.fullscreen;
    if (host_options.fullscreen && fullscreen_by_hand) {
        the_window.window =
            SDL_CreateWindow(title, bounds.x, bounds.y, bounds.w, bounds.h, SDL_WINDOW_BORDERLESS | high_dpi);
    } else if (host_options.fullscreen) {
        // Smaller than the display, so that the window manager's answer shows at once.
        the_window.window = SDL_CreateWindow(title, SDL_WINDOWPOS_CENTERED_DISPLAY(display),
                                             SDL_WINDOWPOS_CENTERED_DISPLAY(display), width, height,
                                             SDL_WINDOW_FULLSCREEN_DESKTOP | SDL_WINDOW_BORDERLESS | high_dpi);
    } else {
        const int scale = windowed_scale(display, 1);
        the_window.window =
            SDL_CreateWindow(title, SDL_WINDOWPOS_CENTERED_DISPLAY(display), SDL_WINDOWPOS_CENTERED_DISPLAY(display),
                             width * scale, height * scale, SDL_WINDOW_RESIZABLE | high_dpi);
        // Only now is the screen's scale known (above 1 only on Wayland).
        if (the_window.window && sdl_pixels_per_unit(the_window.window) > 1)
            size_window_in_pixels(the_window.window, display);
    }
    if (!the_window.window) return nullptr;
    sdl_profile_step("window");
    SDL_SetWindowMinimumSize(the_window.window, width, height);
    // An input method would otherwise take Enter, Space and Shift for itself.
    SDL_StopTextInput();
    sdl_set_window_icon(the_window.window);
    sdl_profile_step("icon");
    return &the_window;
}

void platform_destroy_window(PlatformWindow* window) {
    if (!window || !window->window) return;
    sdl_release_overlay();
    SDL_DestroyWindow(window->window);
    window->window = nullptr;
}

SDL_Window* sdl_window_of(PlatformWindow* window) { return window ? window->window : nullptr; }
SDL_Window* sdl_main_window() { return the_window.window; }

bool sdl_is_fullscreen() { return the_window.window && in_fullscreen; }

void sdl_switch_fullscreen() {
    SDL_Window* window = the_window.window;
    if (!window) return;
    const int display = display_of_window();
    in_fullscreen = !in_fullscreen;
    if (!in_fullscreen) {
        if (!fullscreen_by_hand) SDL_SetWindowFullscreen(window, 0);
        SDL_SetWindowBordered(window, SDL_TRUE);
        SDL_SetWindowResizable(window, SDL_TRUE);
        give_window_its_size();
        window_size_owed = !fullscreen_by_hand;
        window_size_owed_until = SDL_GetTicks() + window_size_answer_ms;
    } else if (fullscreen_by_hand) {
        SDL_Rect bounds;
        SDL_SetWindowBordered(window, SDL_FALSE);
        if (SDL_GetDisplayBounds(display, &bounds) == 0) {
            SDL_SetWindowPosition(window, bounds.x, bounds.y);
            SDL_SetWindowSize(window, bounds.w, bounds.h);
        }
    } else {
        SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP);
    }
}

void sdl_follow_pause() {
    set_paused(sdl_overlay_is_open() || (host_options.pause_in_background && (!focused || minimised)) ||
               sdl_viewer_stands_still());
}

void sdl_resize_window() {
    if (the_window.window && !in_fullscreen) size_window_in_pixels(the_window.window, display_of_window());
}

void platform_hide_cursor() {
    SDL_ShowCursor(SDL_DISABLE);
    sdl_profile_step("cursor");
}

bool platform_take_message(PlatformMessage* message) {
    if (sdl_viewer_restart_wanted()) restart_playback();
    if (quit_posted) {
        quit_posted = false;
        *message = PlatformMessage{message_quit, false};
        return true;
    }
    if (sdl_quit_signalled() && !quit_signal_reported) {
        quit_signal_reported = true;
        *message = PlatformMessage{message_close, false};
        return true;
    }
    SDL_Event event;
    while (SDL_PollEvent(&event))
        if (handle_event(event, message)) return true;
    if (feed_script_message(message)) return true;
    // In the background the game stands still: no frame runs until the
    // window is back, and then play goes on from the same frame.
    // The options menu is drawn again after whatever may have changed it.
    if (paused && (sdl_overlay_is_open() || redraw_wanted)) sdl_present_again();
    redraw_wanted = false;
    sdl_event_log_paused(paused);  // once the menu is on the screen
    while (paused) {
        if (sdl_quit_signalled()) return platform_take_message(message);
        sdl_present_owed();
        if (sdl_wayland_surface_rescaled()) sdl_present_again();
        if (!SDL_WaitEventTimeout(&event, 100)) continue;
        if (handle_event(event, message)) return true;
        if (sdl_overlay_is_open() || redraw_wanted) sdl_present_again();
        redraw_wanted = false;
        sdl_event_log_paused(paused);
    }
    return false;
}

void platform_post_quit() { quit_posted = true; }

uint32_t platform_calendar_seconds() { return sdl_game_seed(uint32_t(std::time(nullptr))); }
