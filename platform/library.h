// Libraries loaded at run time (dlopen) rather than at start: each user keeps
// a table of the functions it calls, ready or with the reason it is not.
#pragma once

#include <dlfcn.h>

#include <string>

namespace plat {

// Opens the library, or says why not in `error`. It is never closed: threads
// and destructors at exit may still call through it.
inline void* OpenLibrary(const char* name, std::string& error) {
    void* handle = dlopen(name, RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* why = dlerror();
        error = why ? why : name;
    }
    return handle;
}

// Looks the function up by its name; false when the library lacks it.
template <typename Function>
bool Resolve(void* handle, const char* name, Function& f) {
    f = reinterpret_cast<Function>(dlsym(handle, name));
    return f != nullptr;
}

}  // namespace plat
