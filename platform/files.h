#pragma once
#include <string>

namespace plat {
// The short form of a path that the music command carries: the path itself
// (in native separators) when the file exists, empty text when it does not.
std::string GetShortPathName(const std::string& path);
}  // namespace plat
