#include "picture_file.h"

#include <SDL.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

#include "image.h"
#include "pictures.h"

namespace plat {

bool SavePicture(const Surface& s, const std::string& path) {
    // The surface's pixels are 0x00RRGGBB words: seen as they are, with no
    // alpha, so the file is plain RGB.
    SDL_Surface* view = SDL_CreateRGBSurfaceWithFormatFrom(
        const_cast<uint32_t*>(s.Pixels().data()), s.Width(), s.Height(), 32, 4 * s.Width(), SDL_PIXELFORMAT_RGB888);
    const ImageLibrary& image = Images();
    const bool ok = view && image.Error().empty() && image.IMG_SavePNG(view, path.c_str()) == 0;
    if (!ok)
        std::fprintf(stderr, "%s: cannot be written (%s)\n", path.c_str(),
                     image.Error().empty() ? SDL_GetError() : image.Error().c_str());
    SDL_FreeSurface(view);
    return ok;
}

Surface ReadPicture(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<unsigned char> data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return LoadPicture(data.empty() ? nullptr : data.data(), data.size(), path.c_str());
}

}  // namespace plat
