// Pictures built into a program: the table the build makes of art/ for each.
#pragma once

#include "../platform/pictures.h"

namespace kit {
using ArtFile = plat::PictureFile;
const ArtFile* FindArt(const ArtFile* table, const char* name);
// The picture called name ("face-03"), decoded now; an empty surface and a
// message when absent.
plat::Surface LoadArt(const ArtFile* table, const char* name);
}  // namespace kit
