// Pictures: PNGs decoded with libpng. Every picture here is a PNG; anything
// else is a picture that could not be read.
#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <cstdio>

#include "image.h"
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

}  // namespace

Surface DecodePicture(const unsigned char* data, size_t size, const char* name, std::string& error) {
    error.clear();
    Surface out;
    if (!IsPng(data, size) || !DecodePng(data, size, out))
        error = std::string("picture ") + name + " could not be read";
    return out;
}

}  // namespace plat
