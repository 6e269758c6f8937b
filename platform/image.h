// Decoding one picture: every picture here is a PNG, decoded with libpng.
#pragma once

#include <cstddef>
#include <string>

#include "surface.h"

namespace plat {

// Decodes a picture from its bytes; `error` gets the line to report for it,
// empty when it decoded (anything but a readable PNG could not be read).
Surface DecodePicture(const unsigned char* data, size_t size, const char* name, std::string& error);

}  // namespace plat
