// The pictures built into the programs: sizes the drawing code relies on, and
// sprite masks that cover exactly their pictures.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "game/form1.h"
#include "manual/form1.h"

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
