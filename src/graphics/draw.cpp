// The clipped, colour-keyed sprite copy and the black fills.
#include "graphics/surfaces.h"

static bool rect_inside(const SDL_Surface* surface, const Rect& r) {
    return r.left >= 0 && r.top >= 0 && r.right <= surface->w && r.bottom <= surface->h;
}

void fill_black(SDL_Surface* surface, Rect rect) {
    if (!surface || rect.right <= rect.left || rect.bottom <= rect.top) return;
    if (!rect_inside(surface, rect)) return;
    SDL_Rect area{rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
    SDL_FillRect(surface, &area, 0);
}

void draw_sprite(int32_t x, int32_t y, Rect rect) {
    // Clip against the screen by moving the rectangle's edges. The sums are
    // taken in 64 bits so that no position can overflow.
    if (x < 0) {
        rect.left -= x;
        x = 0;
    }
    if (y < 0) {
        rect.top -= y;
        y = 0;
    }
    const int64_t w = int64_t(rect.right) - rect.left;
    if (x + w > screen_width) rect.right -= int32_t(x + w - screen_width);
    const int64_t h = int64_t(rect.bottom) - rect.top;
    if (y + h > screen_height) rect.bottom -= int32_t(y + h - screen_height);
    if (rect.right <= rect.left || rect.bottom <= rect.top) return;

    // A source rectangle reaching outside the sheet is refused whole, as the
    // display device refuses it.
    if (!sheet || !back_buffer || !rect_inside(sheet, rect)) return;
    SDL_Rect source{rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
    SDL_Rect target{x, y, source.w, source.h};
    SDL_LowerBlit(sheet, &source, back_buffer, &target);
}

void clear_screen() { fill_black(back_buffer, make_rect(0, 0, screen_width, screen_height)); }

void copy_whole_sheet() {
    if (!sheet || !back_buffer) return;
    SDL_SetColorKey(sheet, SDL_FALSE, 0);
    if (sheet->w == back_buffer->w && sheet->h == back_buffer->h)
        SDL_BlitSurface(sheet, nullptr, back_buffer, nullptr);
    else
        SDL_BlitScaled(sheet, nullptr, back_buffer, nullptr);
    SDL_SetColorKey(sheet, SDL_TRUE, 0);
}
