#include "art.h"

#include <cstdio>
#include <cstring>

namespace kit {

const ArtFile* FindArt(const ArtFile* table, const char* name) {
    for (const ArtFile* f = table; f && f->name; ++f)
        if (std::strcmp(f->name, name) == 0) return f;
    return nullptr;
}

plat::Surface LoadArt(const ArtFile* table, const char* name) {
    const ArtFile* f = FindArt(table, name);
    if (f) return plat::LoadPicture(f->data, f->size, f->name);
    std::fprintf(stderr, "picture %s is not built in\n", name);
    return plat::Surface();
}

}  // namespace kit
