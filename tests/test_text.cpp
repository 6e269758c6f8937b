// Text on a surface: the blend of glyphs over the background, texts drawn
// again from what was rendered before, and a font that cannot be opened.
#include <SDL_ttf.h>
#include <fontconfig/fontconfig.h>
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "../platform/surface.h"
#include "../platform/program_name.h"
#include "../platform/text.h"

namespace {

// A surface of 400 by 60 filled with a pattern that meets every channel value.
plat::Surface Patterned() {
    plat::Surface s(400, 60);
    uint32_t seed = 7;
    for (int y = 0; y < s.Height(); ++y)
        for (int x = 0; x < s.Width(); ++x) {
            seed = seed * 1103515245u + 12345u;
            s.SetPixelRGB(x, y, (seed >> 8) & 0xFFFFFF);
        }
    return s;
}

struct Style {
    float size;
    bool bold, italic;
    plat::Colour colour;
};

plat::Surface Drawn(const Style& st, const std::string& text) {
    plat::Surface s = Patterned();
    s.FontSize = st.size;
    s.FontBold = st.bold;
    s.FontItalic = st.italic;
    s.ForeColor = st.colour;
    s.CurrentX = 5;
    s.CurrentY = 10;
    s.Print(text);
    return s;
}

}  // namespace

TEST(Text, TheBlendWithoutADivisionEqualsTheOneWithForEveryAlphaSourceAndDestination) {
    for (int a = 0; a <= 255; ++a)
        for (int src = 0; src <= 255; ++src)
            for (int dst = 0; dst <= 255; ++dst) {
                const int expected = dst + (src - dst) * a / 255;
                const uint32_t got = plat::BlendChannel(static_cast<uint32_t>(dst), static_cast<uint32_t>(src),
                                                        static_cast<uint32_t>(a));
                if (got != static_cast<uint32_t>(expected))
                    FAIL() << "alpha " << a << ", source " << src << ", destination " << dst << ": " << got
                           << " instead of " << expected;
            }
}

// Every style and colour of a text is drawn the same the first time, from
// what was kept, and after many other texts have pushed it out.
TEST(Text, ATextIsDrawnTheSameEveryTimeInEachStyleAndColour) {
    const std::string text = "テキストの色Ａa1";
    // Neighbours differ in one thing, so a text kept under too loose a key shows.
    const plat::Colour white = plat::RGB(255, 255, 255);
    const std::vector<Style> styles = {
        {11, false, false, white}, {11, true, false, white}, {11, false, true, white},
        {11, true, true, white},   {12, false, false, white}, {11, false, false, plat::RGB(200, 10, 90)},
        {16, true, true, plat::RGB(0, 0, 0)},
    };
    std::vector<plat::Surface> first;
    for (const Style& st : styles) first.push_back(Drawn(st, text));
    const plat::Surface untouched = Patterned();
    for (size_t i = 0; i < styles.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_NE(first[i].Pixels(), untouched.Pixels()) << "no text was drawn: is a font installed?";
        for (size_t k = 0; k < i; ++k) EXPECT_NE(first[i].Pixels(), first[k].Pixels()) << "the same as style " << k;
        EXPECT_EQ(Drawn(styles[i], text).Pixels(), first[i].Pixels()) << "drawn a second time";
    }
    // Enough other texts, small and large, to push out everything kept before
    // (they are rendered even where the surface does not reach).
    plat::Surface dot(1, 1);
    for (int n = 0; n < 1200; ++n) {
        dot.FontSize = n % 2 ? 40.0f : 9.0f;
        dot.Print("push " + std::to_string(n));
    }
    for (size_t i = 0; i < styles.size(); ++i) EXPECT_EQ(Drawn(styles[i], text).Pixels(), first[i].Pixels()) << i;
}

// Numbers (a gauge's, a count's) are drawn exactly as the font library lays
// them out, in each size and weight, also once many have been drawn.
TEST(Text, ANumberIsDrawnAsTheFontLibraryRendersIt) {
    std::string file;
    if (FcInit()) {
        FcPattern* pat = FcNameParse(reinterpret_cast<const FcChar8*>("IPAPGothic"));
        FcConfigSubstitute(nullptr, pat, FcMatchPattern);
        FcDefaultSubstitute(pat);
        FcResult res;
        FcPattern* font = FcFontMatch(nullptr, pat, &res);
        FcChar8* f = nullptr;
        FcChar8* family = nullptr;
        if (font && FcPatternGetString(font, FC_FILE, 0, &f) == FcResultMatch &&
            FcPatternGetString(font, FC_FAMILY, 0, &family) == FcResultMatch &&
            std::string(reinterpret_cast<char*>(family)) == "IPAPGothic")
            file = reinterpret_cast<char*>(f);
        if (font) FcPatternDestroy(font);
        FcPatternDestroy(pat);
    }
    if (file.empty() || TTF_Init() != 0) GTEST_SKIP() << "the game's font is not installed";
    const Style styles[] = {{9, true, false, 0}, {12, false, false, 0}, {16, true, false, 0}, {28, true, false, 0}};
    std::vector<std::string> numbers = {" 0 ", "-1 ", " 7.5 ", "-0.25 ", " 1111 ", "-9876543210 ", " ", "."};
    for (int n = 0; n < 60; ++n) numbers.push_back(" " + std::to_string(n * 4099 % 20000) + " ");
    for (const Style& st : styles) {
        TTF_Font* font = TTF_OpenFont(file.c_str(), static_cast<int>(std::lround(st.size * 96.0 / 72.0)));
        ASSERT_NE(font, nullptr);
        if (st.bold) TTF_SetFontStyle(font, TTF_STYLE_BOLD);
        for (const std::string& text : numbers) {
            SCOPED_TRACE(std::to_string(st.size) + (st.bold ? " bold \"" : " \"") + text + "\"");
            SDL_Surface* glyphs = TTF_RenderUTF8_Blended(font, text.c_str(), SDL_Color{255, 255, 255, 255});
            ASSERT_NE(glyphs, nullptr);
            SDL_Surface* argb = SDL_ConvertSurfaceFormat(glyphs, SDL_PIXELFORMAT_ARGB8888, 0);
            SDL_FreeSurface(glyphs);
            ASSERT_NE(argb, nullptr);
            // The text in black, laid over the pattern at (5, 10).
            plat::Surface expected = Patterned();
            for (int y = 0; y < argb->h; ++y)
                for (int x = 0; x < argb->w; ++x) {
                    const uint32_t a =
                        reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(argb->pixels) + y * argb->pitch)[x] >> 24;
                    if (a == 0 || 5 + x >= expected.Width() || 10 + y >= expected.Height()) continue;
                    const uint32_t bg = expected.PixelRGB(5 + x, 10 + y);
                    expected.SetPixelRGB(5 + x, 10 + y,
                                         plat::BlendChannel((bg >> 16) & 255, 0, a) << 16 |
                                             plat::BlendChannel((bg >> 8) & 255, 0, a) << 8 |
                                             plat::BlendChannel(bg & 255, 0, a));
                }
            SDL_FreeSurface(argb);
            ASSERT_EQ(Drawn(st, text).Pixels(), expected.Pixels());
        }
        TTF_CloseFont(font);
    }
    TTF_Quit();
}

// A font that fails to open (here: no file descriptor left) leaves its text
// out with one line on stderr, however often it is asked for, and opens as
// soon as it can. Run in a child of its own, whose limits change nothing else.
TEST(TextDeathTest, AFontThatFailsToOpenIsToldOnceAndOpenedWhenItCan) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const auto child = [] {
        // A size no other text uses, so its font is not open yet.
        const Style rare = {37.5f, false, false, plat::RGB(255, 255, 255)};
        const plat::Surface blank = Patterned();
        if (Drawn({11, false, false, 0xFFFFFF}, "a").Pixels() == blank.Pixels()) std::_Exit(2);  // no font at all
        rlimit was{};
        getrlimit(RLIMIT_NOFILE, &was);
        const int lowestFree = dup(0);
        close(lowestFree);
        rlimit none = was;
        none.rlim_cur = static_cast<rlim_t>(lowestFree);
        setrlimit(RLIMIT_NOFILE, &none);
        bool drawn = false;
        for (int k = 0; k < 5; ++k) drawn |= Drawn(rare, "a").Pixels() != blank.Pixels();
        setrlimit(RLIMIT_NOFILE, &was);
        if (drawn) std::_Exit(3);
        if (Drawn(rare, "a").Pixels() == blank.Pixels()) std::_Exit(4);  // still left out
        std::_Exit(0);
    };
    // Exactly one line, naming the font.
    EXPECT_EXIT(child(), testing::ExitedWithCode(0), "^[^\n]*: font [^\n]* could not be opened: [^\n]*\n$");
}

// Text readied on a thread beside the program (its libraries, the face) draws
// as soon as it is asked for, and what the readying found is said once, at the
// first text. Each case in a child of its own, whose text is not ready yet.
TEST(TextDeathTest, TextReadiedBesideTheProgramDrawsAndSaysWhatItFoundOnce) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const auto child = [](bool noFonts) {
        const std::string config = testing::TempDir() + "/no-fonts-" + std::to_string(getpid()) + ".conf";
        if (noFonts) {
            std::FILE* f = std::fopen(config.c_str(), "w");
            std::fputs("<?xml version=\"1.0\"?>\n<fontconfig></fontconfig>\n", f);
            std::fclose(f);
            setenv("FONTCONFIG_FILE", config.c_str(), 1);
        }
        plat::SetProgramName("tobble7");
        plat::PrepareText();
        const plat::Surface blank = Patterned();
        const Style style = {11, true, false, plat::RGB(255, 255, 255)};
        const bool drawn = Drawn(style, "あa").Pixels() != blank.Pixels();
        Drawn(style, "b");
        if (noFonts) std::remove(config.c_str());
        std::_Exit(drawn == !noFonts ? 0 : 1);
    };
    EXPECT_EXIT(child(false), testing::ExitedWithCode(0), "^$");
    EXPECT_EXIT(child(true), testing::ExitedWithCode(0),
                "^tobble7: no Japanese font found; install fonts-ipafont-gothic to see the text\n$");
}
