// Pictures: PNGs decoded with libpng. Every picture here is a PNG; anything
// else is a picture that could not be read.
#include <png.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <csetjmp>
#include <cstdio>
#include <map>
#include <mutex>
#include <system_error>
#include <thread>

#include "surface.h"

namespace plat {
namespace {

// More pixels than any picture here has by far; a header claiming more is not
// a picture to decode.
constexpr uint64_t kMaxPixels = uint64_t{1} << 26;

struct PngReader {
    const unsigned char* data;
    size_t size, at;
};

void ReadFromMemory(png_structp png, png_bytep out, png_size_t n) {
    auto* r = static_cast<PngReader*>(png_get_io_ptr(png));
    if (n > r->size - r->at) png_error(png, "truncated");
    std::copy(r->data + r->at, r->data + r->at + n, out);
    r->at += n;
}

// The caller reports a failure in one line of its own; libpng says nothing.
void NoWarnings(png_structp, png_const_charp) {}
[[noreturn]] void Fail(png_structp png, png_const_charp) { png_longjmp(png, 1); }

// Reads a PNG as 8-bit RGB rows: alpha dropped, not blended; palettes, grey
// and 16 bits per channel (their high bytes) brought to 8-bit RGB.
// Everything it fills lives with the caller: libpng reports a failure by a
// long jump back into this function, past no destructor.
bool ReadPng(const unsigned char* data, size_t size, std::vector<png_byte>& pixels, std::vector<png_bytep>& rows,
             png_uint_32& w, png_uint_32& h) {
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, Fail, NoWarnings);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return false;
    }
    PngReader reader{data, size, 0};
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    png_set_read_fn(png, &reader, ReadFromMemory);
    png_read_info(png, info);
    w = png_get_image_width(png, info);
    h = png_get_image_height(png, info);
    if (uint64_t{w} * h > kMaxPixels) png_error(png, "too large");
    const int type = png_get_color_type(png, info);
    png_set_strip_16(png);
    png_set_packing(png);
    if (type == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
    if (type == PNG_COLOR_TYPE_GRAY && png_get_bit_depth(png, info) < 8) png_set_expand_gray_1_2_4_to_8(png);
    if (type == PNG_COLOR_TYPE_GRAY || type == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(png);
    png_set_strip_alpha(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_channels(png, info) != 3 || png_get_bit_depth(png, info) != 8) png_error(png, "unexpected layout");
    pixels.resize(size_t{w} * h * 3);
    rows.resize(h);
    for (png_uint_32 y = 0; y < h; ++y) rows[y] = pixels.data() + size_t{y} * w * 3;
    png_read_image(png, rows.data());
    png_destroy_read_struct(&png, &info, nullptr);
    return true;
}

// Decodes a PNG into the surface's 0x00RRGGBB pixels; false when the bytes
// are no PNG that decodes.
bool DecodePng(const unsigned char* data, size_t size, Surface& out) {
    std::vector<png_byte> pixels;
    std::vector<png_bytep> rows;
    png_uint_32 w = 0, h = 0;
    if (!ReadPng(data, size, pixels, rows, w, h)) return false;
    out.Resize(static_cast<int>(w), static_cast<int>(h));
    const png_byte* p = pixels.data();
    for (int y = 0; y < static_cast<int>(h); ++y)
        for (int x = 0; x < static_cast<int>(w); ++x, p += 3)
            out.SetPixelRGB(x, y, (uint32_t{p[0]} << 16) | (uint32_t{p[1]} << 8) | p[2]);
    return true;
}

bool IsPng(const unsigned char* data, size_t size) { return data && size >= 8 && png_sig_cmp(data, 0, 8) == 0; }

// The picture and the line to report for it (empty when it decoded).
Surface Decode(const unsigned char* data, size_t size, const char* name, std::string& error) {
    error.clear();
    Surface out;
    if (!IsPng(data, size) || !DecodePng(data, size, out))
        error = std::string("picture ") + name + " could not be read";
    return out;
}

std::vector<Surface> Decode(const std::vector<PictureData>& pictures, std::vector<std::string>& errors) {
    std::vector<Surface> out(pictures.size());
    errors.assign(pictures.size(), std::string());
    if (pictures.empty()) return out;
    std::atomic<size_t> next{0};
    const auto work = [&] {
        for (size_t k; (k = next++) < pictures.size();)
            out[k] = Decode(pictures[k].data, pictures[k].size, pictures[k].name, errors[k]);
    };
    const size_t helpers =
        std::min<size_t>(pictures.size(), std::max(1u, std::min(8u, std::thread::hardware_concurrency()))) - 1;
    std::vector<std::thread> threads;
    for (size_t t = 0; t < helpers; ++t) {
        try {
            threads.emplace_back(work);
        } catch (const std::system_error&) {
            break;  // no more threads to be had: the ones running finish the work
        }
    }
    work();
    for (std::thread& t : threads) t.join();
    return out;
}

// Pictures decoded ahead, by where their bytes lie, each with the line it is
// to report when it is taken, and whether it is decoded yet.
struct Ahead {
    struct Picture {
        bool ready = false;
        Surface surface;
        std::string error;
    };
    std::mutex mu;
    std::condition_variable done;
    bool started = false;
    int running = 0;  // threads still decoding
    std::map<const unsigned char*, Picture> pictures;
};

// Never destroyed: a program that ends early may leave its workers running.
Ahead& TheAhead() {
    static Ahead* ahead = new Ahead;
    return *ahead;
}

// The picture decoded ahead from these bytes, once it is ready (the others
// may still be decoding); false when none was asked for, or it was taken.
bool TakeAhead(const unsigned char* data, Surface& out, std::string& error) {
    Ahead& ahead = TheAhead();
    std::unique_lock<std::mutex> lock(ahead.mu);
    auto it = ahead.pictures.find(data);
    if (it == ahead.pictures.end()) return false;
    ahead.done.wait(lock, [&] { return it->second.ready; });
    out = std::move(it->second.surface);
    error = std::move(it->second.error);
    ahead.pictures.erase(it);
    return true;
}

}  // namespace

Surface LoadPicture(const unsigned char* data, size_t size, const char* name) {
    std::string error;
    Surface out;
    if (!data || !TakeAhead(data, out, error)) out = Decode(data, size, name, error);
    if (!error.empty()) std::fprintf(stderr, "%s\n", error.c_str());
    return out;
}

std::vector<Surface> LoadPictures(const std::vector<PictureData>& pictures) {
    std::vector<Surface> out(pictures.size());
    std::vector<std::string> errors(pictures.size());
    std::vector<PictureData> left;
    std::vector<size_t> at;
    for (size_t k = 0; k < pictures.size(); ++k) {
        if (!pictures[k].data || !TakeAhead(pictures[k].data, out[k], errors[k])) {
            left.push_back(pictures[k]);
            at.push_back(k);
        }
    }
    std::vector<std::string> leftErrors;
    std::vector<Surface> decoded = Decode(left, leftErrors);
    for (size_t k = 0; k < at.size(); ++k) {
        out[at[k]] = std::move(decoded[k]);
        errors[at[k]] = std::move(leftErrors[k]);
    }
    for (const std::string& e : errors)
        if (!e.empty()) std::fprintf(stderr, "%s\n", e.c_str());
    return out;
}

void DecodeAhead(const std::vector<PictureData>& pictures) {
    if (pictures.empty()) return;
    Ahead& ahead = TheAhead();
    {
        std::lock_guard<std::mutex> lock(ahead.mu);
        if (ahead.started) return;  // once a run
        ahead.started = true;
        // Only PNGs (see Decode): the rest are decoded when taken.
        for (const PictureData& p : pictures)
            if (IsPng(p.data, p.size)) ahead.pictures.emplace(p.data, Ahead::Picture());
    }
    // In the order given, each as soon as a thread is free; a taker waits
    // only for its own.
    auto list = std::make_shared<const std::vector<PictureData>>(pictures);
    auto next = std::make_shared<std::atomic<size_t>>(0);
    const auto work = [&ahead, list, next] {
        struct Done {
            Ahead& ahead;
            ~Done() {
                std::lock_guard<std::mutex> lock(ahead.mu);
                --ahead.running;
                ahead.done.notify_all();
            }
        } done{ahead};
        for (size_t k; (k = (*next)++) < list->size();) {
            const PictureData& p = (*list)[k];
            if (!IsPng(p.data, p.size)) continue;
            std::string error;
            Surface s = Decode(p.data, p.size, p.name, error);
            std::lock_guard<std::mutex> lock(ahead.mu);
            auto it = ahead.pictures.find(p.data);
            if (it == ahead.pictures.end() || it->second.ready) continue;  // the same bytes twice
            it->second = {true, std::move(s), std::move(error)};
            ahead.done.notify_all();
        }
    };
    const size_t threads =
        std::min<size_t>(pictures.size(), std::max(1u, std::min(8u, std::thread::hardware_concurrency())));
    size_t started = 0;
    for (; started < threads; ++started) {
        try {
            std::lock_guard<std::mutex> lock(ahead.mu);
            ++ahead.running;
            std::thread(work).detach();  // each ends by itself; a taker waits for its picture
        } catch (const std::system_error&) {
            std::lock_guard<std::mutex> lock(ahead.mu);
            --ahead.running;
            break;
        }
    }
    if (started == 0) {
        // No thread to be had: each picture is decoded when it is asked for.
        std::lock_guard<std::mutex> lock(ahead.mu);
        ahead.pictures.clear();
    }
}

void FinishDecoding() {
    Ahead& ahead = TheAhead();
    std::unique_lock<std::mutex> lock(ahead.mu);
    ahead.done.wait(lock, [&] { return ahead.running == 0; });
}

}  // namespace plat
