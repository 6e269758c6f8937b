// Libraries loaded at run time (dlopen) rather than at start, each as a table
// of the functions the platform calls. A table is declared one way:
//
//   struct MixerLibrary : Library {
//       MixerLibrary() : Library("libSDL2_mixer-2.0.so.0") {}
//       PLAT_FUNCTION(Mix_OpenAudioDevice)
//       PLAT_FUNCTION(Mix_QuerySpec)
//   };
//   const MixerLibrary& Mixer() { return Loaded<MixerLibrary>(); }
//
// The library is opened and every function looked up once, by the first
// caller; `Error()` says why the table cannot be used (the library is missing,
// or lacks functions, all of them named), and is empty when it can.
#pragma once

#include <dlfcn.h>

#include <string>

namespace plat {

class Library {
public:
    const std::string& Error() const { return error_; }

protected:
    explicit Library(const char* file) : file_(file) {
        handle_ = dlopen(file, RTLD_NOW | RTLD_LOCAL);
        if (!handle_) {
            const char* why = dlerror();
            error_ = why ? why : file;
        }
    }

    // The function called name, or null (noted in the error) when the library
    // lacks it.
    template <typename Function>
    Function Find(const char* name) {
        if (!handle_) return nullptr;
        const auto f = reinterpret_cast<Function>(dlsym(handle_, name));
        if (!f) error_ += (error_.empty() ? file_ + " lacks " : ", ") + name;
        return f;
    }

private:
    std::string file_;
    void* handle_ = nullptr;
    std::string error_;
};

// A member of a table: the function of that name, looked up as the table is
// made (after the library is opened by the base class).
#define PLAT_FUNCTION(f) decltype(&::f) f = Find<decltype(&::f)>(#f);

// The table, made by the first caller. Neither it nor its library is ever
// destroyed or closed: a thread still running, or a destructor at exit, may
// call through it.
template <typename Table>
const Table& Loaded() {
    static const Table& table = *new Table;
    return table;
}

}  // namespace plat
