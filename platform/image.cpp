#include <SDL.h>
#include <SDL_image.h>

#include <cstdio>

#include "sdl_ptr.h"
#include "surface.h"

namespace plat {

Surface LoadPicture(const unsigned char* data, size_t size, const char* name) {
    Surface out;
    SDL_RWops* rw = data ? SDL_RWFromConstMem(data, static_cast<int>(size)) : nullptr;
    const SdlSurfacePtr img(rw ? IMG_Load_RW(rw, 1) : nullptr);
    if (!img) {
        std::fprintf(stderr, "picture %s could not be read\n", name);
        return out;
    }
    const SdlSurfacePtr rgb(SDL_ConvertSurfaceFormat(img.get(), SDL_PIXELFORMAT_RGB888, 0));
    if (!rgb) {
        std::fprintf(stderr, "picture %s could not be converted: %s\n", name, SDL_GetError());
        return out;
    }
    out.Resize(rgb->w, rgb->h);
    SDL_LockSurface(rgb.get());
    for (int y = 0; y < rgb->h; ++y) {
        const uint32_t* row =
            reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(rgb->pixels) + static_cast<size_t>(y) * rgb->pitch);
        for (int x = 0; x < rgb->w; ++x) out.SetPixelRGB(x, y, row[x] & 0xFFFFFF);
    }
    SDL_UnlockSurface(rgb.get());
    return out;
}

}  // namespace plat
