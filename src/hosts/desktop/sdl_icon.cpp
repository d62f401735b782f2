// The window icon, built into the program from the game's icon art.
#include "hosts/shared/icon_art.h"
#include "hosts/desktop/sdl_platform.h"

void sdl_set_window_icon(SDL_Window* window) {
    SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormat(0, icon_size, icon_size, 32, SDL_PIXELFORMAT_RGBA32);
    if (!icon) return;
    for (int y = 0; y < icon_size; ++y) {
        auto* row = reinterpret_cast<Uint32*>(static_cast<Uint8*>(icon->pixels) + y * icon->pitch);
        for (int x = 0; x < icon_size; ++x) {
            const IconColour& c = icon_pixel(x, y);
            row[x] = SDL_MapRGBA(icon->format, c.r, c.g, c.b, c.a);
        }
    }
    SDL_SetWindowIcon(window, icon);
    SDL_FreeSurface(icon);
}
