#include "pictures.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <system_error>

#include "image.h"

namespace plat {

Pictures::Pictures(const PictureFile* table) {
    for (const PictureFile* f = table; f && f->name; ++f) {
        entries_.emplace_back();
        entries_.back().file = *f;
    }
    left_ = entries_.size();
    // Decoding is all the pool does: one thread a core, up to eight.
    const size_t threads =
        std::min<size_t>(entries_.size(), std::max(1u, std::min(8u, std::thread::hardware_concurrency())));
    for (size_t t = 0; t < threads; ++t) {
        try {
            pool_.emplace_back([this] { Work(); });
        } catch (const std::system_error&) {
            break;  // no more threads: those running do all, or each is decoded when taken
        }
    }
}

Pictures::~Pictures() {
    {
        std::lock_guard<std::mutex> lock(mu_);
        stop_ = true;
    }
    Join();
}

void Pictures::Join() {
    for (std::thread& t : pool_)
        if (t.joinable()) t.join();
    pool_.clear();
}

// In the table's order, each as soon as a thread is free; a taker waits only
// for its own.
void Pictures::Work() {
    std::unique_lock<std::mutex> lock(mu_);
    while (!stop_ && next_ < entries_.size()) {
        Entry& e = entries_[next_++];
        if (e.taken) continue;
        const PictureFile file = e.file;
        lock.unlock();
        std::string error;
        Surface s = DecodePicture(file.data, file.size, file.name, error);
        lock.lock();
        e.surface = std::move(s);
        e.error = std::move(error);
        e.ready = true;
        done_.notify_all();
    }
}

Surface Pictures::Take(const std::string& name) {
    std::unique_lock<std::mutex> lock(mu_);
    const auto it = std::find_if(entries_.begin(), entries_.end(),
                                 [&](const Entry& e) { return name == e.file.name; });
    if (it == entries_.end()) {
        std::fprintf(stderr, "picture %s is not built in\n", name.c_str());
        return Surface();
    }
    Entry& e = *it;
    std::string error;
    Surface out;
    if (e.taken) {
        lock.unlock();
        out = DecodePicture(e.file.data, e.file.size, e.file.name, error);
    } else {
        if (pool_.empty()) {  // no thread could be had: decoded here
            e.taken = true;
            lock.unlock();
            out = DecodePicture(e.file.data, e.file.size, e.file.name, error);
            lock.lock();
        } else {
            done_.wait(lock, [&] { return e.ready; });
            e.taken = true;
            out = std::move(e.surface);
            error = std::move(e.error);
        }
        const bool last = --left_ == 0;
        lock.unlock();
        if (last) Join();  // nothing is left to decode: the pool has ended
    }
    if (!error.empty()) std::fprintf(stderr, "%s\n", error.c_str());
    return out;
}

Surface LoadPicture(const unsigned char* data, size_t size, const char* name) {
    std::string error;
    Surface out = DecodePicture(data, size, name, error);
    if (!error.empty()) std::fprintf(stderr, "%s\n", error.c_str());
    return out;
}

}  // namespace plat
