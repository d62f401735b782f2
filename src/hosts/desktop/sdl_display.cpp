// The screen on SDL: the 320 x 240 picture scaled by the largest whole factor
// that fits the window, centred on black, nearest-neighbour. With a GPU it
// goes through SDL's accelerated renderer. Without one, OpenGL would be drawn
// by the CPU, so the picture is written straight into the window's own
// surface instead: scaled once, the borders blackened only when the window's
// size changes, and only the picture's rectangle sent to the window system.
// On Wayland SDL 2 has no such surface: the game hands the compositor its
// own buffers (sdl_wayland_surface.cpp). Vsync, when asked for, needs the
// renderer.
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "platform/platform.h"
#include "hosts/desktop/sdl_options.h"
#include "hosts/desktop/sdl_event_log.h"
#include "hosts/desktop/sdl_hints.h"
#include "hosts/desktop/sdl_platform.h"
#include "hosts/shared/overlay_image.h"

namespace {

SDL_Window* display_window = nullptr;
SDL_Renderer* renderer = nullptr;     // the GPU's path
SDL_Texture* screen_texture = nullptr;
SDL_Texture* menu_texture = nullptr;     // the options menu over the picture
SDL_Texture* caption_texture = nullptr;  // a caption's band over its bottom
SDL_Texture* hint_texture = nullptr;     // the hint's words over the game's own line
SDL_Texture* panel_texture = nullptr;    // a message over everything
const OverlayImage* panel = nullptr;     // while one is up
std::vector<uint16_t> black_picture;     // under a message that comes before any frame
SDL_Texture* viewer_texture = nullptr;   // the playback's band over its top
bool surface_path = false;            // the window surface's path
bool wayland_path = false;            // our own buffers on Wayland
SDL_Surface* known_surface = nullptr; // the surface the borders were drawn on
int known_width = 0, known_height = 0;
// The black borders are not sent yet: they go with the first picture rather
// than in a whole window of their own before it.
bool whole_owed = false;

int picture_width = 0, picture_height = 0;
// The picture last presented, where the game keeps it, for F12.
const uint16_t* shown_pixels = nullptr;
int shown_pitch = 0;
// RGB565 to the 32-bit pixels of the screen, each channel widened by
// repeating its top bits, as SDL's own conversion does.
std::vector<uint32_t> widened;

void build_widening_table(const SDL_PixelFormat* format) {
    widened.resize(65536);
    for (uint32_t p = 0; p < 65536; ++p) {
        const uint32_t r = p >> 11, g = (p >> 5) & 63, b = p & 31;
        widened[p] = SDL_MapRGB(format, Uint8(r << 3 | r >> 2), Uint8(g << 2 | g >> 4), Uint8(b << 3 | b >> 2));
    }
}

// Only a player's own SDL_RENDER_DRIVER takes the renderer where no GPU is.
bool has_gpu() {
    struct stat info;
    const char* driver = std::getenv("SDL_RENDER_DRIVER");
    return stat("/dev/dri", &info) == 0 || (driver && *driver);
}

// The refresh rate the frames can be locked to, or 0 (and why, on standard error).
int vsync_refresh_rate() {
    SDL_DisplayMode mode;
    const int display = SDL_GetWindowDisplayIndex(display_window);
    const int rate = display >= 0 && SDL_GetCurrentDisplayMode(display, &mode) == 0 ? mode.refresh_rate : 0;
    if ((rate >= 59 && rate <= 61) || (rate >= 118 && rate <= 122)) return rate;
    std::fprintf(stderr, "kuzari: the display refreshes at %d Hz, not about 60 or 120: "
                         "no vsync, the game keeps its own clock\n", rate);
    return 0;
}

bool open_renderer(int width, int height) {
    const int refresh_rate = host_options.vsync ? vsync_refresh_rate() : 0;
    renderer = SDL_CreateRenderer(display_window, -1, refresh_rate ? SDL_RENDERER_PRESENTVSYNC : 0);
    if (!renderer) return false;
    SDL_RendererInfo info;
    // SDL's software renderer says it has vsync, but only a GPU's waits for the refresh.
    if (refresh_rate && SDL_GetRendererInfo(renderer, &info) == 0 && (info.flags & SDL_RENDERER_PRESENTVSYNC) &&
        (info.flags & SDL_RENDERER_ACCELERATED))
        sdl_lock_clock_to_refresh(refresh_rate);
    else if (refresh_rate)
        std::fprintf(stderr, "kuzari: the renderer has no vsync: the game keeps its own clock\n");
    SDL_RenderSetLogicalSize(renderer, width, height);
    SDL_RenderSetIntegerScale(renderer, SDL_TRUE);
    // XRGB8888, the window's own format, so that the scaling copy converts nothing.
    screen_texture =
        SDL_CreateTexture(renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING, width, height);
    if (!screen_texture) return false;
    SDL_PixelFormat* format = SDL_AllocFormat(SDL_PIXELFORMAT_RGB888);
    if (!format) return false;
    build_widening_table(format);
    SDL_FreeFormat(format);
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
    SDL_RenderClear(renderer);
    SDL_RenderPresent(renderer);
    return true;
}

// An overlay drawn over the picture by the renderer, blended, at the
// picture's scale (the renderer's logical size is the picture's).
void copy_overlay(SDL_Texture** texture, const OverlayImage& image, const SDL_Rect* where) {
    int width = 0, height = 0;
    if (*texture) SDL_QueryTexture(*texture, nullptr, nullptr, &width, &height);
    if (!*texture || width != image.width || height != image.height) {
        if (*texture) SDL_DestroyTexture(*texture);
        *texture = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING, image.width,
                                     image.height);
        if (!*texture) return;
        SDL_SetTextureBlendMode(*texture, SDL_BLENDMODE_BLEND);
    }
    SDL_UpdateTexture(*texture, nullptr, image.pixels.data(), image.width * 4);
    SDL_RenderCopy(renderer, *texture, nullptr, where);
}

void present_through_renderer(const uint16_t* pixels, int pitch) {
    void* texels;
    int texel_pitch;
    if (SDL_LockTexture(screen_texture, nullptr, &texels, &texel_pitch) == 0) {
        for (int y = 0; y < picture_height; ++y) {
            const uint16_t* from = pixels + y * pitch;
            auto* to = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(texels) + y * texel_pitch);
            for (int x = 0; x < picture_width; ++x) to[x] = widened[from[x]];
        }
        SDL_UnlockTexture(screen_texture);
    }
    SDL_RenderClear(renderer);
    SDL_RenderCopy(renderer, screen_texture, nullptr, nullptr);
    int hint_top = 0;
    if (const OverlayImage* hint = sdl_hint_band(&hint_top)) {
        const SDL_Rect line{0, hint_top, hint->width, hint->height};
        copy_overlay(&hint_texture, *hint, &line);
    }
    if (const OverlayImage* band = sdl_caption_band()) {
        const SDL_Rect bottom{0, picture_height - band->height, band->width, band->height};
        copy_overlay(&caption_texture, *band, &bottom);
    }
    if (const OverlayImage* viewer = sdl_viewer_band()) {
        const SDL_Rect top{0, 0, viewer->width, viewer->height};
        copy_overlay(&viewer_texture, *viewer, &top);
    }
    if (const OverlayImage* menu = sdl_overlay_picture()) copy_overlay(&menu_texture, *menu, nullptr);
    if (panel) copy_overlay(&panel_texture, *panel, nullptr);
    SDL_RenderPresent(renderer);
}

// The window's surface, and whether its size (or the surface itself) has
// changed since the last frame: then it is all black again and sent whole.
SDL_Surface* window_surface(bool* fresh) {
    SDL_Surface* surface = SDL_GetWindowSurface(display_window);
    *fresh = surface != known_surface || (surface && (surface->w != known_width || surface->h != known_height));
    if (!surface || !*fresh) return surface;
    if (surface->format->BytesPerPixel != 4) return nullptr;
    build_widening_table(surface->format);
    SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 0, 0, 0));
    known_surface = surface;
    known_width = surface->w;
    known_height = surface->h;
    return surface;
}

// One scaled row, made in a buffer that stays in the cache, written to the
// window's memory without reading it first (streaming stores), where SSE2 is.
void write_row(uint8_t* to, const uint32_t* row, size_t bytes) {
#ifdef __SSE2__
    if ((reinterpret_cast<uintptr_t>(to) & 15) == 0 && bytes % 16 == 0) {
        const auto* from = reinterpret_cast<const __m128i*>(row);
        auto* out = reinterpret_cast<__m128i*>(to);
        for (size_t i = 0; i < bytes / 16; ++i) _mm_stream_si128(out + i, _mm_loadu_si128(from + i));
        return;
    }
#endif
    std::memcpy(to, row, bytes);
}

std::vector<uint32_t> scaled_row;

// The picture at its whole factor, centred, into `surface`; the borders are
// blackened first when it is `fresh`. Gives the picture's rectangle.
SDL_Rect draw_scaled(SDL_Surface* surface, bool fresh, const uint16_t* pixels, int pitch) {
    if (fresh) {
        build_widening_table(surface->format);
        SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 0, 0, 0));
    }
    const int scale = std::max(1, std::min(surface->w / picture_width, surface->h / picture_height));
    SDL_Rect picture{(surface->w - picture_width * scale) / 2, (surface->h - picture_height * scale) / 2,
                     picture_width * scale, picture_height * scale};
    picture.x = std::max(0, picture.x);
    picture.y = std::max(0, picture.y);
    const int columns = std::min(picture_width, (surface->w - picture.x) / scale);
    const int rows = std::min(picture_height, (surface->h - picture.y) / scale);
    if (SDL_MUSTLOCK(surface)) SDL_LockSurface(surface);
    auto* first = static_cast<uint8_t*>(surface->pixels) + picture.y * surface->pitch + picture.x * 4;
    scaled_row.resize(size_t(columns * scale));
    const size_t row_bytes = scaled_row.size() * 4;
    for (int y = 0; y < rows; ++y) {
        const uint16_t* from = pixels + y * pitch;
        for (int x = 0; x < columns; ++x) std::fill_n(&scaled_row[size_t(x * scale)], scale, widened[from[x]]);
        uint8_t* to = first + size_t(y) * size_t(scale) * size_t(surface->pitch);
        for (int copy = 0; copy < scale; ++copy)
            write_row(to + size_t(copy) * size_t(surface->pitch), scaled_row.data(), row_bytes);
    }
#ifdef __SSE2__
    _mm_sfence();  // the streamed rows are in memory before the window system reads them
#endif
    if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
    return picture;
}

// An overlay blended into the scaled picture in `surface`, its top at the
// picture's row `top`, each of its pixels `scale` times as large.
void blend_overlay(SDL_Surface* surface, const SDL_Rect& picture, int scale, const OverlayImage& image, int top) {
    const SDL_PixelFormat* format = surface->format;
    if (SDL_MUSTLOCK(surface)) SDL_LockSurface(surface);
    for (int y = 0; y < image.height; ++y) {
        const int row = picture.y + (top + y) * scale;
        if (row < 0 || row + scale > surface->h) continue;
        for (int x = 0; x < image.width; ++x) {
            const uint32_t colour = image.pixels[size_t(y * image.width + x)];
            const uint32_t alpha = colour >> 24;
            const int column = picture.x + x * scale;
            if (!alpha || column + scale > surface->w) continue;
            for (int dy = 0; dy < scale; ++dy) {
                auto* to = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(surface->pixels) +
                                                       size_t(row + dy) * size_t(surface->pitch)) + column;
                for (int dx = 0; dx < scale; ++dx) {
                    const uint32_t under = to[dx];
                    uint32_t mixed = 0;
                    for (const auto& [shift, from_shift] : {std::pair<int, int>{format->Rshift, 16},
                                                            {format->Gshift, 8}, {format->Bshift, 0}}) {
                        const uint32_t over = (colour >> from_shift) & 255, old = (under >> shift) & 255;
                        mixed |= ((over * alpha + old * (255 - alpha) + 127) / 255) << shift;
                    }
                    to[dx] = mixed | (under & format->Amask);
                }
            }
        }
    }
    if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
}

// The hint's words, a caption, the playback's band and the options menu,
// over the picture just drawn.
void blend_overlays(SDL_Surface* surface, const SDL_Rect& picture) {
    const int scale = picture.w / picture_width;
    int hint_top = 0;
    if (const OverlayImage* hint = sdl_hint_band(&hint_top)) blend_overlay(surface, picture, scale, *hint, hint_top);
    if (const OverlayImage* band = sdl_caption_band())
        blend_overlay(surface, picture, scale, *band, picture_height - band->height);
    if (const OverlayImage* viewer = sdl_viewer_band()) blend_overlay(surface, picture, scale, *viewer, 0);
    if (const OverlayImage* menu = sdl_overlay_picture()) blend_overlay(surface, picture, scale, *menu, 0);
    if (panel) blend_overlay(surface, picture, scale, *panel, 0);
}

void present_through_surface(const uint16_t* pixels, int pitch) {
    bool fresh;
    SDL_Surface* surface = window_surface(&fresh);
    if (!surface) return;
    const SDL_Rect picture = draw_scaled(surface, false, pixels, pitch);
    blend_overlays(surface, picture);
    if (fresh || whole_owed) SDL_UpdateWindowSurface(display_window);
    else SDL_UpdateWindowSurfaceRects(display_window, &picture, 1);
    whole_owed = false;
}

void present_through_wayland(const uint16_t* pixels, int pitch) {
    bool fresh;
    SDL_Surface* surface = sdl_wayland_surface_begin(&fresh);
    if (!surface) return;
    const SDL_Rect picture = draw_scaled(surface, fresh, pixels, pitch);
    blend_overlays(surface, picture);
    sdl_wayland_surface_send(fresh ? nullptr : &picture);
}

}  // namespace

bool platform_open_display(PlatformWindow* window, int width, int height) {
    display_window = sdl_window_of(window);
    if (!display_window) return false;
    picture_width = width;
    picture_height = height;
    if (has_gpu()) {
        if (!open_renderer(width, height)) {
            platform_close_display();
            return false;
        }
        return true;
    }
    // Straight to the window system's shared memory, not through a GL texture.
    wayland_path = sdl_wayland_surface_open(display_window);
    if (!wayland_path) {
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
        bool fresh;
        surface_path = window_surface(&fresh) != nullptr;
        whole_owed = surface_path;
    }
    if (wayland_path || surface_path) {
        if (host_options.vsync)
            std::fprintf(stderr, "kuzari: without a GPU there is no vsync: the game keeps its own clock\n");
        sdl_profile_step("display");
        return true;
    }
    // A window system whose surfaces are not 32-bit: the renderer after all.
    if (!open_renderer(width, height)) {
        platform_close_display();
        return false;
    }
    return true;
}

namespace {

void present_shown() {
    if (wayland_path) present_through_wayland(shown_pixels, shown_pitch);
    else if (surface_path) present_through_surface(shown_pixels, shown_pitch);
    else present_through_renderer(shown_pixels, shown_pitch);
}

}  // namespace

void platform_present(const void* pixels, int pitch) {
    if (!surface_path && !wayland_path && (!renderer || !screen_texture)) return;
    shown_pixels = static_cast<const uint16_t*>(pixels);
    shown_pitch = pitch / 2;
    const double began = sdl_profile_clock();
    const double present_began = sdl_precise_ms();
    if (sdl_viewer_shows_frame()) {
        present_shown();
        sdl_clock_presented(present_began);
    }
    sdl_record_frame(shown_pixels, picture_width, picture_height, shown_pitch);
    sdl_black_box_frame_shown(shown_pixels, picture_width, picture_height, shown_pitch);
    sdl_records_frame(shown_pixels, picture_width, picture_height, shown_pitch);
    sdl_frame_shown();
    sdl_event_log_shown();
    sdl_profile_presented(began);
}

void sdl_present_again() {
    if (shown_pixels && (surface_path || wayland_path || (renderer && screen_texture))) present_shown();
}

void sdl_present_owed() {
    if (wayland_path && shown_pixels && sdl_wayland_surface_owed()) present_shown();
}

bool sdl_show_panel(const OverlayImage* image) {
    if (!surface_path && !wayland_path && (!renderer || !screen_texture)) return false;
    panel = image;
    if (!shown_pixels) {
        black_picture.assign(size_t(picture_width) * size_t(picture_height), 0);
        shown_pixels = black_picture.data();
        shown_pitch = picture_width;
    }
    present_shown();
    return true;
}

bool sdl_window_to_picture(int window_x, int window_y, int* x, int* y) {
    if (!display_window || !picture_width) return false;
    const int per_unit = sdl_pixels_per_unit(display_window);
    int width, height;
    SDL_GetWindowSize(display_window, &width, &height);
    width *= per_unit;
    height *= per_unit;
    // As the picture is laid out: the largest whole factor, centred.
    const int scale = std::max(1, std::min(width / picture_width, height / picture_height));
    const int left = std::max(0, (width - picture_width * scale) / 2), top = std::max(0, (height - picture_height * scale) / 2);
    const int px = window_x * per_unit - left, py = window_y * per_unit - top;
    if (px < 0 || py < 0 || px >= picture_width * scale || py >= picture_height * scale) return false;
    *x = px / scale;
    *y = py / scale;
    return true;
}

void sdl_save_shown_picture() {
    if (renderer || surface_path || wayland_path) sdl_save_screenshot(shown_pixels, picture_width, picture_height, shown_pitch);
}

void platform_close_display() {
    shown_pixels = nullptr;
    for (SDL_Texture** texture :
         {&screen_texture, &menu_texture, &caption_texture, &hint_texture, &panel_texture, &viewer_texture}) {
        if (*texture) SDL_DestroyTexture(*texture);
        *texture = nullptr;
    }
    if (renderer) {
        SDL_DestroyRenderer(renderer);
        renderer = nullptr;
    }
    if (wayland_path) sdl_wayland_surface_close();
    wayland_path = false;
    surface_path = false;
    known_surface = nullptr;
    known_width = known_height = 0;
    display_window = nullptr;
    widened.clear();
    widened.shrink_to_fit();
    scaled_row.clear();
    scaled_row.shrink_to_fit();
}
