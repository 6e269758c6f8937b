// The pictures built into the programs: sizes the drawing code relies on, and
// sprite masks that cover exactly their pictures.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include <SDL.h>
#include <png.h>

#include "game/form1.h"
#include "manual/form1.h"
#include "platform/image.h"

namespace {

struct Expect { const char* name; int w, h; };

void CheckSizes(const kit::ArtFile* table, const std::vector<Expect>& expected) {
    for (const Expect& e : expected) {
        SCOPED_TRACE(e.name);
        const plat::Surface s = kit::LoadArt(table, e.name);
        EXPECT_EQ(s.Width(), e.w);
        EXPECT_EQ(s.Height(), e.h);
    }
}

std::string Name(const char* stem, int n, bool twoDigits = false) {
    char buf[32];
    std::snprintf(buf, sizeof buf, twoDigits ? "%s-%02d" : "%s-%d", stem, n);
    return buf;
}

constexpr uint32_t kSpriteGround = 0xFFF8FF;  // RGB(255, 248, 255)

// Sprite tiles and the mask tile (30 + column) in the bottom row under them.
void CheckMasks(const plat::Surface& sheet, const std::vector<int>& sprites) {
    ASSERT_EQ(sheet.Width(), 192);
    for (int t : sprites) {
        SCOPED_TRACE("tile " + std::to_string(t));
        const int sx = (t % 6) * 32, sy = (t / 6) * 32, my = 160;
        int opaque = 0;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) {
                const uint32_t pic = sheet.PixelRGB(sx + x, sy + y), mask = sheet.PixelRGB(sx + x, my + y);
                ASSERT_TRUE(mask == kSpriteGround || mask == 0) << "mask pixel " << x << "," << y;
                ASSERT_EQ(mask == kSpriteGround, pic != kSpriteGround) << "pixel " << x << "," << y;
                opaque += pic != kSpriteGround;
            }
        EXPECT_GT(opaque, 100);
        // The corners are the sprite's ground.
        EXPECT_EQ(sheet.PixelRGB(sx, sy), kSpriteGround);
        EXPECT_EQ(sheet.PixelRGB(sx + 31, sy + 31), kSpriteGround);
    }
}

void CheckEmpty(const plat::Surface& sheet, const std::vector<int>& tiles) {
    for (int t : tiles)
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                ASSERT_EQ(sheet.PixelRGB((t % 6) * 32 + x, (t / 6) * 32 + y), kSpriteGround) << "tile " << t;
}

}  // namespace

TEST(Art, GamePicturesHaveTheirSizes) {
    std::vector<Expect> e = {{"icon-game", 32, 32}, {"tiles-game", 192, 192}, {"kanban", 320, 96}, {"rogo", 64, 64}};
    std::vector<std::string> names;
    for (int n = 0; n <= 21; ++n) names.push_back(Name("face", n, true));
    for (int n = 0; n <= 4; ++n) names.push_back(Name("robo", n));
    for (size_t k = 0; k < names.size(); ++k)
        e.push_back({names[k].c_str(), k < 22 ? 90 : 127, k < 22 ? 90 : 127});
    CheckSizes(GameArt(), e);
}

TEST(Art, ManualPicturesHaveTheirSizes) {
    std::vector<Expect> e = {{"icon-manual", 32, 32}, {"tiles-manual", 192, 192},
                             {"jin-0", 130, 206}, {"jin-1", 130, 262}, {"jin-2", 125, 251}, {"jin-3", 170, 207},
                             {"jin-4", 120, 273}, {"jin-5", 110, 107}, {"jin-6", 121, 175}};
    std::vector<std::string> names;
    for (int n = 0; n <= 7; ++n) names.push_back(Name("epi", n));
    for (auto& n : names) e.push_back({n.c_str(), 192, 305});
    CheckSizes(ManualArt(), e);
}

TEST(Art, SpriteMasksCoverExactlyTheirPictures) {
    const plat::Surface game = kit::LoadArt(GameArt(), "tiles-game");
    CheckMasks(game, {6, 7, 8, 9, 10, 11, 12, 13, 18, 19, 24, 25});
    CheckEmpty(game, {14, 20, 26, 27, 29});
    const plat::Surface manual = kit::LoadArt(ManualArt(), "tiles-manual");
    CheckMasks(manual, {8, 9, 10, 11, 13, 18, 19, 24, 25});
    CheckEmpty(manual, {14, 20, 26, 27, 29});
}

TEST(Art, TheLogoStandsOnBlack) {
    const plat::Surface logo = kit::LoadArt(GameArt(), "rogo");
    ASSERT_EQ(logo.Width(), 64);
    for (int k = 0; k < 64; ++k) {
        EXPECT_EQ(logo.PixelRGB(k, 0), 0u);
        EXPECT_EQ(logo.PixelRGB(0, k), 0u);
        EXPECT_EQ(logo.PixelRGB(63, k), 0u);
    }
}

// A picture that cannot be read, or read but not converted to the surfaces'
// pixels, gives an empty surface and one line on stderr naming it.
TEST(Art, APictureThatFailsGivesAnEmptySurfaceAndOneLine) {
    // A run-length BMP of 2^29 + 1 by 1 pixels, ending at once: it reads as
    // one byte a pixel, but four bytes a pixel overflow a row's length.
    std::vector<unsigned char> wide(14 + 40 + 8 + 2, 0);
    const auto put = [&](size_t at, uint32_t v, int bytes) {
        for (int k = 0; k < bytes; ++k) wide[at + k] = static_cast<unsigned char>(v >> (8 * k));
    };
    wide[0] = 'B', wide[1] = 'M';
    put(2, static_cast<uint32_t>(wide.size()), 4);
    put(10, 14 + 40 + 8, 4);  // where the pixels start
    put(14, 40, 4);           // header size
    put(18, (1u << 29) + 1, 4);
    put(22, 1, 4);
    put(26, 1, 2);  // planes
    put(28, 8, 2);  // bits a pixel
    put(30, 1, 4);  // run-length coded, 8 bits
    put(46, 2, 4);  // two colours: black, white
    put(58, 0xFFFFFF, 4);
    wide[63] = 1;  // end of the picture
    const std::string garbage = "not a picture";
    struct Case {
        const char* name;
        const unsigned char* data;
        size_t size;
        const char* line;
    };
    for (const Case& c : {Case{"garbage", reinterpret_cast<const unsigned char*>(garbage.data()), garbage.size(),
                               "picture garbage could not be read\n"},
                          Case{"too wide", wide.data(), wide.size(), "picture too wide could not be converted: "}}) {
        SCOPED_TRACE(c.name);
        testing::internal::CaptureStderr();
        const plat::Surface s = plat::LoadPicture(c.data, c.size, c.name);
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(s.Width(), 0);
        EXPECT_EQ(s.Height(), 0);
        EXPECT_EQ(err.rfind(c.line, 0), 0u) << err;
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    }
}

namespace {

// A PNG of the given layout, written with libpng: every pixel a different mix.
std::vector<unsigned char> MakePng(int colourType, int depth, bool interlaced, int w, int h) {
    std::vector<unsigned char> file;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return {};
    }
    png_set_write_fn(
        png, &file,
        [](png_structp p, png_bytep data, png_size_t n) {
            auto* out = static_cast<std::vector<unsigned char>*>(png_get_io_ptr(p));
            out->insert(out->end(), data, data + n);
        },
        nullptr);
    png_set_IHDR(png, info, w, h, depth, colourType, interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (colourType == PNG_COLOR_TYPE_PALETTE) {
        png_color palette[256];
        for (int k = 0; k < 256; ++k)
            palette[k] = {static_cast<png_byte>(k * 7), static_cast<png_byte>(255 - k), static_cast<png_byte>(k * 3)};
        png_set_PLTE(png, info, palette, 1 << depth);
        png_byte alpha[4] = {0, 128, 255, 7};
        png_set_tRNS(png, info, alpha, 4, nullptr);  // transparency, dropped as alpha is
    }
    png_write_info(png, info);
    png_set_packing(png);
    const int channels = png_get_channels(png, info), bytes = depth == 16 ? 2 : 1;
    std::vector<png_byte> row(static_cast<size_t>(w) * channels * bytes);
    for (int pass = png_set_interlace_handling(png); pass > 0; --pass)
        for (int y = 0; y < h; ++y) {
            for (size_t k = 0; k < row.size(); ++k)
                row[k] = static_cast<png_byte>((k * 37 + y * 101 + k * y) % (depth < 8 ? 1 << depth : 256));
            png_write_row(png, row.data());
        }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return file;
}

}  // namespace

// PNGs are decoded by libpng, without the image library: every layout gives
// the pixels the image library gives, alpha and transparency dropped.
TEST(Art, PngsDecodeAsTheImageLibraryDecodesThem) {
    const plat::ImageLibrary& image = plat::Images();
    if (!image.Load) GTEST_SKIP() << image.error;
    const auto viaLibrary = [&](const std::vector<unsigned char>& bytes) {
        SDL_Surface* s = image.Load(SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size())), 1);
        SDL_Surface* rgb = s ? SDL_ConvertSurfaceFormat(s, SDL_PIXELFORMAT_RGB888, 0) : nullptr;
        std::vector<uint32_t> px;
        for (int y = 0; rgb && y < rgb->h; ++y)
            for (int x = 0; x < rgb->w; ++x)
                px.push_back(reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(rgb->pixels) +
                                                               y * rgb->pitch)[x] & 0xFFFFFF);
        SDL_FreeSurface(rgb);
        SDL_FreeSurface(s);
        return px;
    };
    const struct {
        int type, depth;
    } layouts[] = {{PNG_COLOR_TYPE_RGB, 8},      {PNG_COLOR_TYPE_RGB, 16},        {PNG_COLOR_TYPE_RGB_ALPHA, 8},
                   {PNG_COLOR_TYPE_RGB_ALPHA, 16}, {PNG_COLOR_TYPE_GRAY, 1},      {PNG_COLOR_TYPE_GRAY, 4},
                   {PNG_COLOR_TYPE_GRAY, 8},     {PNG_COLOR_TYPE_GRAY, 16},       {PNG_COLOR_TYPE_GRAY_ALPHA, 8},
                   {PNG_COLOR_TYPE_PALETTE, 2},  {PNG_COLOR_TYPE_PALETTE, 8}};
    for (const auto& l : layouts)
        for (bool interlaced : {false, true}) {
            SCOPED_TRACE("colour type " + std::to_string(l.type) + ", " + std::to_string(l.depth) + " bits" +
                         (interlaced ? ", interlaced" : ""));
            const std::vector<unsigned char> bytes = MakePng(l.type, l.depth, interlaced, 13, 7);
            ASSERT_FALSE(bytes.empty());
            const plat::Surface s = plat::LoadPicture(bytes.data(), bytes.size(), "made");
            ASSERT_EQ(s.Width(), 13);
            ASSERT_EQ(s.Height(), 7);
            EXPECT_EQ(s.Pixels(), viaLibrary(bytes));
        }
    for (const kit::ArtFile* f = GameArt(); f->name; ++f) {
        SCOPED_TRACE(f->name);
        const std::vector<unsigned char> bytes(f->data, f->data + f->size);
        EXPECT_EQ(plat::LoadPicture(f->data, f->size, f->name).Pixels(), viaLibrary(bytes));
    }
    // Cut short, a PNG is one that cannot be read.
    std::vector<unsigned char> cut = MakePng(PNG_COLOR_TYPE_RGB, 8, false, 13, 7);
    cut.resize(cut.size() / 2);
    testing::internal::CaptureStderr();
    EXPECT_EQ(plat::LoadPicture(cut.data(), cut.size(), "cut").Width(), 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "picture cut could not be read\n");
}

// Pictures decoded ahead are taken by name as they would have been decoded
// then: the same pixels, and a picture that cannot be read (or is not carried)
// says so when it is taken. A second take decodes it again; pictures left
// untaken do not hold up the pool's end.
TEST(Art, PicturesDecodedAheadAreTakenByNameAsDecodedThen) {
    const std::string garbage = "not a picture";
    std::vector<plat::PictureFile> table;
    for (const plat::PictureFile* f = ManualArt(); f->name; ++f) table.push_back(*f);
    table.push_back({"garbage", reinterpret_cast<const unsigned char*>(garbage.data()), garbage.size()});
    table.push_back({nullptr, nullptr, 0});
    {
        plat::Pictures pictures(table.data());
        for (size_t k = 0; k + 2 < table.size(); ++k) {
            SCOPED_TRACE(table[k].name);
            const plat::Surface ahead = pictures.Take(table[k].name);
            EXPECT_GT(ahead.Width(), 0);
            EXPECT_EQ(ahead.Pixels(), plat::LoadPicture(table[k].data, table[k].size, table[k].name).Pixels());
        }
        testing::internal::CaptureStderr();
        EXPECT_EQ(pictures.Take("garbage").Width(), 0);
        EXPECT_EQ(pictures.Take("nothing").Width(), 0);
        EXPECT_EQ(testing::internal::GetCapturedStderr(),
                  "picture garbage could not be read\npicture nothing is not built in\n");
        EXPECT_EQ(pictures.Take("gamen").Pixels(), kit::LoadArt(ManualArt(), "gamen").Pixels());
    }
    plat::Pictures untaken(table.data());
    EXPECT_GT(untaken.Take("epi-7").Width(), 0);
}
