#include "sdl/sdl_reference.h"

#include <SDL.h>

#include <cstring>

namespace {

SDL_Surface* surface_of(const Picture& picture) {
    SDL_Surface* surface =
        SDL_CreateRGBSurfaceWithFormat(0, picture.width, picture.height, 16, SDL_PIXELFORMAT_RGB565);
    if (!surface) return nullptr;
    for (int32_t y = 0; y < picture.height; ++y)
        std::memcpy(static_cast<uint8_t*>(surface->pixels) + y * surface->pitch,
                    picture.pixels.data() + size_t(y) * size_t(picture.width), size_t(picture.width) * 2);
    return surface;
}

void read_back(const SDL_Surface* surface, Picture* picture) {
    picture->width = surface->w;
    picture->height = surface->h;
    picture->pixels.resize(size_t(surface->w) * size_t(surface->h));
    for (int y = 0; y < surface->h; ++y)
        std::memcpy(picture->pixels.data() + size_t(y) * size_t(surface->w),
                    static_cast<const uint8_t*>(surface->pixels) + y * surface->pitch, size_t(surface->w) * 2);
}

}  // namespace

bool sdl_decode_bitmap(const uint8_t* data, size_t size, Picture* picture) {
    if (!bitmap_file_is_well_formed(data, size)) return false;
    SDL_RWops* source = SDL_RWFromConstMem(data, int(size));
    if (!source) return false;
    SDL_Surface* decoded = SDL_LoadBMP_RW(source, 1);
    if (!decoded) return false;
    SDL_SetSurfaceBlendMode(decoded, SDL_BLENDMODE_NONE);
    SDL_Surface* converted = SDL_ConvertSurfaceFormat(decoded, SDL_PIXELFORMAT_RGB565, 0);
    SDL_FreeSurface(decoded);
    if (!converted) return false;
    read_back(converted, picture);
    SDL_FreeSurface(converted);
    return true;
}

void sdl_stretch_picture(const Picture& from, Picture& to) {
    SDL_Surface* source = surface_of(from);
    SDL_Surface* target = surface_of(to);
    if (source && target) {
        SDL_SetColorKey(source, SDL_TRUE, 0);  // as the sheet always was
        SDL_SetColorKey(source, SDL_FALSE, 0);
        SDL_BlitScaled(source, nullptr, target, nullptr);
        read_back(target, &to);
    }
    SDL_FreeSurface(source);
    SDL_FreeSurface(target);
}

void sdl_copy_top_left(const Picture& from, Picture& to) {
    SDL_Surface* source = surface_of(from);
    SDL_Surface* target = surface_of(to);
    if (source && target) {
        SDL_SetColorKey(target, SDL_TRUE, 0);  // the sheet's key, which a copy into it ignores
        SDL_SetColorKey(source, SDL_FALSE, 0);
        SDL_BlitSurface(source, nullptr, target, nullptr);
        read_back(target, &to);
    }
    SDL_FreeSurface(source);
    SDL_FreeSurface(target);
}

bool same_picture(const Picture& a, const Picture& b) {
    return a.width == b.width && a.height == b.height && a.pixels == b.pixels;
}
