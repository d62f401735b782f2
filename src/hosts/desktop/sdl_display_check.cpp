// A display to play on, and what happens when it goes. Without one SDL would
// fall back on a driver that shows nothing, and the game would play unseen;
// Xlib's own answer to a lost X server is an exit that takes the recording's
// closing line with it.
#include <SDL.h>
#include <SDL_syswm.h>
#include <dlfcn.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#ifdef KUZARI_HAVE_X11
#include <X11/Xlib.h>
#endif

#include "hosts/desktop/sdl_platform.h"

namespace {

bool set(const char* variable) {
    const char* value = std::getenv(variable);
    return value && value[0];
}

pid_t game_process = 0;

[[noreturn]] void end_on_lost_display(const char* which) {
    // A message box's process, forked from the game, loses the display too:
    // the game says so and closes the recording, once.
    if (getpid() != game_process) _exit(1);
    std::fprintf(stderr, "kuzari: lost the display (%s); the game ends\n", which);
    sdl_finish_recording();
    _exit(1);
}

#ifdef KUZARI_HAVE_X11
int on_x_connection_lost(Display*) { end_on_lost_display("the X server closed the connection"); }
#endif

// SDL answers a compositor that has gone with a quit; the connection's error
// tells it from the player's. libwayland-client is SDL's, loaded by SDL.
bool wayland_connection_lost() {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    SDL_Window* window = sdl_main_window();
    if (!window || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_WAYLAND) return false;
    void* library = dlopen("libwayland-client.so.0", RTLD_LAZY | RTLD_NOLOAD);
    if (!library) return false;
    using GetError = int (*)(wl_display*);
    const auto get_error = reinterpret_cast<GetError>(dlsym(library, "wl_display_get_error"));
    const bool lost = get_error && get_error(info.info.wl.display) != 0;
    dlclose(library);
    return lost;
}

}  // namespace

bool sdl_display_named() {
    if (set("SDL_VIDEODRIVER") || set("DISPLAY") || set("WAYLAND_DISPLAY")) return true;
    std::fprintf(stderr, "kuzari: cannot open a display: neither DISPLAY nor WAYLAND_DISPLAY is set "
                         "(SDL_VIDEODRIVER=NAME picks a video driver anyway)\n");
    return false;
}

bool sdl_display_opened() {
    const char* driver = SDL_GetCurrentVideoDriver();
    const bool shows_nothing =
        driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0);
    if (shows_nothing && !set("SDL_VIDEODRIVER")) {
        std::fprintf(stderr, "kuzari: cannot open a display (SDL found only its '%s' driver)\n", driver);
        return false;
    }
    game_process = getpid();
#ifdef KUZARI_HAVE_X11
    if (driver && std::strcmp(driver, "x11") == 0) XSetIOErrorHandler(on_x_connection_lost);
#endif
    return true;
}

void sdl_check_display_on_quit() {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver && std::strcmp(driver, "wayland") == 0 && wayland_connection_lost())
        end_on_lost_display("the Wayland compositor went away");
}
