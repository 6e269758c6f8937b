#include "picture_file.h"

#include <png.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <new>
#include <vector>

#include "pictures.h"
#include "write_file.h"

namespace plat {
namespace {

// What the libpng callbacks share with EncodePng: the bytes written so far,
// and why the encoding failed. Plain data, so a long jump may leave it.
struct PngWriter {
    std::string* out;
    char why[160];
};

void WriteToMemory(png_structp png, png_bytep data, png_size_t n) {
    auto* w = static_cast<PngWriter*>(png_get_io_ptr(png));
    // No exception may cross libpng's C frames: it becomes libpng's own error.
    bool full = false;
    try {
        w->out->append(reinterpret_cast<const char*>(data), n);
    } catch (const std::bad_alloc&) {
        full = true;
    }
    if (full) png_error(png, "out of memory");
}

void NoFlush(png_structp) {}

[[noreturn]] void KeepReason(png_structp png, png_const_charp message) {
    auto* w = static_cast<PngWriter*>(png_get_error_ptr(png));
    std::snprintf(w->why, sizeof w->why, "%s", message ? message : "libpng failed");
    png_longjmp(png, 1);
}

void NoWarnings(png_structp, png_const_charp) {}

// Encodes the 0x00RRGGBB pixels as a 24-bit RGB PNG into *w.out. Everything it
// fills lives with the caller: libpng reports a failure by a long jump back
// into this function, past no destructor. False with the reason in `w.why`.
bool EncodePng(const uint32_t* pixels, int width, int height, std::vector<png_byte>& row, PngWriter& w) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &w, KeepReason, NoWarnings);
    if (!png) {
        std::snprintf(w.why, sizeof w.why, "libpng could not start");
        return false;
    }
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        std::snprintf(w.why, sizeof w.why, "libpng could not start");
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, &w, WriteToMemory, NoFlush);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y) {
        const uint32_t* p = pixels + static_cast<size_t>(y) * width;
        for (int x = 0; x < width; ++x) {
            row[3 * x] = static_cast<png_byte>(p[x] >> 16);
            row[3 * x + 1] = static_cast<png_byte>(p[x] >> 8);
            row[3 * x + 2] = static_cast<png_byte>(p[x]);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

bool SavePicture(const Surface& s, const std::string& path) {
    std::string bytes;
    std::vector<png_byte> row(3 * static_cast<size_t>(s.Width() > 0 ? s.Width() : 0));
    PngWriter w{&bytes, {}};
    std::string reason;
    // libpng refuses it too, but says only "Invalid IHDR data".
    if (s.Width() <= 0 || s.Height() <= 0) {
        reason = "the picture is empty";
    } else if (EncodePng(s.Pixels().data(), s.Width(), s.Height(), row, w)) {
        // Through a fresh file that then takes the old one's place: a run that
        // dies half-way leaves no torn picture where a golden one stood.
        std::string target;
        const WriteFailure f = WriteWholeFile(path, bytes, target);
        if (!f) return true;
        reason = std::string(f.step) + ": " + std::strerror(f.err);
    } else {
        reason = w.why;
    }
    std::fprintf(stderr, "%s: cannot be written (%s)\n", path.c_str(), reason.c_str());
    return false;
}

Surface ReadPicture(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<unsigned char> data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return LoadPicture(data.empty() ? nullptr : data.data(), data.size(), path.c_str());
}

}  // namespace plat
