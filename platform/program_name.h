// The program's name, which every message on stderr starts with. The window
// host sets it at start, before the threads that report; until then (a run
// without a window) it is "program".
#pragma once
#include <string>

namespace plat {
void SetProgramName(const std::string& name);
const std::string& ProgramName();
}  // namespace plat
