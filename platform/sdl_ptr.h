// SDL surfaces owned by one pointer, freed on every path.
#pragma once
#include <SDL.h>

#include <memory>

namespace plat {
struct SdlSurfaceFree {
    void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};
using SdlSurfacePtr = std::unique_ptr<SDL_Surface, SdlSurfaceFree>;
}  // namespace plat
