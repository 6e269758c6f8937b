// Writing a small file whole, into the file its name stands for.
#pragma once
#include <string>

namespace plat {

// Why a write failed: the step ("follow", "create", "write", "replace" or
// "open") and errno's reason.
struct WriteFailure {
    const char* step = nullptr;
    int err = 0;
    explicit operator bool() const { return err != 0; }
};

// Writes bytes as the whole of the file path stands for: symbolic links are
// followed (the file written is left in target) and stay links. The file is
// replaced in one step through a fresh file in its folder; where that folder
// takes no new files but the file is writable, it is rewritten where it
// stands. On failure the old file is left whole. Leftovers of a run killed
// half-way (name.XXXXXX holding only the start of bytes) are removed first.
WriteFailure WriteWholeFile(const std::string& path, const std::string& bytes, std::string& target);

}  // namespace plat
