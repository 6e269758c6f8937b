// The program's name, which every message on stderr starts with. Set once
// at start, before any thread that reports is started.
#pragma once
#include <string>

namespace plat {
void SetProgramName(const std::string& name);
const std::string& ProgramName();
}  // namespace plat
