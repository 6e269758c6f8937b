// What a layer records as drawn, and what the window shows of it: a present
// copies only what was drawn, yet the window must always hold exactly what a
// present of the whole layer would show.
#include <gtest/gtest.h>

#include <SDL.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <deque>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "../platform/host.h"
#include "env_override.h"
#include "../platform/surface.h"

namespace {

using plat::Colour;
using plat::Rect;
using plat::RGB;
using plat::Surface;

// A surface of random pixels, so that nearly every write changes a pixel.
Surface Noise(int w, int h, unsigned seed) {
    Surface s(w, h);
    std::mt19937 rng(seed);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) s.SetPixelRGB(x, y, rng() & 0xFFFFFF);
    s.TakeDirty();
    return s;
}

bool Covered(const std::vector<Rect>& rects, int x, int y) {
    for (const Rect& r : rects)
        if (x >= r.x && y >= r.y && x < r.x + r.w && y < r.y + r.h) return true;
    return false;
}

// Every drawing call, run on a fresh noisy surface; each returns what it may
// have covered at most (the whole surface when that is its nature).
struct Draw {
    const char* name;
    std::function<void(Surface&)> run;
    int64_t maxArea;
};

const Surface kSource = Noise(40, 30, 7);

std::vector<Draw> Draws() {
    const Colour white = plat::QBColor(15);
    auto pen = [](int w, std::function<void(Surface&)> f) {
        return [w, f](Surface& s) { s.DrawWidth = w; f(s); };
    };
    return {
        {"line", [=](Surface& s) { s.Line(3, 4, 40, 20, white); }, 38 * 17},
        {"steep line off the surface", [=](Surface& s) { s.Line(-50, -90, 30, 200, white); }, 64 * 48},
        {"thick line", pen(5, [=](Surface& s) { s.Line(60, 2, 10, 40, white); }), 64 * 48},
        {"thin box", [=](Surface& s) { s.Box(5, 5, 20, 14, white); }, 16 * 10},
        {"thick box", pen(4, [=](Surface& s) { s.Box(20, 14, 5, 5, white); }), 20 * 14},
        {"filled box", [=](Surface& s) { s.FillBox(10, 8, 2, 3, white); }, 9 * 6},
        {"box far off", [=](Surface& s) { s.FillBox(INT_MIN, INT_MIN, -1, 100, white); }, 0},
        {"circle", [=](Surface& s) { s.Circle(30, 20, 12, white); }, 25 * 25},
        {"circle past the edge", [=](Surface& s) { s.Circle(60, 45, 9, white); }, 19 * 19},
        {"thick circle", pen(6, [=](Surface& s) { s.Circle(20, 24, 10, white); }), 27 * 27},
        {"dot", pen(3, [=](Surface& s) { s.Dot(0, 47, white); }), 4},
        {"pixel", [=](Surface& s) { s.SetPixelRGB(63, 0, 0x123456); }, 1},
        {"back colour", [=](Surface& s) { s.SetBackColor(RGB(1, 2, 3)); }, 64 * 48},
        {"resize", [=](Surface& s) { s.Resize(64, 48); }, 64 * 48},
        {"copy", [=](Surface& s) { plat::BitBlt(s, 50, 40, 20, 20, kSource, 5, 5, plat::SRCCOPY); }, 14 * 8},
        {"or", [=](Surface& s) { plat::BitBlt(s, -5, 3, 20, 10, kSource, 0, 0, plat::SRCPAINT); }, 15 * 10},
        {"and", [=](Surface& s) { plat::BitBlt(s, 3, -4, 10, 20, kSource, 0, 0, plat::SRCAND); }, 10 * 16},
        {"copy within", [=](Surface& s) { plat::BitBlt(s, 4, 6, 30, 20, s, 10, 2, plat::SRCCOPY); }, 30 * 20},
        {"text", [=](Surface& s) { s.CurrentX = 2, s.CurrentY = 3, s.FontSize = 12; s.Print("Ab 戦"); }, 64 * 48},
        {"assigned a picture", [=](Surface& s) { s = Noise(64, 48, 99); }, 64 * 48},
    };
}

TEST(DirtyRegions, CoverEveryWrittenPixelAndLittleElse) {
    for (const Draw& d : Draws()) {
        Surface s = Noise(64, 48, 3);
        const std::vector<uint32_t> before = s.Pixels();
        d.run(s);
        const std::vector<Rect> dirty = s.TakeDirty();
        int64_t area = 0;
        for (const Rect& r : dirty) {
            EXPECT_TRUE(r.x >= 0 && r.y >= 0 && r.w > 0 && r.h > 0 && r.x + r.w <= 64 && r.y + r.h <= 48) << d.name;
            area += int64_t{r.w} * r.h;
        }
        EXPECT_LE(area, d.maxArea) << d.name;
        for (int y = 0; y < 48; ++y)
            for (int x = 0; x < 64; ++x) {
                if (s.PixelRGB(x, y) != before[static_cast<size_t>(y) * 64 + x]) {
                    ASSERT_TRUE(Covered(dirty, x, y)) << d.name << " wrote " << x << "," << y << " unrecorded";
                }
            }
        EXPECT_TRUE(s.TakeDirty().empty()) << d.name << ": taking them clears them";
    }
}

TEST(DirtyRegions, ManyScatteredWritesStayFewRectangles) {
    Surface s(768, 576);
    s.TakeDirty();
    std::mt19937 rng(5);
    for (int k = 0; k < 500; ++k) s.FillBox(rng() % 760, rng() % 570, rng() % 760, rng() % 570, RGB(k, k, k));
    for (int k = 0; k < 500; ++k) s.SetPixelRGB(rng() % 768, rng() % 576, 0xFFFFFF);
    EXPECT_LE(s.Dirty().size(), 8u);
}

// ------------------------------------------------------------ the window


// The window, on SDL's offscreen video driver: its surface is what a display
// would show.
class Window : public ::testing::Test {
protected:
    void SetUp() override {
        const EnvOverride driver("SDL_VIDEODRIVER", "offscreen");
        host = plat::OpenWindowHost("present test");
        if (!host) GTEST_SKIP() << "no offscreen video driver";
        for (Uint32 id = 1; id < 100 && !window; ++id) {
            SDL_Window* w = SDL_GetWindowFromID(id);
            if (w && std::string(SDL_GetWindowTitle(w)) == "Form1") window = w;
        }
        ASSERT_NE(window, nullptr);
        layer.Resize(768, 576);
        layer.Left = 16, layer.Top = 12;
    }

    SDL_Surface* Screen() { return SDL_GetWindowSurface(window); }

    uint32_t WindowPixel(int x, int y) {
        SDL_Surface* s = Screen();
        Uint8 r, g, b;
        SDL_GetRGB(*reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(s->pixels) + y * s->pitch + x * 4),
                   s->format, &r, &g, &b);
        return (uint32_t{r} << 16) | (uint32_t{g} << 8) | b;
    }

    void PokeWindow(int x, int y, uint32_t rgb) {
        SDL_Surface* s = Screen();
        const SDL_Rect at = {x, y, 1, 1};
        SDL_FillRect(s, &at, SDL_MapRGB(s->format, (rgb >> 16) & 255, (rgb >> 8) & 255, rgb & 255));
    }

    // What a present of the whole layer shows at a window pixel.
    uint32_t Expected(int x, int y) const {
        const int lx = x - layer.Left, ly = y - layer.Top;
        return lx >= 0 && ly >= 0 && lx < layer.Width() && ly < layer.Height() ? layer.PixelRGB(lx, ly) : 0;
    }

    // The first pixel where the window differs from a whole present, if any.
    std::string Differs(int skipX = -1, int skipY = -1) {
        SDL_Surface* s = Screen();
        EXPECT_EQ(s->format->BytesPerPixel, 4);
        for (int y = 0; y < s->h; ++y)
            for (int x = 0; x < s->w; ++x)
                if ((x != skipX || y != skipY) && WindowPixel(x, y) != Expected(x, y))
                    return "window " + std::to_string(x) + "," + std::to_string(y);
        return "";
    }

    // A wait of the given length, as the waits of the kit make it.
    void Wait(uint32_t ms) {
        const uint32_t until = SDL_GetTicks() + ms;
        while (!plat::TicksAtOrAfter(SDL_GetTicks(), until)) host->Nap(layer, queue, until);
    }

    std::unique_ptr<plat::Host> host;
    SDL_Window* window = nullptr;
    Surface layer;
    std::deque<plat::InputEvent> queue;
};

TEST_F(Window, ShowsWhatWasDrawnAndMovedExactlyAsAWholePresentWould) {
    host->Show(layer);
    layer.FillBox(0, 0, 767, 575, RGB(20, 40, 60));
    // The first wait after showing presents at once what the handler drew.
    host->Nap(layer, queue, SDL_GetTicks() + 50);
    EXPECT_EQ(Differs(), "");

    std::mt19937 rng(11);
    const std::vector<Draw> draws = Draws();
    for (int step = 0; step < 150; ++step) {
        const int what = static_cast<int>(rng() % 10);
        const Colour c = RGB(rng() % 256, rng() % 256, rng() % 256);
        const int x = static_cast<int>(rng() % 900) - 60, y = static_cast<int>(rng() % 700) - 60;
        const int w = static_cast<int>(rng() % 200), h = static_cast<int>(rng() % 150);
        layer.DrawWidth = 1 + static_cast<int>(rng() % 4);
        switch (what) {
        case 0: layer.FillBox(x, y, x + w, y + h, c); break;
        case 1: layer.Line(x, y, x + w, y - h, c); break;
        case 2: layer.Box(x, y, x + w, y + h, c); break;
        case 3: layer.Circle(x, y, w / 2, c); break;
        case 4: plat::BitBlt(layer, x, y, w, h, kSource, 0, 0, plat::SRCCOPY); break;
        case 5: plat::BitBlt(layer, x, y, w, h, layer, x / 2, y / 2, plat::SRCCOPY); break;
        case 6: layer.CurrentX = static_cast<float>(x), layer.CurrentY = static_cast<float>(y); layer.Print("Ueito 30"); break;
        case 7: layer.SetPixelRGB(x, y, c); break;
        case 8:  // the shake
            layer.Left = 16 + static_cast<int>(rng() % 13) - 6;
            layer.Top = 12 + static_cast<int>(rng() % 13) - 6;
            break;
        default: break;  // nothing drawn
        }
        if (rng() % 3 == 0)
            Wait(20);  // a present inside a wait
        else
            host->Present(layer);
        ASSERT_EQ(Differs(), "") << "step " << step << " (" << what << ")";
    }
}

TEST_F(Window, CopiesOnlyWhatWasDrawnAndDrawsWholeAfterAMoveOrExposure) {
    host->Show(layer);
    layer.FillBox(0, 0, 767, 575, RGB(90, 10, 10));
    host->Present(layer);
    // A mark on the window that no present of the layer would leave: it
    // shows which presents copied over it.
    const int mx = 300, my = 200;
    PokeWindow(mx, my, 0x00FF00);
    host->Present(layer);  // nothing drawn: nothing copied
    EXPECT_EQ(WindowPixel(mx, my), 0x00FF00u);
    layer.FillBox(400, 300, 420, 310, RGB(1, 2, 3));
    host->Present(layer);  // only the box
    EXPECT_EQ(WindowPixel(mx, my), 0x00FF00u);
    EXPECT_EQ(Differs(mx, my), "");
    Wait(40);  // a wait with nothing drawn copies nothing either
    EXPECT_EQ(WindowPixel(mx, my), 0x00FF00u);

    layer.Left = 10;  // the shake moves the layer: all of it and the margins
    Wait(40);
    EXPECT_EQ(Differs(), "");
    layer.Left = 16;
    host->Present(layer);
    EXPECT_EQ(Differs(), "");

    PokeWindow(mx, my, 0x00FF00);
    SDL_Event e = {};
    e.type = SDL_WINDOWEVENT;
    e.window.event = SDL_WINDOWEVENT_EXPOSED;
    e.window.windowID = SDL_GetWindowID(window);
    SDL_PushEvent(&e);
    host->Poll(queue);
    host->Present(layer);  // uncovered: shown whole again
    EXPECT_EQ(Differs(), "");
}

// A handler often draws a wide strip again with the same pixels but one: the
// window must still get that one, wherever it lies in the rows compared.
TEST_F(Window, ARedrawOfTheSamePixelsButOneShowsThatOne) {
    host->Show(layer);
    const Surface same = Noise(768, 576, 5);
    plat::BitBlt(layer, 0, 0, 768, 576, same, 0, 0, plat::SRCCOPY);
    host->Present(layer);
    const int columns[] = {0, 1, 15, 16, 17, 31, 32, 47, 400, 751, 752, 753, 766, 767};
    const int rows[] = {0, 1, 50, 99};
    for (int x : columns)
        for (int y : rows) {
            SCOPED_TRACE("pixel " + std::to_string(x) + "," + std::to_string(445 + y));
            plat::BitBlt(layer, 0, 445, 768, 100, same, 0, 445, plat::SRCCOPY);
            layer.SetPixelRGB(x, 445 + y, ~same.PixelRGB(x, 445 + y) & 0xFFFFFF);
            host->Present(layer);
            ASSERT_EQ(Differs(), "");
        }
}

// A copy keeps the list of its source, which says nothing of what the window
// shows: the window must show a surface new to it whole.
TEST_F(Window, ACopyShownInPlaceOfTheLayerIsShownWhole) {
    host->Show(layer);
    layer.FillBox(0, 0, 767, 575, RGB(90, 10, 10));
    host->Present(layer);
    const Surface picture = Noise(768, 576, 8);  // nothing on its list
    Surface copy(picture);
    copy.Left = layer.Left, copy.Top = layer.Top;
    copy.SetPixelRGB(5, 5, 0);
    host->Present(copy);
    layer = copy;  // what Differs compares with
    EXPECT_EQ(Differs(), "");
}

TEST_F(Window, TheProgramFolderIsTheTestsOwnWithoutASeparatorAtItsEnd) {
    char buf[4096];
    const ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    ASSERT_GT(n, 0);
    std::string exe(buf, static_cast<size_t>(n));
    EXPECT_EQ(host->ProgramFolder(), exe.substr(0, exe.rfind('/')));
}

}  // namespace
