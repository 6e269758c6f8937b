// Pictures built into a program.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "../platform/surface.h"

namespace kit {
struct ArtFile {
    const char* name;
    const unsigned char* data;
    size_t size;
};
// The picture called name ("face-03"); an empty surface and a message when absent.
plat::Surface LoadArt(const ArtFile* table, const char* name);
const ArtFile* FindArt(const ArtFile* table, const char* name);
// The pictures called names, decoded side by side, in the order given.
std::vector<plat::Surface> LoadArts(const ArtFile* table, const std::vector<std::string>& names);
// Every picture in the table, for decoding ahead (plat::DecodeAhead).
std::vector<plat::PictureData> AllArt(const ArtFile* table);
}  // namespace kit
