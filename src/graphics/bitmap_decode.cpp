// Decoding a Windows bitmap file held in memory into the sheet's pixel format.
// Our own check runs first, so SDL's decoder only ever sees a file whose
// headers, palette and pixel rows all lie inside the bytes.
#include "graphics/surfaces.h"

SDL_Surface* decode_bitmap_bytes(const uint8_t* data, size_t size) {
    if (!bitmap_file_is_well_formed(data, size)) return nullptr;
    SDL_RWops* source = SDL_RWFromConstMem(data, int(size));
    if (!source) return nullptr;
    SDL_Surface* decoded = SDL_LoadBMP_RW(source, 1);
    if (!decoded) return nullptr;
    SDL_SetSurfaceBlendMode(decoded, SDL_BLENDMODE_NONE);
    SDL_Surface* converted = SDL_ConvertSurfaceFormat(decoded, SDL_PIXELFORMAT_RGB565, 0);
    SDL_FreeSurface(decoded);
    return converted;
}
