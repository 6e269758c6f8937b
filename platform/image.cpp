#include <SDL.h>
#include <SDL_image.h>

#include <cstdio>

#include "surface.h"

namespace plat {

Surface LoadPicture(const unsigned char* data, size_t size, const char* name) {
    Surface out;
    SDL_RWops* rw = data ? SDL_RWFromConstMem(data, static_cast<int>(size)) : nullptr;
    SDL_Surface* img = rw ? IMG_Load_RW(rw, 1) : nullptr;
    if (!img) {
        std::fprintf(stderr, "picture %s could not be read\n", name);
        return out;
    }
    SDL_Surface* rgb = SDL_ConvertSurfaceFormat(img, SDL_PIXELFORMAT_RGB888, 0);
    SDL_FreeSurface(img);
    if (!rgb) return out;
    out.Resize(rgb->w, rgb->h);
    SDL_LockSurface(rgb);
    for (int y = 0; y < rgb->h; ++y) {
        const uint32_t* row =
            reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(rgb->pixels) + static_cast<size_t>(y) * rgb->pitch);
        for (int x = 0; x < rgb->w; ++x) out.SetPixelRGB(x, y, row[x] & 0xFFFFFF);
    }
    SDL_UnlockSurface(rgb);
    SDL_FreeSurface(rgb);
    return out;
}

}  // namespace plat
