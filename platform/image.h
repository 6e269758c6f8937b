// The image library for the pictures libpng does not read, and for writing
// picture files: loaded (dlopen) by the first caller that needs it.
#pragma once

#include <SDL_image.h>

#include <cstddef>
#include <string>

#include "library.h"
#include "surface.h"

namespace plat {

struct ImageLibrary : Library {
    ImageLibrary();
    PLAT_FUNCTION(IMG_Init)
    PLAT_FUNCTION(IMG_Load_RW)
    PLAT_FUNCTION(IMG_SavePNG)
};
const ImageLibrary& Images();

// Decodes a picture from its bytes; `error` gets the line to report for it,
// empty when it decoded.
Surface DecodePicture(const unsigned char* data, size_t size, const char* name, std::string& error);

}  // namespace plat
