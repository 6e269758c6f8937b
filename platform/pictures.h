// The pictures a program carries, taken by name. They are decoded ahead, on a
// pool of threads that starts as the program does and works beside the
// window system's set-up; each picture is taken once it is ready.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "surface.h"

namespace plat {

// A picture built into the program: its name ("face-03") and its PNG bytes.
// A program's table ends with an entry whose name is null.
struct PictureFile {
    const char* name;
    const unsigned char* data;
    size_t size;
};

class Pictures {
public:
    // Starts decoding every picture in the table.
    explicit Pictures(const PictureFile* table);
    // Stops the decoding of what was not taken, and waits for the pool.
    ~Pictures();
    Pictures(const Pictures&) = delete;
    Pictures& operator=(const Pictures&) = delete;

    // The picture called name, once it is decoded. An empty surface and one
    // line on stderr when the program carries no such picture or it cannot be
    // read. Each picture is taken once; a second take decodes it again. The
    // pool's threads are joined as soon as the last picture is taken.
    Surface Take(const std::string& name);

private:
    void Work();
    void Join();

    struct Entry {
        PictureFile file;
        bool ready = false, taken = false;
        Surface surface;
        std::string error;  // the line to report when it is taken
    };
    std::mutex mu_;
    std::condition_variable done_;
    std::vector<Entry> entries_;
    size_t next_ = 0;   // the next entry a thread decodes
    size_t left_ = 0;   // entries not taken yet
    bool stop_ = false;
    std::vector<std::thread> pool_;
};

// One picture from its bytes, decoded now; an empty surface and one line on
// stderr when it cannot be read.
Surface LoadPicture(const unsigned char* data, size_t size, const char* name);

}  // namespace plat
