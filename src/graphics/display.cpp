// The screen and the sprite sheet. The back buffer keeps its pixels from one
// frame to the next; presenting copies it to the screen.
#include <cstdio>
#include <vector>

#include "platform/picture_hash.h"
#include "platform/platform.h"
#include "shell/observer.h"
#include "shell/shell.h"
#include "graphics/surfaces.h"

SDL_Surface* back_buffer = nullptr;
SDL_Surface* sheet = nullptr;
static bool display_open = false;


// The largest picture the check accepts is 16 M pixels of 32 bits.
static constexpr size_t max_bitmap_file_bytes = size_t(128) << 20;

static SDL_Surface* create_rgb565_surface(int width, int height) {
    return SDL_CreateRGBSurfaceWithFormat(0, width, height, 16, SDL_PIXELFORMAT_RGB565);
}

bool init_display(int width, int height) {
    display_open = platform_open_display(main_window, width, height);
    if (!display_open) return false;
    back_buffer = create_rgb565_surface(width, height);
    if (!back_buffer) return false;
    SDL_FillRect(back_buffer, nullptr, 0);
    load_sheet("bitmap/title.bmp");
    return true;
}

void release_display() {
    if (sheet) {
        SDL_FreeSurface(sheet);
        sheet = nullptr;
    }
    if (back_buffer) {
        SDL_FreeSurface(back_buffer);
        back_buffer = nullptr;
    }
    if (display_open) {
        platform_close_display();
        display_open = false;
    }
}

// Decodes a bitmap file into an RGB565 surface (colours truncated), or null.
static SDL_Surface* decode_bitmap(const char* path) {
    std::vector<uint8_t> bytes;
    if (!read_data_file(path, max_bitmap_file_bytes, &bytes)) return nullptr;
    return decode_bitmap_bytes(bytes.data(), bytes.size());
}

bool load_sheet(const char* path) {
    observe(&GameObserver::sheet_asked, path);
    SDL_Surface* picture = decode_bitmap(path);
    if (!picture) {
        platform_message_box(path, game_text(text_missing_file), true);
        return false;
    }
    if (!sheet) {
        sheet = create_rgb565_surface(picture->w, picture->h);
        if (!sheet) {
            SDL_FreeSurface(picture);
            return false;
        }
    }
    // The sheet keeps the size of the first picture: later ones are clipped to
    // it, or cover only its top-left corner.
    SDL_SetColorKey(picture, SDL_FALSE, 0);
    SDL_BlitSurface(picture, nullptr, sheet, nullptr);
    SDL_FreeSurface(picture);
    SDL_SetColorKey(sheet, SDL_TRUE, 0);
    return true;
}

void present_frame() {
    if (back_buffer) platform_present(back_buffer->pixels, back_buffer->pitch);
}

const uint16_t* back_buffer_pixels() {
    return back_buffer ? static_cast<const uint16_t*>(back_buffer->pixels) : nullptr;
}

uint64_t back_buffer_hash() {
    if (!back_buffer) return picture_hash(nullptr, screen_width, screen_height, 0);
    return picture_hash(static_cast<const uint16_t*>(back_buffer->pixels), screen_width, screen_height,
                        back_buffer->pitch / 2);
}

bool sheet_size(int* width, int* height) {
    if (!sheet) return false;
    *width = sheet->w;
    *height = sheet->h;
    return true;
}

uint16_t sheet_pixel(int x, int y) {
    if (!sheet || x < 0 || y < 0 || x >= sheet->w || y >= sheet->h) return 0;
    const auto* row = static_cast<const uint8_t*>(sheet->pixels) + y * sheet->pitch;
    return reinterpret_cast<const uint16_t*>(row)[x];
}
