// The screen on SDL: the 320 x 240 picture scaled by the largest whole factor
// that fits the desktop, centred on black, nearest-neighbour. Vsync stays off:
// the game's own clock sets its pace, whatever the monitor's refresh rate.
#include "platform/platform.h"
#include "platform/sdl/sdl_platform.h"

static SDL_Renderer* renderer = nullptr;
static SDL_Texture* screen_texture = nullptr;

bool platform_open_display(PlatformWindow* window, int width, int height) {
    SDL_Window* sdl_window = sdl_window_of(window);
    if (!sdl_window) return false;
    renderer = SDL_CreateRenderer(sdl_window, -1, 0);
    if (!renderer) return false;
    SDL_RenderSetLogicalSize(renderer, width, height);
    SDL_RenderSetIntegerScale(renderer, SDL_TRUE);
    screen_texture =
        SDL_CreateTexture(renderer, SDL_PIXELFORMAT_RGB565, SDL_TEXTUREACCESS_STREAMING, width, height);
    if (!screen_texture) return false;
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
    SDL_RenderClear(renderer);
    SDL_RenderPresent(renderer);
    return true;
}

void platform_present(const void* pixels, int pitch) {
    if (!renderer || !screen_texture) return;
    SDL_UpdateTexture(screen_texture, nullptr, pixels, pitch);
    SDL_RenderClear(renderer);
    SDL_RenderCopy(renderer, screen_texture, nullptr, nullptr);
    SDL_RenderPresent(renderer);
}

void platform_close_display() {
    if (screen_texture) {
        SDL_DestroyTexture(screen_texture);
        screen_texture = nullptr;
    }
    if (renderer) {
        SDL_DestroyRenderer(renderer);
        renderer = nullptr;
    }
}
