// Which window system the game draws on. SDL 2.26 takes X11 whenever a
// display is offered, so on a Wayland session the game would go through
// XWayland and be enlarged, blurred, at a screen scale above 1: there it asks
// for Wayland first. A player's own SDL_VIDEODRIVER still decides.
#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "hosts/desktop/sdl_platform.h"

namespace {

bool wayland_asked_first = false;

}  // namespace

void sdl_choose_video_driver() {
    const char* session = std::getenv("WAYLAND_DISPLAY");
    const char* chosen = std::getenv("SDL_VIDEODRIVER");
    wayland_asked_first = session && *session && !(chosen && *chosen);
    if (wayland_asked_first) SDL_SetHint(SDL_HINT_VIDEODRIVER, "wayland,x11");
    // The compositor's app id (xdg_shell), for its rules and the desktop file.
    setenv("SDL_VIDEO_WAYLAND_WMCLASS", "kuzari", 0);
}

void sdl_tell_video_driver() {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (wayland_asked_first && driver && std::strcmp(driver, "wayland") != 0)
        std::fprintf(stderr, "kuzari: Wayland could not be used; the game runs on %s instead\n", driver);
}

bool sdl_on_wayland() {
    const char* driver = SDL_GetCurrentVideoDriver();
    return driver && std::strcmp(driver, "wayland") == 0;
}

int sdl_pixels_per_unit(SDL_Window* window) {
    int units = 0, pixels = 0;
    SDL_GetWindowSize(window, &units, nullptr);
    SDL_GetWindowSizeInPixels(window, &pixels, nullptr);
    return units > 0 && pixels > units ? pixels / units : 1;
}
