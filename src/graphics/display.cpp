// The screen and the sprite sheet. The back buffer keeps its pixels from one
// frame to the next; presenting copies it to the screen.
#include <utility>
#include <vector>

#include "core/picture_hash.h"
#include "platform/platform.h"
#include "core/observer.h"
#include "core/data_file.h"
#include "core/texts.h"
#include "graphics/picture.h"

Picture back_buffer;
Picture sheet;
static bool display_open = false;


// The largest picture the check accepts is 16 M pixels of 32 bits.
static constexpr size_t max_bitmap_file_bytes = size_t(128) << 20;

Picture blank_picture(int32_t width, int32_t height) {
    return Picture{width, height, Pixels(size_t(width) * size_t(height), 0)};
}

bool init_display(PlatformWindow* window, int width, int height) {
    display_open = platform_open_display(window, width, height);
    if (!display_open) return false;
    back_buffer = blank_picture(width, height);
    load_sheet("bitmap/title.bmp");
    return true;
}

void restart_display() {
    if (!display_open) return;
    back_buffer = blank_picture(back_buffer.width, back_buffer.height);
    load_sheet("bitmap/title.bmp");
}

void release_display() {
    // The host may still show the last picture as its display closes.
    if (display_open) {
        platform_close_display();
        display_open = false;
    }
    sheet = Picture{};
    back_buffer = Picture{};
}

// Reads and decodes a bitmap file into an RGB565 picture (colours truncated).
static bool decode_bitmap(const char* path, Picture* picture) {
    std::vector<uint8_t> bytes;
    if (!read_data_file(path, max_bitmap_file_bytes, &bytes)) return false;
    return decode_bitmap_bytes(bytes.data(), bytes.size(), picture);
}

bool load_sheet(const char* path) {
    observe(&GameObserver::sheet_asked, path);
    Picture picture;
    if (!decode_bitmap(path, &picture)) {
        platform_message_box(path, game_text(text_missing_file), true);
        return false;
    }
    // The sheet keeps the size of the first picture: later ones are clipped to
    // it, or cover only its top-left corner.
    if (sheet.pixels.empty())
        sheet = std::move(picture);
    else
        copy_top_left(picture, sheet);
    return true;
}

void present_frame() {
    if (!back_buffer.pixels.empty()) platform_present(back_buffer.pixels.data(), back_buffer.width * 2);
}

const uint16_t* back_buffer_pixels() { return back_buffer.pixels.empty() ? nullptr : back_buffer.pixels.data(); }

uint64_t back_buffer_hash() {
    return picture_hash(back_buffer_pixels(), screen_width, screen_height, screen_width);
}

bool sheet_size(int* width, int* height) {
    if (sheet.pixels.empty()) return false;
    *width = sheet.width;
    *height = sheet.height;
    return true;
}

uint16_t sheet_pixel(int x, int y) {
    if (x < 0 || y < 0 || x >= sheet.width || y >= sheet.height) return 0;
    return sheet.pixels[size_t(y) * size_t(sheet.width) + size_t(x)];
}
