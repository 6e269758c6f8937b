#pragma once
#include <string>

#include "surface.h"

namespace plat {
// The name that messages on stderr start with.
void SetProgramName(const std::string& name);
const std::string& ProgramName();
// Width in pixels of a text in the surface's current style.
int TextWidth(const Surface& s, const std::string& utf8);
}  // namespace plat
