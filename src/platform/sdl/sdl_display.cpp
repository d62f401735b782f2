// The screen on SDL: the 320 x 240 picture scaled by the largest whole factor
// that fits the window, centred on black, nearest-neighbour. Vsync stays off:
// the game's own clock sets its pace, whatever the monitor's refresh rate.
#include <sys/stat.h>

#include <vector>

#include "platform/platform.h"
#include "platform/sdl/sdl_platform.h"

static SDL_Renderer* renderer = nullptr;
static SDL_Texture* screen_texture = nullptr;
static int picture_width = 0, picture_height = 0;
// The picture last presented, where the game keeps it, for F12.
static const uint16_t* shown_pixels = nullptr;
static int shown_pitch = 0;
// RGB565 to XRGB8888, each channel widened by repeating its top bits, as
// SDL's own conversion does.
static std::vector<uint32_t> widened;

static void build_widening_table() {
    widened.resize(65536);
    for (uint32_t p = 0; p < 65536; ++p) {
        const uint32_t r = p >> 11, g = (p >> 5) & 63, b = p & 31;
        widened[p] = (r << 3 | r >> 2) << 16 | (g << 2 | g >> 4) << 8 | (b << 3 | b >> 2);
    }
}

// Without a GPU, OpenGL is drawn by the CPU (llvmpipe) on extra threads, after
// a long start-up and with some 90 MB more memory; SDL's own software renderer
// does the same scaling for less. A player's SDL_RENDER_DRIVER still wins.
static void prefer_software_without_gpu() {
    struct stat info;
    if (stat("/dev/dri", &info) == 0) return;
    SDL_SetHint(SDL_HINT_RENDER_DRIVER, "software");
    // Straight to the window system's shared memory, not through a GL texture.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
}

bool platform_open_display(PlatformWindow* window, int width, int height) {
    SDL_Window* sdl_window = sdl_window_of(window);
    if (!sdl_window) return false;
    prefer_software_without_gpu();
    renderer = SDL_CreateRenderer(sdl_window, -1, 0);
    if (!renderer) return false;
    SDL_RenderSetLogicalSize(renderer, width, height);
    SDL_RenderSetIntegerScale(renderer, SDL_TRUE);
    // XRGB8888, the window's own format, so that the scaling copy converts nothing.
    screen_texture =
        SDL_CreateTexture(renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING, width, height);
    if (!screen_texture) {
        platform_close_display();
        return false;
    }
    picture_width = width;
    picture_height = height;
    build_widening_table();
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
    SDL_RenderClear(renderer);
    SDL_RenderPresent(renderer);
    return true;
}

void platform_present(const void* pixels, int pitch) {
    if (!renderer || !screen_texture) return;
    shown_pixels = static_cast<const uint16_t*>(pixels);
    shown_pitch = pitch / 2;
    const double began = sdl_profile_clock();
    void* texels;
    int texel_pitch;
    if (SDL_LockTexture(screen_texture, nullptr, &texels, &texel_pitch) == 0) {
        for (int y = 0; y < picture_height; ++y) {
            const auto* from = reinterpret_cast<const uint16_t*>(static_cast<const uint8_t*>(pixels) + y * pitch);
            auto* to = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(texels) + y * texel_pitch);
            for (int x = 0; x < picture_width; ++x) to[x] = widened[from[x]];
        }
        SDL_UnlockTexture(screen_texture);
    }
    SDL_RenderClear(renderer);
    SDL_RenderCopy(renderer, screen_texture, nullptr, nullptr);
    SDL_RenderPresent(renderer);
    sdl_record_picture(shown_pixels, picture_width, picture_height, shown_pitch);
    sdl_frame_shown();
    sdl_profile_presented(began);
}

void sdl_save_shown_picture() {
    if (renderer) sdl_save_screenshot(shown_pixels, picture_width, picture_height, shown_pitch);
}

void platform_close_display() {
    shown_pixels = nullptr;
    if (screen_texture) {
        SDL_DestroyTexture(screen_texture);
        screen_texture = nullptr;
    }
    if (renderer) {
        SDL_DestroyRenderer(renderer);
        renderer = nullptr;
    }
    widened.clear();
    widened.shrink_to_fit();
}
