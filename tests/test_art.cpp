// The pictures built into the programs: sizes the drawing code relies on, and
// sprite masks that cover exactly their pictures.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <png.h>

#include "game/form1.h"
#include "manual/form1.h"
#include "platform/picture_file.h"

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

// A picture that cannot be read gives an empty surface and one line on stderr
// naming it; PNG is the one format read, so a sound BMP is no more a picture
// than garbage is.
TEST(Art, APictureThatFailsGivesAnEmptySurfaceAndOneLine) {
    // A BMP of one white pixel, 24 bits, uncompressed.
    std::vector<unsigned char> bmp(14 + 40 + 4, 0);
    const auto put = [&](size_t at, uint32_t v, int bytes) {
        for (int k = 0; k < bytes; ++k) bmp[at + k] = static_cast<unsigned char>(v >> (8 * k));
    };
    bmp[0] = 'B', bmp[1] = 'M';
    put(2, static_cast<uint32_t>(bmp.size()), 4);
    put(10, 14 + 40, 4);  // where the pixels start
    put(14, 40, 4);       // header size
    put(18, 1, 4);
    put(22, 1, 4);
    put(26, 1, 2);  // planes
    put(28, 24, 2);  // bits a pixel
    put(54, 0xFFFFFF, 3);
    const std::string garbage = "not a picture";
    struct Case {
        const char* name;
        const unsigned char* data;
        size_t size;
    };
    for (const Case& c : {Case{"garbage", reinterpret_cast<const unsigned char*>(garbage.data()), garbage.size()},
                          Case{"bmp", bmp.data(), bmp.size()}, Case{"none", nullptr, 0}}) {
        SCOPED_TRACE(c.name);
        testing::internal::CaptureStderr();
        const plat::Surface s = plat::LoadPicture(c.data, c.size, c.name);
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(s.Width(), 0);
        EXPECT_EQ(s.Height(), 0);
        EXPECT_EQ(err, "picture " + std::string(c.name) + " could not be read\n");
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

// What ImageMagick reads from each PNG, asked for as 16-bit PPMs (it drops
// alpha unblended): the high byte of each channel. One run of convert for
// all; none, with the reason in `why`, when that fails.
std::vector<plat::Surface> ImageMagickPictures(const std::vector<std::vector<unsigned char>>& pngs, std::string& why) {
    const std::string stem = testing::TempDir() + "tobble7-reference-" + std::to_string(getpid()) + "-";
    std::string command = "convert";
    for (size_t k = 0; k < pngs.size(); ++k) {
        const std::string path = stem + std::to_string(k) + ".png";
        std::FILE* f = std::fopen(path.c_str(), "wb");
        if (!f || std::fwrite(pngs[k].data(), 1, pngs[k].size(), f) != pngs[k].size()) why = "cannot write " + path;
        if (f) std::fclose(f);
        command += " '" + path + "'";
    }
    command += " -depth 16 ppm:-";
    std::string ppm;
    if (why.empty()) {
        if (std::FILE* p = popen(command.c_str(), "r")) {
            char buf[65536];
            for (size_t n; (n = std::fread(buf, 1, sizeof buf, p)) > 0;) ppm.append(buf, n);
            if (pclose(p) != 0) why = "convert failed";
        } else {
            why = "cannot run convert";
        }
    }
    for (size_t k = 0; k < pngs.size(); ++k) std::remove((stem + std::to_string(k) + ".png").c_str());
    // The PPMs one after another: "P6", width, height, 65535, one white-space
    // character, then big-endian samples.
    std::vector<plat::Surface> out;
    size_t at = 0;
    const auto number = [&] {
        while (at < ppm.size() && std::isspace(static_cast<unsigned char>(ppm[at]))) ++at;
        size_t v = 0;
        for (; at < ppm.size() && std::isdigit(static_cast<unsigned char>(ppm[at])); ++at) v = v * 10 + (ppm[at] - '0');
        return v;
    };
    while (why.empty() && out.size() < pngs.size()) {
        if (ppm.compare(at, 2, "P6") != 0) {
            why = "convert gave no PPM for picture " + std::to_string(out.size());
            break;
        }
        at += 2;
        const size_t w = number(), h = number(), max = number();
        ++at;
        if (max != 65535 || ppm.size() - std::min(at, ppm.size()) < w * h * 6) {
            why = "convert gave a short or 8-bit PPM";
            break;
        }
        plat::Surface s;
        s.Resize(static_cast<int>(w), static_cast<int>(h));
        const auto high = [&](size_t i) { return uint32_t{static_cast<unsigned char>(ppm[at + i])}; };
        for (int y = 0; y < s.Height(); ++y)
            for (int x = 0; x < s.Width(); ++x, at += 6) s.SetPixelRGB(x, y, high(0) << 16 | high(2) << 8 | high(4));
        out.push_back(std::move(s));
    }
    if (!why.empty()) out.clear();
    return out;
}

}  // namespace

// PNGs are decoded by libpng as ImageMagick reads them: every layout, and the
// art, gives the same pixels, alpha and transparency dropped and 16-bit
// channels cut to their high bytes.
TEST(Art, PngsDecodeAsImageMagickReadsThem) {
    const struct {
        int type, depth;
    } layouts[] = {{PNG_COLOR_TYPE_RGB, 8},      {PNG_COLOR_TYPE_RGB, 16},        {PNG_COLOR_TYPE_RGB_ALPHA, 8},
                   {PNG_COLOR_TYPE_RGB_ALPHA, 16}, {PNG_COLOR_TYPE_GRAY, 1},      {PNG_COLOR_TYPE_GRAY, 4},
                   {PNG_COLOR_TYPE_GRAY, 8},     {PNG_COLOR_TYPE_GRAY, 16},       {PNG_COLOR_TYPE_GRAY_ALPHA, 8},
                   {PNG_COLOR_TYPE_PALETTE, 2},  {PNG_COLOR_TYPE_PALETTE, 8}};
    std::vector<std::string> names;
    std::vector<std::vector<unsigned char>> pngs;
    for (const auto& l : layouts)
        for (bool interlaced : {false, true}) {
            names.push_back("colour type " + std::to_string(l.type) + ", " + std::to_string(l.depth) + " bits" +
                            (interlaced ? ", interlaced" : ""));
            pngs.push_back(MakePng(l.type, l.depth, interlaced, 13, 7));
            ASSERT_FALSE(pngs.back().empty()) << names.back();
        }
    for (const kit::ArtFile* table : {GameArt(), ManualArt()})
        for (const kit::ArtFile* f = table; f->name; ++f) {
            names.push_back(f->name);
            pngs.emplace_back(f->data, f->data + f->size);
        }
    if (std::system("command -v convert >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "ImageMagick's convert is not installed (tools/install-deps installs it)";
    std::string why;
    const std::vector<plat::Surface> reference = ImageMagickPictures(pngs, why);
    ASSERT_EQ(reference.size(), pngs.size()) << why;
    for (size_t k = 0; k < pngs.size(); ++k) {
        SCOPED_TRACE(names[k]);
        const plat::Surface s = plat::LoadPicture(pngs[k].data(), pngs[k].size(), names[k].c_str());
        EXPECT_EQ(s.Width(), reference[k].Width());
        EXPECT_EQ(s.Height(), reference[k].Height());
        EXPECT_EQ(s.Pixels(), reference[k].Pixels());
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

// A written picture reads back as the same pixels, over an older file of the
// name: an odd width (rows of no whole number of words), every value in every
// channel.
TEST(PictureFile, AWrittenPictureReadsBackTheSame) {
    plat::Surface s(17, 16);
    for (int k = 0; k < 17 * 16; ++k) {
        const uint32_t v = static_cast<uint32_t>(k % 256);
        s.SetPixelRGB(k % 17, k / 17, v << 16 | (v * 7 + 3) % 256 << 8 | (255 - v));
    }
    const std::string path = testing::TempDir() + "tobble7-written-" + std::to_string(getpid()) + ".png";
    ASSERT_TRUE(plat::SavePicture(plat::Surface(3, 3), path));
    ASSERT_TRUE(plat::SavePicture(s, path));
    const plat::Surface back = plat::ReadPicture(path);
    std::remove(path.c_str());
    EXPECT_EQ(back.Width(), 17);
    EXPECT_EQ(back.Height(), 16);
    EXPECT_EQ(back.Pixels(), s.Pixels());
}

// A picture that cannot be written: false, and one line naming the file and
// why; nothing is left in its place.
TEST(PictureFile, APictureThatCannotBeWrittenSaysWhyInOneLine) {
    std::string folder = testing::TempDir() + "tobble7-folder-XXXXXX";
    ASSERT_NE(mkdtemp(folder.data()), nullptr);
    const struct {
        std::string path;
        plat::Surface picture;
        const char* why;
    } cases[] = {{folder + "/missing/shot.png", plat::Surface(3, 2), "No such file or directory"},
                 {folder, plat::Surface(3, 2), "Is a directory"},
                 {folder + "/empty.png", plat::Surface(), "the picture is empty"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        testing::internal::CaptureStderr();
        EXPECT_FALSE(plat::SavePicture(c.picture, c.path));
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(err.rfind(c.path + ": cannot be written (", 0), 0u) << err;
        EXPECT_NE(err.find(c.why), std::string::npos) << err;
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    }
    EXPECT_EQ(rmdir(folder.c_str()), 0) << "something was left in " << folder;
}
