// The clipped, colour-keyed sprite copy and the black fills.
#include <cstddef>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "graphics/picture.h"
#include "core/observer.h"

static bool rect_inside(const Picture& picture, const Rect& r) {
    return r.left >= 0 && r.top >= 0 && r.right <= picture.width && r.bottom <= picture.height;
}

void fill_black(Picture& picture, Rect rect) {
    if (rect.right <= rect.left || rect.bottom <= rect.top) return;
    if (!rect_inside(picture, rect)) return;
    // Colour 0 is all zero bytes, so each row is one memset, and full-width
    // rows are one memset together.
    const size_t row_pixels = size_t(rect.right - rect.left);
    const int32_t rows = rect.bottom - rect.top;
    const size_t pitch = size_t(picture.width);
    uint16_t* first = picture.pixels.data() + size_t(rect.top) * pitch + size_t(rect.left);
    if (row_pixels == pitch)
        std::memset(first, 0, row_pixels * 2 * size_t(rows));
    else
        for (int32_t row = 0; row < rows; ++row) std::memset(first + size_t(row) * pitch, 0, row_pixels * 2);
    observe(&GameObserver::pixels_written, uint64_t(row_pixels) * 2 * uint64_t(rows));
}

// The colour-keyed copy of a clipped rectangle: a sheet pixel of value 0 leaves
// the back buffer's pixel as it was. Eight pixels at a time where SSE2 is there
// (every x86-64): a transparent pixel is 0, so OR-ing the source over the kept
// destination gives both cases at once. A row whose width is not a multiple of
// eight ends with one more group of eight that overlaps the one before; the
// overlapped pixels come out the same the second time.
static void copy_keyed(uint16_t* to, ptrdiff_t to_pitch, const uint16_t* from, ptrdiff_t from_pitch,
                       int32_t width, int32_t height) {
#ifdef __SSE2__
    if (width >= 8) {
        const __m128i zero = _mm_setzero_si128();
        const auto copy_eight = [zero](uint16_t* to_pixel, const uint16_t* from_pixel) {
            const __m128i source = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from_pixel));
            const __m128i under = _mm_loadu_si128(reinterpret_cast<const __m128i*>(to_pixel));
            const __m128i kept = _mm_and_si128(_mm_cmpeq_epi16(source, zero), under);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(to_pixel), _mm_or_si128(kept, source));
        };
        for (int32_t row = 0; row < height; ++row, to += to_pitch, from += from_pitch) {
            int32_t i = 0;
            for (; i + 8 <= width; i += 8) copy_eight(to + i, from + i);
            if (i < width) copy_eight(to + width - 8, from + width - 8);
        }
        return;
    }
#endif
    for (int32_t row = 0; row < height; ++row, to += to_pitch, from += from_pitch)
        for (int32_t i = 0; i < width; ++i)
            if (from[i] != 0) to[i] = from[i];
}

void draw_sprite(int32_t x, int32_t y, Rect rect) {
    // Clip against the screen by moving the rectangle's edges. Worked in 64
    // bits, so that no position or rectangle, however far off, can overflow.
    int64_t left = rect.left, top = rect.top, right = rect.right, bottom = rect.bottom;
    int64_t to_x = x, to_y = y;
    if (to_x < 0) {
        left -= to_x;
        to_x = 0;
    }
    if (to_y < 0) {
        top -= to_y;
        to_y = 0;
    }
    if (to_x + (right - left) > screen_width) right -= to_x + (right - left) - screen_width;
    if (to_y + (bottom - top) > screen_height) bottom -= to_y + (bottom - top) - screen_height;
    if (right <= left || bottom <= top) return;

    // A source rectangle reaching outside the sheet is refused whole, as the
    // display device refuses it.
    if (sheet.pixels.empty() || back_buffer.pixels.empty()) return;
    if (left < 0 || top < 0 || right > sheet.width || bottom > sheet.height) return;
    const int32_t width = int32_t(right - left), height = int32_t(bottom - top);
    if (to_x + width > back_buffer.width || to_y + height > back_buffer.height) return;
    const ptrdiff_t from_pitch = sheet.width, to_pitch = back_buffer.width;
    copy_keyed(back_buffer.pixels.data() + to_y * to_pitch + to_x, to_pitch,
               sheet.pixels.data() + top * from_pitch + left, from_pitch, width, height);
    observe(&GameObserver::pixels_written, uint64_t(width) * uint64_t(height) * 2);
}

void clear_screen() { fill_black(back_buffer, make_rect(0, 0, screen_width, screen_height)); }

void copy_whole_sheet() {
    if (sheet.pixels.empty() || back_buffer.pixels.empty()) return;
    if (sheet.width == back_buffer.width && sheet.height == back_buffer.height)
        std::memcpy(back_buffer.pixels.data(), sheet.pixels.data(), sheet.pixels.size() * 2);
    else
        stretch_picture(sheet, back_buffer);
    observe(&GameObserver::pixels_written, uint64_t(back_buffer.width) * uint64_t(back_buffer.height) * 2);
}

void copy_top_left(const Picture& from, Picture& to) {
    const int32_t width = from.width < to.width ? from.width : to.width;
    const int32_t height = from.height < to.height ? from.height : to.height;
    for (int32_t y = 0; y < height; ++y)
        std::memcpy(to.pixels.data() + size_t(y) * size_t(to.width), from.pixels.data() + size_t(y) * size_t(from.width),
                    size_t(width) * 2);
}

// Each destination pixel samples the source at the middle of its own share,
// stepping in 16.16 fixed point and rounding down, as SDL's nearest-pixel
// stretch does; the pictures then agree to the pixel.
void stretch_picture(const Picture& from, Picture& to) {
    if (from.pixels.empty() || to.pixels.empty()) return;
    const uint32_t step_x = (uint32_t(from.width) << 16) / uint32_t(to.width);
    const uint32_t step_y = (uint32_t(from.height) << 16) / uint32_t(to.height);
    uint32_t at_y = step_y / 2;
    for (int32_t y = 0; y < to.height; ++y, at_y += step_y) {
        const uint16_t* from_row = from.pixels.data() + size_t(at_y >> 16) * size_t(from.width);
        uint16_t* to_row = to.pixels.data() + size_t(y) * size_t(to.width);
        uint32_t at_x = step_x / 2;
        for (int32_t x = 0; x < to.width; ++x, at_x += step_x) to_row[x] = from_row[at_x >> 16];
    }
}
