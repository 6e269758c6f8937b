// The image library for the pictures libpng does not read, and for writing
// picture files: loaded (dlopen) by the first caller that needs it.
#pragma once

#include <SDL_image.h>

#include <string>

namespace plat {

struct ImageLibrary {
    ImageLibrary();
    std::string error;  // empty once loaded
    decltype(&::IMG_Load_RW) Load = nullptr;
    decltype(&::IMG_SavePNG) SavePng = nullptr;
};
const ImageLibrary& Images();

}  // namespace plat
