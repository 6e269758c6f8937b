// Picture files on disk: the golden pictures of the tests and the pictures
// the tools make from the running game.
#pragma once

#include <string>

#include "surface.h"

namespace plat {

// Writes the surface as a 24-bit PNG file, replacing any old one whole (as
// WriteWholeFile does). False, with one line on stderr naming the file and
// why, when it cannot be written.
bool SavePicture(const Surface& s, const std::string& path);

// Reads a picture file; an empty surface (and one line on stderr) when it is
// missing or unreadable.
Surface ReadPicture(const std::string& path);

}  // namespace plat
