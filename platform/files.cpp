#include "files.h"

#include <sys/stat.h>

#include "audio.h"

namespace plat {

std::string GetShortPathName(const std::string& path) {
    const std::string native = NativePath(path);
    struct stat st;
    if (stat(native.c_str(), &st) != 0) return "";
    return native;
}

}  // namespace plat
