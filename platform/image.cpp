#include <SDL.h>
#include <SDL_image.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <system_error>
#include <thread>

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

std::vector<Surface> LoadPictures(const std::vector<PictureData>& pictures) {
    std::vector<Surface> out(pictures.size());
    // The decoder's one-time set-up happens here, before the threads share it.
    IMG_Init(IMG_INIT_PNG);
    std::atomic<size_t> next{0};
    const auto work = [&] {
        for (size_t k; (k = next++) < pictures.size();)
            out[k] = LoadPicture(pictures[k].data, pictures[k].size, pictures[k].name);
    };
    const size_t helpers =
        std::min<size_t>(pictures.size(), std::max(1u, std::min(8u, std::thread::hardware_concurrency()))) - 1;
    std::vector<std::thread> threads;
    for (size_t t = 0; t < helpers; ++t) {
        try {
            threads.emplace_back(work);
        } catch (const std::system_error&) {
            break;  // no more threads to be had: the ones running finish the work
        }
    }
    work();
    for (std::thread& t : threads) t.join();
    return out;
}

}  // namespace plat
