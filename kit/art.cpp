#include "art.h"

#include <cstdio>
#include <cstring>
#include <utility>

namespace kit {

const ArtFile* FindArt(const ArtFile* table, const char* name) {
    for (const ArtFile* f = table; f && f->name; ++f)
        if (std::strcmp(f->name, name) == 0) return f;
    return nullptr;
}

plat::Surface LoadArt(const ArtFile* table, const char* name) {
    return std::move(LoadArts(table, {name})[0]);
}

std::vector<plat::Surface> LoadArts(const ArtFile* table, const std::vector<std::string>& names) {
    std::vector<plat::PictureData> found;
    std::vector<size_t> at;  // where each found picture goes
    for (size_t k = 0; k < names.size(); ++k) {
        if (const ArtFile* f = FindArt(table, names[k].c_str())) {
            found.push_back({f->data, f->size, f->name});
            at.push_back(k);
        } else {
            std::fprintf(stderr, "picture %s is not built in\n", names[k].c_str());
        }
    }
    std::vector<plat::Surface> decoded = plat::LoadPictures(found);
    std::vector<plat::Surface> out(names.size());
    for (size_t k = 0; k < at.size(); ++k) out[at[k]] = std::move(decoded[k]);
    return out;
}

std::vector<plat::PictureData> AllArt(const ArtFile* table) {
    std::vector<plat::PictureData> all;
    for (const ArtFile* f = table; f && f->name; ++f) all.push_back({f->data, f->size, f->name});
    return all;
}

}  // namespace kit
