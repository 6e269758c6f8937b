#include "program_name.h"

namespace plat {

namespace {
// A function's static, so that a message from another file's static set-up
// still finds it made.
std::string& Name() {
    static std::string name = "program";
    return name;
}
}  // namespace

void SetProgramName(const std::string& name) { Name() = name; }
const std::string& ProgramName() { return Name(); }

}  // namespace plat
