// The clipped, colour-keyed sprite copy and the black fills.
#include <cstddef>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "graphics/surfaces.h"
#include "shell/observer.h"

static bool rect_inside(const SDL_Surface* surface, const Rect& r) {
    return r.left >= 0 && r.top >= 0 && r.right <= surface->w && r.bottom <= surface->h;
}

void fill_black(SDL_Surface* surface, Rect rect) {
    if (!surface || rect.right <= rect.left || rect.bottom <= rect.top) return;
    if (!rect_inside(surface, rect)) return;
    // Colour 0 is all zero bytes, so each row is one memset, and full-width
    // rows of a surface without padding are one memset together.
    const size_t row_bytes = size_t(rect.right - rect.left) * 2;
    const int32_t rows = rect.bottom - rect.top;
    auto* first = static_cast<uint8_t*>(surface->pixels) + rect.top * surface->pitch + rect.left * 2;
    if (row_bytes == size_t(surface->pitch))
        std::memset(first, 0, row_bytes * rows);
    else
        for (int32_t row = 0; row < rows; ++row) std::memset(first + row * surface->pitch, 0, row_bytes);
    observe(&GameObserver::pixels_written, uint64_t(row_bytes) * uint64_t(rows));
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
    if (!sheet || !back_buffer) return;
    if (left < 0 || top < 0 || right > sheet->w || bottom > sheet->h) return;
    const int32_t width = int32_t(right - left), height = int32_t(bottom - top);
    if (to_x + width > back_buffer->w || to_y + height > back_buffer->h) return;
    // Both surfaces are RGB565, so their pitches are whole numbers of pixels.
    const ptrdiff_t from_pitch = sheet->pitch / 2, to_pitch = back_buffer->pitch / 2;
    copy_keyed(static_cast<uint16_t*>(back_buffer->pixels) + to_y * to_pitch + to_x, to_pitch,
               static_cast<const uint16_t*>(sheet->pixels) + top * from_pitch + left, from_pitch, width, height);
    observe(&GameObserver::pixels_written, uint64_t(width) * uint64_t(height) * 2);
}

void clear_screen() { fill_black(back_buffer, make_rect(0, 0, screen_width, screen_height)); }

void copy_whole_sheet() {
    if (!sheet || !back_buffer) return;
    if (sheet->w == back_buffer->w && sheet->h == back_buffer->h) {
        for (int y = 0; y < sheet->h; ++y)
            std::memcpy(static_cast<uint8_t*>(back_buffer->pixels) + y * back_buffer->pitch,
                        static_cast<const uint8_t*>(sheet->pixels) + y * sheet->pitch, size_t(sheet->w) * 2);
    } else {
        SDL_SetColorKey(sheet, SDL_FALSE, 0);
        SDL_BlitScaled(sheet, nullptr, back_buffer, nullptr);
        SDL_SetColorKey(sheet, SDL_TRUE, 0);
    }
    observe(&GameObserver::pixels_written, uint64_t(back_buffer->w) * uint64_t(back_buffer->h) * 2);
}
