#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <functional>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>
#include <unistd.h>

#include "kit_fixture.h"
#include "../platform/headless.h"
#include "../platform/text.h"

namespace fs = std::filesystem;
using plat::HeadlessHost;
using plat::InputEvent;

namespace {

struct Kit : ::testing::Test {
    HeadlessHost host{"/opt/game"};
    TestForm form{host};
    void SetUp() override { form.Form_Load(); }
    plat::Surface& L(int n) { return form.Display[n]; }
};

// Where the pixel at (x, y) of a layer came from in the sheet, as (sx, sy).
std::pair<int, int> From(const plat::Surface& s, int x, int y) {
    const uint32_t p = s.PixelRGB(x, y);
    return {SheetX(p), SheetY(p)};
}

}  // namespace

TEST_F(Kit, TilesAndHalfTilesComeFromTheirSheetCorners) {
    struct Case { bool half; int x, y, n; int px, py, sx, sy; };
    const Case cases[] = {
        {false, 23, 17, 35, 736, 544, 160, 160},  // bottom-right Cell, last Tile
        {false, 0, 0, 7, 0, 0, 32, 32},
        {false, 5, 2, 28, 160, 64, 128, 128},
        {true, 47, 35, 143, 752, 560, 176, 176},  // bottom-right HalfCell, last HalfTile
        {true, 1, 0, 5, 16, 0, 80, 0},
        {true, 0, 1, 14, 0, 16, 32, 16},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.half ? "PutChipL " : "PutChip ") << c.n);
        const int size = c.half ? 16 : 32;
        if (c.half) form.PutChipL(1, c.x, c.y, c.n); else form.PutChip(1, c.x, c.y, c.n);
        EXPECT_EQ(form.pixelX, c.px);
        EXPECT_EQ(form.pixelY, c.py);
        EXPECT_EQ(From(L(1), c.px, c.py), std::make_pair(c.sx, c.sy));
        EXPECT_EQ(From(L(1), c.px + size - 1, c.py + size - 1), std::make_pair(c.sx + size - 1, c.sy + size - 1));
    }
    // The last Cell ends exactly at the layer's edge.
    EXPECT_EQ(From(L(1), 767, 575), std::make_pair(191, 191));
}

TEST_F(Kit, DodaiFillsEveryCellOfTheBackgroundWithTheBaseTile) {
    form.Dodai();
    EXPECT_EQ(form.i, 24);
    EXPECT_EQ(form.j, 18);
    for (int cy = 0; cy < 18; ++cy)
        for (int cx = 0; cx < 24; ++cx) {
            ASSERT_EQ(From(L(2), cx * 32, cy * 32), std::make_pair(128, 128));
            ASSERT_EQ(From(L(2), cx * 32 + 31, cy * 32 + 31), std::make_pair(159, 159));
        }
    EXPECT_EQ(L(1).PixelRGB(0, 0), 0u) << "only the background layer is filled";
}

TEST_F(Kit, MakeWakuDrawsEdgesThenCorners) {
    // Corners one apart: both edge loops are empty, only the four corners appear.
    form.MakeWaku(1, 3, 4, 4, 5);
    EXPECT_EQ(From(L(1), 48, 64), std::make_pair(32, 0));    // HalfTile 2
    EXPECT_EQ(From(L(1), 64, 64), std::make_pair(48, 0));    // HalfTile 3
    EXPECT_EQ(From(L(1), 48, 80), std::make_pair(32, 16));   // HalfTile 14
    EXPECT_EQ(From(L(1), 64, 80), std::make_pair(48, 16));   // HalfTile 15
    EXPECT_EQ(L(1).PixelRGB(47, 64), 0u);
    EXPECT_EQ(L(1).PixelRGB(80, 80), 0u);

    // A wider frame: edges between the corners, inside untouched.
    form.MakeWaku(2, 0, 0, 5, 3);
    EXPECT_EQ(From(L(2), 16, 0), std::make_pair(80, 0));    // top edge, HalfTile 5
    EXPECT_EQ(From(L(2), 64, 48), std::make_pair(80, 0));   // bottom edge
    EXPECT_EQ(From(L(2), 0, 16), std::make_pair(64, 0));    // left edge, HalfTile 4
    EXPECT_EQ(From(L(2), 80, 32), std::make_pair(64, 0));   // right edge
    EXPECT_EQ(From(L(2), 80, 48), std::make_pair(48, 16));  // bottom-right corner
    EXPECT_EQ(L(2).PixelRGB(16, 16), 0u);
    EXPECT_EQ(L(2).PixelRGB(79, 47), 0u);
}

TEST_F(Kit, MakeWakuRefusesCornersBeyondItsCountersAndEnds) {
    const struct { int x, y, xx, yy; } cases[] = {
        {0, 0, 32768, 5}, {0, 0, 5, 40000}, {40000, 0, 40001, 5}, {-40000, 0, 5, 5}, {0, -32769, 5, 5},
        {32760, 32760, 32767, 32767},  // the last corners the counters reach: drawn off the layer
    };
    for (auto c : cases) {
        form.MakeWaku(1, c.x, c.y, c.xx, c.yy);
        EXPECT_TRUE(std::all_of(L(1).Pixels().begin(), L(1).Pixels().end(), [](uint32_t p) { return p == 0; }))
            << c.x << "," << c.y << " " << c.xx << "," << c.yy;
    }
}

TEST_F(Kit, MojiSyuSetsBoldOnlyForOne) {
    const struct { int bold; bool expected; } cases[] = {{1, true}, {0, false}, {2, false}, {-1, false}};
    for (auto c : cases) {
        form.MojiSyu(0, 12, c.bold, plat::RGB(1, 2, 3));
        EXPECT_EQ(L(0).FontBold, c.expected) << c.bold;
    }
    L(0).FontItalic = true;
    form.MojiSyu(0, 10.5, 1, plat::QBColor(15));
    EXPECT_FLOAT_EQ(L(0).FontSize, 10.5f);
    EXPECT_EQ(L(0).ForeColor, plat::RGB(255, 255, 255));
    EXPECT_TRUE(L(0).FontItalic) << "italic is left as it was";
}

namespace {
// The leftmost and rightmost columns with ink in a band of rows.
std::pair<int, int> InkColumns(const plat::Surface& s, int y0, int y1) {
    int lo = s.Width(), hi = -1;
    for (int y = y0; y <= y1; ++y)
        for (int x = 0; x < s.Width(); ++x)
            if (s.PixelRGB(x, y) != 0) { lo = std::min(lo, x); hi = std::max(hi, x); }
    return {lo, hi};
}
}  // namespace

TEST_F(Kit, LocatePutsANumberOneBlankToTheRightOfItsText) {
    form.MojiSyu(1, 12, 0, plat::QBColor(15));
    form.Locate(1, 100, 10, std::string("7"));
    form.Locate(1, 100, 60, 7);
    form.Locate(1, 100, 110, -7);
    form.Locate(1, 100, 160, 7.0);
    const auto text = InkColumns(L(1), 10, 40), number = InkColumns(L(1), 60, 90);
    const auto negative = InkColumns(L(1), 110, 140), real = InkColumns(L(1), 160, 190);
    ASSERT_GE(text.second, text.first) << "no text was drawn: is a font installed?";
    const int blank = plat::TextWidth(L(1), " ");
    EXPECT_GT(blank, 0);
    EXPECT_EQ(number.first - text.first, blank);
    EXPECT_EQ(real, number);
    EXPECT_LT(negative.first, number.first) << "the minus sign stands where the blank was";
    // The text position moves to the next line.
    EXPECT_EQ(L(1).CurrentX, 0.0f);
    EXPECT_GT(L(1).CurrentY, 160.0f);
}

TEST_F(Kit, TextIsDrawnWithoutABackground) {
    L(1).FillBox(0, 0, 200, 50, plat::RGB(0, 0, 255));
    form.MojiSyu(1, 12, 1, plat::QBColor(15));
    form.Locate(1, 10, 10, std::string("Danger！"));
    int blue = 0, white = 0;
    for (int y = 0; y <= 50; ++y)
        for (int x = 0; x <= 200; ++x) {
            const uint32_t p = L(1).PixelRGB(x, y);
            blue += p == 0x0000FF;
            white += p == 0xFFFFFF;
        }
    EXPECT_GT(white, 20);
    EXPECT_GT(blue, 201 * 51 / 2);
}

TEST_F(Kit, TunagiTwoOneThenOneZeroShowsTheBackgroundExactly) {
    form.Dodai();
    form.MakeWaku(2, 0, 0, 47, 35);
    L(1).FillBox(10, 10, 300, 300, plat::RGB(9, 9, 9));
    L(0).FillBox(0, 0, 767, 575, plat::RGB(1, 1, 1));
    form.Tunagi(2, 1);
    form.Tunagi(1, 0);
    EXPECT_EQ(L(0).Pixels(), L(2).Pixels());
}

TEST(Layers, AllThreeAreBlackBeforeTheFirstTick) {
    HeadlessHost host;
    TestForm form(host);
    bool ticked = false;
    form.t1 = [&] { ticked = true; form.Timer1.SetInterval(0); };
    form.Form_Load();
    EXPECT_FALSE(ticked);
    for (auto& layer : form.Display) {
        EXPECT_EQ(layer.Width(), 768);
        EXPECT_EQ(layer.Height(), 576);
        EXPECT_EQ(layer.Left, 16);
        EXPECT_EQ(layer.Top, 12);
        EXPECT_TRUE(std::all_of(layer.Pixels().begin(), layer.Pixels().end(), [](uint32_t p) { return p == 0; }));
    }
    EXPECT_EQ(form.Timer1.Interval(), 1);
    host.RunUntil(host.now() + 5);
    form.Run();
    EXPECT_TRUE(ticked);
}

TEST(BlockCopy, RasterOpsAndClipping) {
    plat::Surface dst(8, 8), src(4, 4);
    dst.SetBackColor(plat::RGB(0xF0, 0x0F, 0x33));
    src.SetBackColor(plat::RGB(0x0F, 0x0F, 0x11));
    plat::BitBlt(dst, 0, 0, 1, 1, src, 0, 0, plat::SRCPAINT);
    plat::BitBlt(dst, 1, 0, 1, 1, src, 0, 0, plat::SRCAND);
    plat::BitBlt(dst, 2, 0, 1, 1, src, 0, 0, plat::SRCCOPY);
    EXPECT_EQ(dst.PixelRGB(0, 0), 0xFF0F33u);
    EXPECT_EQ(dst.PixelRGB(1, 0), 0x000F11u);
    EXPECT_EQ(dst.PixelRGB(2, 0), 0x0F0F11u);

    // A copy that falls outside the destination leaves no mark and does not crash.
    const auto before = dst.Pixels();
    plat::BitBlt(dst, 8, 0, 4, 4, src, 0, 0, plat::SRCCOPY);
    plat::BitBlt(dst, -4, -4, 4, 4, src, 0, 0, plat::SRCCOPY);
    plat::BitBlt(dst, 0, 0, 4, 4, src, 4, 0, plat::SRCCOPY);
    EXPECT_EQ(dst.Pixels(), before);
    // A copy half outside lands its inside part only.
    plat::BitBlt(dst, 6, 6, 4, 4, src, 0, 0, plat::SRCCOPY);
    EXPECT_EQ(dst.PixelRGB(7, 7), 0x0F0F11u);
    EXPECT_EQ(dst.PixelRGB(5, 5), 0xF00F33u);
}

TEST(Drawing, BoxesIncludeBothCornersAndPensWiden) {
    plat::Surface s(40, 40);
    s.FillBox(10, 10, 5, 5, plat::QBColor(15));  // corners in any order
    EXPECT_EQ(s.PixelRGB(5, 5), 0xFFFFFFu);
    EXPECT_EQ(s.PixelRGB(10, 10), 0xFFFFFFu);
    EXPECT_EQ(s.PixelRGB(11, 10), 0u);

    plat::Surface t(40, 40);
    t.DrawWidth = 3;
    t.Box(10, 10, 30, 30, plat::QBColor(12));
    EXPECT_EQ(t.PixelRGB(9, 20), 0xFF0000u);
    EXPECT_EQ(t.PixelRGB(11, 20), 0xFF0000u);
    EXPECT_EQ(t.PixelRGB(12, 20), 0u);
    EXPECT_EQ(t.PixelRGB(20, 20), 0u);

    plat::Surface c(40, 40);
    c.Circle(20, 20, 16, plat::QBColor(7));
    EXPECT_EQ(c.PixelRGB(36, 20), 0xC0C0C0u);
    EXPECT_EQ(c.PixelRGB(20, 4), 0xC0C0C0u);
    EXPECT_EQ(c.PixelRGB(20, 20), 0u);
}

// A ring wholly on the surface is drawn in one walk; one that meets an edge,
// octant by octant as far as the surface reaches. Both give the same pixels
// wherever both can be seen.
TEST(Drawing, ARingOnTheSurfaceIsTheRingThatMeetsAnEdge) {
    for (int r = 0; r <= 40; ++r) {
        SCOPED_TRACE("radius " + std::to_string(r));
        const int side = 2 * r + 1;
        plat::Surface whole(side, side);
        whole.Circle(r, r, r, 15);
        // One row or column short on each side in turn.
        const struct {
            int w, h, cx, cy, dx, dy;
        } cut[] = {{side, side - 1, r, r, 0, 0}, {side, side - 1, r, r - 1, 0, 1},
                   {side - 1, side, r, r, 0, 0}, {side - 1, side, r - 1, r, 1, 0}};
        for (const auto& c : cut) {
            if (c.w <= 0 || c.h <= 0) continue;
            plat::Surface part(c.w, c.h);
            part.Circle(c.cx, c.cy, r, 15);
            for (int y = 0; y < c.h; ++y)
                for (int x = 0; x < c.w; ++x)
                    ASSERT_EQ(part.PixelRGB(x, y), whole.PixelRGB(x + c.dx, y + c.dy)) << x << "," << y;
        }
    }
}

namespace {
// The pixels with the colour drawn: how many, and the box around them.
struct Marks {
    int count = 0, x1 = INT_MAX, y1 = INT_MAX, x2 = INT_MIN, y2 = INT_MIN;
    bool operator==(const Marks& o) const {
        return count == o.count && (count == 0 || (x1 == o.x1 && y1 == o.y1 && x2 == o.x2 && y2 == o.y2));
    }
};
Marks MarksOf(const plat::Surface& s) {
    Marks m;
    for (int y = 0; y < s.Height(); ++y)
        for (int x = 0; x < s.Width(); ++x)
            if (s.PixelRGB(x, y) != 0) {
                ++m.count;
                m.x1 = std::min(m.x1, x), m.y1 = std::min(m.y1, y);
                m.x2 = std::max(m.x2, x), m.y2 = std::max(m.y2, y);
            }
    return m;
}
std::ostream& operator<<(std::ostream& o, const Marks& m) {
    return o << m.count << " pixels in (" << m.x1 << "," << m.y1 << ")-(" << m.x2 << "," << m.y2 << ")";
}
}  // namespace

TEST(Drawing, OnlyWhatLiesOnTheLayerIsDrawnWhateverTheCoordinates) {
    const int lo = INT_MIN, hi = INT_MAX;
    const struct Case {
        const char* what;
        int pen;
        std::function<void(plat::Surface&)> draw;
        Marks expected;
    } cases[] = {
        {"line across the left edge", 1, [](plat::Surface& s) { s.Line(-5, 10, 5, 10, 15); }, {6, 0, 10, 5, 10}},
        {"line across the right edge", 1, [](plat::Surface& s) { s.Line(760, 10, 800, 10, 15); }, {8, 760, 10, 767, 10}},
        {"box across the left edge", 1, [](plat::Surface& s) { s.Box(-10, 10, 20, 20, 15); }, {51, 0, 10, 20, 20}},
        {"filled box right of the layer", 1, [](plat::Surface& s) { s.FillBox(800, 10, 900, 20, 15); }, {}},
        {"filled box left of the layer", 1, [](plat::Surface& s) { s.FillBox(-20, 10, -2, 20, 15); }, {}},
        {"slanted line left of the layer", 1, [](plat::Surface& s) { s.Line(-100, 5, -2, 300, 15); }, {}},
        {"wide box above the layer", 5, [](plat::Surface& s) { s.Box(-50, -50, 900, -4, 15); }, {}},
        {"wide box across the corner", 5, [](plat::Surface& s) { s.Box(-50, -50, 1, 1, 15); }, {16, 0, 0, 3, 3}},
        {"circle left of the layer", 1, [](plat::Surface& s) { s.Circle(-1000, 300, 900, 15); }, {}},
        {"wide circle left of the layer", 9, [](plat::Surface& s) { s.Circle(-1000, 300, 990, 15); }, {}},
        {"line of extreme ends", 1, [=](plat::Surface& s) { s.Line(lo, lo, hi, lo, 15); }, {}},
        {"line of extreme ends across a row", 1, [=](plat::Surface& s) { s.Line(lo, 100, hi, 100, 15); },
         {768, 0, 100, 767, 100}},
        {"wide box of extreme corners", 3, [=](plat::Surface& s) { s.Box(lo, lo, hi, lo + 5, 15); }, {}},
        {"circle of extreme centre and radius", 1, [=](plat::Surface& s) { s.Circle(hi, hi, hi, 15); }, {}},
        {"huge circle with a huge pen", 1000000, [=](plat::Surface& s) { s.Circle(hi, lo, hi, 15); }, {}},
        {"layer inside a huge pen's ring", hi, [=](plat::Surface& s) { s.Circle(384, 288, hi, 15); }, {}},
        {"layer under a huge pen's ring", hi, [](plat::Surface& s) { s.Circle(384, 288, 10, 15); },
         {768 * 576, 0, 0, 767, 575}},
        {"dot of a huge pen", hi, [](plat::Surface& s) { s.Line(5, 5, 5, 5, 15); }, {768 * 576, 0, 0, 767, 575}},
    };
    for (const Case& c : cases) {
        plat::Surface s(768, 576);
        s.DrawWidth = c.pen;
        c.draw(s);
        EXPECT_EQ(MarksOf(s), c.expected) << c.what;
    }
}

TEST(Drawing, LinesFollowTheSteppingWalkAlsoWhereTheyLeaveTheLayer) {
    // The reference: walk from the first end, one pen dot per point.
    const auto walk = [](plat::Surface& s, int x1, int y1, int x2, int y2) {
        const int dx = std::abs(x2 - x1), sx = x1 < x2 ? 1 : -1;
        const int dy = -std::abs(y2 - y1), sy = y1 < y2 ? 1 : -1;
        for (int err = dx + dy;;) {
            s.Dot(x1, y1, 15);
            if (x1 == x2 && y1 == y2) break;
            const int e2 = 2 * err;
            if (e2 >= dy) err += dy, x1 += sx;
            if (e2 <= dx) err += dx, y1 += sy;
        }
    };
    uint32_t seed = 7;
    const auto next = [&](int range) {
        seed = seed * 1103515245u + 12345u;
        return static_cast<int>((seed >> 8) % (2 * range + 1)) - range;
    };
    for (int pen : {1, 2, 3}) {
        for (int n = 0; n < 300; ++n) {
            const int x1 = next(60), y1 = next(40), x2 = next(60), y2 = next(40);
            // The reference draws on a larger surface, clipped afterwards to the layer.
            plat::Surface s(40, 30), big(200, 160);
            s.DrawWidth = big.DrawWidth = pen;
            s.Line(x1, y1, x2, y2, 15);
            walk(big, x1 + 80, y1 + 65, x2 + 80, y2 + 65);
            for (int y = 0; y < 30; ++y)
                for (int x = 0; x < 40; ++x)
                    ASSERT_EQ(s.PixelRGB(x, y), big.PixelRGB(x + 80, y + 65))
                        << "pen " << pen << " line (" << x1 << "," << y1 << ")-(" << x2 << "," << y2 << ") at " << x
                        << "," << y;
        }
    }
}

// ------------------------------------------------------------ the loop

TEST(Loop, AClickEndsTheProgramAndTheMarginDoesNothing) {
    HeadlessHost host;
    TestForm form(host);
    host.RunUntil(host.now() + 10);
    form.Run();
    host.Click(5, 5);      // black margin
    host.Click(799, 300);  // right margin
    host.RunUntil(host.now() + 10);
    EXPECT_FALSE(form.Run());
    host.Click(16, 12);  // the layer's top-left pixel
    host.RunUntil(host.now() + 10);
    EXPECT_TRUE(form.Run());
    EXPECT_EQ(host.Log().lines.back(), "mci: close bgm");
}

TEST(Loop, AClickDuringAWaitEndsTheProgramOnlyAfterTheHandler) {
    HeadlessHost host;
    TestForm form(host);
    std::vector<std::string> seen;
    form.t1 = [&] {
        form.Timer1.SetInterval(0);
        seen.push_back("wait");
        form.Ueito(200);
        seen.push_back("after wait");
    };
    form.t2 = [&] { seen.push_back("tick"); };
    form.onLoad = [&] { form.Timer2.SetInterval(50); };
    host.InjectAt(host.now() + 100, {InputEvent::Click, 0, 400, 300});
    host.RunUntil(host.now() + 1000);
    EXPECT_TRUE(form.Run());
    EXPECT_EQ(seen, (std::vector<std::string>{"wait", "after wait"}));
}

TEST(Loop, InputBeforeOverdueTimersAndMissedTicksAreNotMadeUp) {
    HeadlessHost host;
    TestForm form(host);
    std::vector<std::string> seen;
    int ticks = 0;
    form.onLoad = [&] { form.Timer2.SetInterval(100); };
    form.t1 = [&] {
        form.Timer1.SetInterval(0);
        // A long handler: 350 ms, three periods of Timer2, with two keys arriving.
        host.InjectAt(host.now() + 10, {InputEvent::Key, plat::VK_UP, 0, 0});
        host.InjectAt(host.now() + 20, {InputEvent::Key, plat::VK_LEFT, 0, 0});
        form.Ueito(350);
        seen.push_back("long");
    };
    form.t2 = [&] { ++ticks; seen.push_back("tick"); };
    form.onKey = [&](int k) { seen.push_back("key" + std::to_string(k)); };
    const uint32_t start = host.now();
    host.RunUntil(start + 360);
    form.Run();
    EXPECT_EQ(seen, (std::vector<std::string>{"long", "key38", "key37", "tick"}));
    host.RunUntil(start + 1000);
    form.Run();
    // After the one late tick, the timer keeps its period: no burst of catch-up ticks.
    EXPECT_GE(ticks, 6);
    EXPECT_LE(ticks, 8);
}

TEST(Loop, AKeyDuringAHandlerRunsBeforeATimerDueAtTheSameTime) {
    HeadlessHost host;
    TestForm form(host);
    std::vector<std::string> seen;
    form.onLoad = [&] {
        form.Timer2.SetInterval(100);
        form.Timer3.SetInterval(100);
    };
    form.t1 = [&] { form.Timer1.SetInterval(0); };
    form.t2 = [&] {
        seen.push_back("timer2");
        if (seen.size() == 1) host.Key(plat::VK_SPACE);  // arrives inside the handler, no wait after it
    };
    form.t3 = [&] { seen.push_back("timer3"); };
    form.onKey = [&](int k) { seen.push_back("key" + std::to_string(k)); };
    host.RunUntil(host.now() + 150);
    form.Run();
    EXPECT_EQ(seen, (std::vector<std::string>{"timer2", "key32", "timer3"}));
}

TEST(Loop, SettingAPeriodRestartsTheCountAndZeroStops) {
    HeadlessHost host;
    TestForm form(host);
    std::vector<uint32_t> at;
    form.onLoad = [&] { form.Timer2.SetInterval(100); };
    form.t1 = [&] { form.Timer1.SetInterval(0); };
    form.t2 = [&] {
        at.push_back(host.now());
        if (at.size() == 2) form.Timer2.SetInterval(0);
    };
    form.onKey = [&](int) { form.Timer2.SetInterval(100); };
    const uint32_t t0 = host.now();
    host.InjectAt(t0 + 150, {InputEvent::Key, plat::VK_DOWN, 0, 0});
    host.RunUntil(t0 + 1000);
    form.Run();
    EXPECT_EQ(at, (std::vector<uint32_t>{t0 + 100, t0 + 250}));
}

// ------------------------------------------------------------ waiting

TEST(Ueito, ReturnsAtTheFirstReadingPastTheWait) {
    const struct { uint32_t start; int ms; } cases[] = {
        {1000, 0}, {1000, 30}, {0x7FFFFFF0u, 100}, {0xFFFFFFF0u, 100},  // across both wraps
    };
    // Each nap is told the first reading past the wait, so the window can sleep until then.
    struct NapHost : HeadlessHost {
        using HeadlessHost::HeadlessHost;
        std::vector<uint32_t> untils;
        void Nap(const plat::Surface& v, std::deque<plat::InputEvent>& q, uint32_t until) override {
            untils.push_back(until);
            HeadlessHost::Nap(v, q, until);
        }
    };
    for (auto c : cases) {
        NapHost host(".", c.start);
        TestForm form(host);
        form.Ueito(c.ms);
        EXPECT_EQ(host.now() - c.start, static_cast<uint32_t>(c.ms + 1)) << c.start << " " << c.ms;
        for (uint32_t until : host.untils) ASSERT_EQ(until, c.start + static_cast<uint32_t>(c.ms) + 1) << c.start;
    }
}

// ------------------------------------------------------ music and sound

namespace {
struct Folder {
    fs::path root;
    explicit Folder(const std::string& name) {
        root = fs::temp_directory_path() / (name + " " + std::to_string(getpid()));
        fs::remove_all(root);
        fs::create_directories(root / "bg");
        fs::create_directories(root / "se");
    }
    ~Folder() { fs::remove_all(root); }
    void Put(const std::string& rel, const std::string& bytes) const {
        std::ofstream(root / rel, std::ios::binary) << bytes;
    }
};
const std::string kMidi = std::string("MThd\0\0\0\6\0\0\0\1\0\x60", 14) + std::string("MTrk\0\0\0\4\0\xFF\x2F\0", 12);
}  // namespace

TEST(Music, OpenPlayLoopAndClose) {
    Folder dir("tobble7 kit test folder");  // blanks in the program folder
    dir.Put("bg/bg1.mid", kMidi);
    HeadlessHost host(dir.root.string());
    TestForm form(host);
    form.Form_Load();
    auto& log = host.Log().lines;

    form.Mjyoutai();  // nothing open: the status fails and nothing is sent after it
    EXPECT_EQ(log, (std::vector<std::string>{"mci: status bgm mode"}));
    log.clear();

    form.OpenM(1);
    EXPECT_EQ(log.back(), "mci: open " + (dir.root / "bg/bg1.mid").string() + " alias bgm");
    EXPECT_TRUE(host.Music().IsOpen());
    form.PlayM(0);
    form.PlayM(3);  // sends nothing
    EXPECT_EQ(log.size(), 2u);

    log.clear();
    form.Mjyoutai();  // playing: nothing more
    EXPECT_EQ(log, (std::vector<std::string>{"mci: status bgm mode"}));

    host.music().EndPiece();
    log.clear();
    form.Mjyoutai();  // ended: back to the start and play again
    EXPECT_EQ(log, (std::vector<std::string>{"mci: status bgm mode", "mci: seek bgm to start", "mci: play bgm"}));
    EXPECT_TRUE(host.music().Playing());

    form.PlayM(1);
    form.CloseM();
    EXPECT_FALSE(host.Music().IsOpen());
}

TEST(Music, AMissingFileLeavesTheProgramSilent) {
    Folder dir("tobble7-kit-missing");
    HeadlessHost host(dir.root.string());
    TestForm form(host);
    form.Form_Load();
    form.OpenM(1);
    EXPECT_EQ(host.Log().lines.back(), "mci: open  alias bgm") << "the short form of a missing file is empty";
    form.PlayM(0);
    form.Mjyoutai();
    EXPECT_FALSE(host.Music().IsOpen());
    EXPECT_FALSE(host.music().Playing());
}

TEST(Sound, PlayNamesTheFileWithoutExtensionAndStopHasNoName) {
    HeadlessHost host("/opt/game");
    TestForm form(host);
    form.Form_Load();
    form.Play(3);
    form.Play(10);
    EXPECT_EQ(host.sound().last(), "/opt/game/se/se10.wav") << "a new sound cuts off the one playing";
    form.apiResult = form.SoundStop();
    EXPECT_EQ(host.sound().last(), "");
}

TEST(AppPath, EndsInExactlyOneSeparator) {
    const struct { const char* folder; const char* expected; } cases[] = {
        {"/", "/"}, {"/opt/game", "/opt/game/"}, {"/opt/my game", "/opt/my game/"}};
    for (auto c : cases) {
        HeadlessHost host(c.folder);
        TestForm form(host);
        form.Form_Load();
        EXPECT_EQ(form.appPath, c.expected);
    }
}
