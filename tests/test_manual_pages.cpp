// The manual's pages: explanation, character, prologue and epilogue pages.
#include <gtest/gtest.h>

#include <algorithm>

#include "manual/texts.h"
#include "manual_fixture.h"

using manualtest::Region;
using Run1 = manualtest::ManualRun<>;

namespace {

const uint32_t kCream = 0xFFF0BF;

// Where the text of one row put ink: the number of pixels that differ from
// `ground` (a colour, or the layer given) and the leftmost such column.
struct Ink {
    int count = 0;
    int left = 10000;
};
Ink InkIn(const plat::Surface& s, int x0, int x1, int y0, int y1, const plat::Surface* groundLayer, uint32_t ground) {
    Ink ink;
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            const uint32_t g = groundLayer ? groundLayer->PixelRGB(x, y) : ground;
            if (s.PixelRGB(x, y) != g) {
                ++ink.count;
                ink.left = std::min(ink.left, x);
            }
        }
    return ink;
}

// Text height in pixels for a size in points.
int Em(int size) { return size * 96 / 72; }

// Whether the rectangle of `shown` holds exactly `text` at (x, y) in the given
// style on a plain `ground`: the same text drawn on a copy must change nothing.
bool ShowsText(const plat::Surface& shown, int x0, int y0, int x1, int y1, uint32_t ground, int x, int y,
               float size, bool bold, uint32_t colour, const std::string& text) {
    plat::Surface ref = shown;
    ref.FillBox(x0, y0, x1, y1, plat::RGB(ground >> 16, (ground >> 8) & 255, ground & 255));
    ref.FontSize = size;
    ref.FontBold = bold;
    ref.FontItalic = false;
    ref.ForeColor = plat::RGB(colour >> 16, (colour >> 8) & 255, colour & 255);
    ref.CurrentX = static_cast<float>(x);
    ref.CurrentY = static_cast<float>(y);
    ref.Print(text);
    return Region(ref, x0, y0, x1 - x0 + 1, y1 - y0 + 1) == Region(shown, x0, y0, x1 - x0 + 1, y1 - y0 + 1);
}

struct Started {
    Run1 r{manualtest::kClearLine};
    Started() { r.Start(); }
    manual::Form1& f() { return *r.form; }
    void Show(int item) {
        f().MenuNo = static_cast<uint8_t>(item);
        f().Hantei();
    }
};

}  // namespace

TEST(ManualPages, AnyPageAfterAnyOtherIsTheSameWholePage) {
    Started s;
    auto& f = s.f();
    std::vector<std::vector<uint32_t>> fresh(18);
    for (int b = 1; b <= 17; ++b) {
        s.Show(b);
        fresh[b] = f.Display[0].Pixels();
        EXPECT_EQ(f.Display[1].Pixels(), fresh[b]) << "shown as composed, item " << b;
        EXPECT_FALSE(f.Display[1].FontItalic) << "item " << b;
    }
    for (int a = 1; a <= 17; ++a)
        for (int b = 1; b <= 17; ++b) {
            s.Show(a);
            s.Show(b);
            ASSERT_EQ(f.Display[0].Pixels(), fresh[b]) << "item " << b << " after item " << a;
        }
}

TEST(ManualPages, ExplanationLinesStandAtTheirRowsAndBlankEntriesKeepTheirGap) {
    struct Row {
        int item, n, size, x, y0, dy;
        std::vector<int> blank;
    };
    const Row rows[] = {
        {1, 15, 11, 300, 70, 30, {3, 8, 11}},
        {2, 15, 11, 300, 80, 30, {2, 6, 11}},
        {3, 6, 11, 310, 375, 30, {5}},
        {4, 6, 11, 310, 360, 30, {}},
        {5, 6, 11, 310, 375, 30, {5}},
        {6, 6, 11, 310, 360, 30, {}},
        {7, 6, 11, 300, 365, 30, {}},
        {8, 19, 10, 290, 56, 25, {4, 8, 13}},
        {9, 24, 10, 300, 40, 21, {3, 8, 12, 16, 19}},
        {10, 11, 10, 290, 56, 25, {2, 6}},
        {11, 20, 10, 290, 42, 25, {2, 5, 9, 14}},
        {12, 10, 11, 300, 70, 45, {}},
    };
    Started s;
    auto& f = s.f();
    for (const Row& row : rows) {
        s.Show(row.item);
        SCOPED_TRACE(testing::Message() << "item " << row.item);
        EXPECT_EQ(manual::texts::Pages[row.item].count, row.n);
        EXPECT_EQ(f.i, row.n);
        EXPECT_TRUE(f.Display[1].FontBold);
        EXPECT_FLOAT_EQ(f.Display[1].FontSize, static_cast<float>(row.size));
        for (int k = 0; k < row.n; ++k) {
            const int y = row.y0 + k * row.dy;
            const Ink ink = InkIn(f.Display[0], row.x - 2, 751, y, y + std::min(row.dy, Em(row.size) + 3) - 1,
                                  &f.Display[2], 0);
            const bool blank = std::count(row.blank.begin(), row.blank.end(), k) > 0;
            if (blank) {
                EXPECT_EQ(ink.count, 0) << "blank entry " << k;
            } else {
                EXPECT_GT(ink.count, 0) << "entry " << k;
                EXPECT_GE(ink.left, row.x) << "entry " << k;
                EXPECT_LE(ink.left, row.x + 16) << "entry " << k;
            }
        }
    }
}

TEST(ManualPages, ScreenPictureAndHighlightFramesWhiteBetweenTwoReds) {
    struct Row {
        int item;
        bool boxed;
        int x1, y1, x2, y2;
    };
    const Row rows[] = {
        {3, false, 0, 0, 0, 0},
        {4, true, 317, 55, 398, 205},
        {5, true, 604, 55, 685, 205},
        {6, true, 325, 254, 674, 323},
        {7, true, 405, 152, 594, 260},
    };
    Started s;
    auto& f = s.f();
    ASSERT_EQ(f.GamenP.Width(), 400);
    ASSERT_EQ(f.GamenP.Height(), 300);
    // What the picture pages show before any frame: the picture over the menu screen.
    plat::Surface picture = f.Display[2];
    plat::BitBlt(picture, 300, 40, 400, 300, f.GamenP, 0, 0, plat::SRCCOPY);
    const uint32_t red = 0xFF0000, white = 0xFFFFFF;
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "item " << row.item);
        s.Show(row.item);
        const plat::Surface& v = f.Display[0];
        int changed = 0;
        for (int y = 40; y < 340; ++y)
            for (int x = 300; x < 700; ++x) {
                const bool ring = row.boxed && x >= row.x1 - 2 && x <= row.x2 + 3 && y >= row.y1 - 2 &&
                                  y <= row.y2 + 3 &&
                                  !(x > row.x1 + 3 && x < row.x2 - 2 && y > row.y1 + 3 && y < row.y2 - 2);
                if (!ring && v.PixelRGB(x, y) != picture.PixelRGB(x, y)) ++changed;
            }
        EXPECT_EQ(changed, 0) << "the picture shows unchanged outside the frames";
        if (!row.boxed) continue;
        // Across the left edge and across the top edge, from outside in.
        const int my = (row.y1 + row.y2) / 2, mx = (row.x1 + row.x2) / 2;
        const uint32_t expected[] = {red, red, white, white, red, red};
        for (int k = 0; k < 6; ++k) {
            EXPECT_EQ(v.PixelRGB(row.x1 - 2 + k, my), expected[k]) << "left edge " << k;
            EXPECT_EQ(v.PixelRGB(mx, row.y1 - 2 + k), expected[k]) << "top edge " << k;
            EXPECT_EQ(v.PixelRGB(row.x2 - 2 + k, my), expected[5 - k]) << "right edge " << k;
            EXPECT_EQ(v.PixelRGB(mx, row.y2 - 2 + k), expected[5 - k]) << "bottom edge " << k;
        }
        EXPECT_EQ(f.Display[1].DrawWidth, 2);
    }
}

TEST(ManualPages, CharacterCardsHoldWholePortraitsAndTheirLines) {
    struct Portrait {
        int k, w, h, x, y;
        int cx1, cy1, cx2, cy2;  // the card's frame corners, HalfCells
    };
    struct Group {
        int first, last, x, y, spacing;
    };
    struct Page {
        int item;
        std::vector<Portrait> portraits;
        std::vector<Group> groups;
    };
    const Page pages[] = {
        {13,
         {{3, 170, 207, 325, 60, 19, 2, 31, 17}, {5, 110, 107, 326, 413, 19, 24, 28, 33},
          {0, 130, 206, 580, 320, 35, 18, 45, 33}},
         {{0, 5, 518, 60, 18}, {6, 9, 555, 213, 18}, {10, 13, 324, 315, 18}}},
        {14,
         {{4, 120, 273, 580, 60, 34, 2, 45, 21}, {6, 121, 175, 356, 350, 19, 18, 30, 33}},
         {{0, 7, 355, 80, 19}, {8, 14, 555, 382, 19}}},
        {15,
         {{1, 130, 262, 340, 75, 19, 2, 30, 21}, {2, 125, 251, 570, 276, 34, 15, 45, 33}},
         {{0, 6, 520, 70, 19}, {7, 14, 365, 373, 19}}},
    };
    Started s;
    auto& f = s.f();
    for (const Page& page : pages) {
        SCOPED_TRACE(testing::Message() << "item " << page.item);
        s.Show(page.item);
        const plat::Surface& v = f.Display[0];
        EXPECT_EQ(v.PixelRGB(530, 43), 0xFFFFFFu) << "the cream panel's white outline";
        for (const Portrait& p : page.portraits) {
            const plat::Surface& pic = f.JinP[p.k];
            EXPECT_EQ(pic.Width(), p.w) << "JinP " << p.k;
            EXPECT_EQ(pic.Height(), p.h) << "JinP " << p.k;
            EXPECT_EQ(Region(v, p.x, p.y, pic.Width(), pic.Height()), pic.Pixels()) << "JinP " << p.k;
            EXPECT_GE(p.x, 16 * p.cx1 + 16);
            EXPECT_GE(p.y, 16 * p.cy1 + 16);
            EXPECT_LE(p.x + p.w - 1, 16 * p.cx2 - 1);
            EXPECT_LE(p.y + p.h - 1, 16 * p.cy2 + 15);
            // White inside the card, just past the frame.
            EXPECT_EQ(v.PixelRGB(16 * p.cx1 + 16, 16 * p.cy2 - 1), 0xFFFFFFu);
        }
        const auto& lines = manual::texts::People[page.item - 13];
        EXPECT_EQ(lines.count, page.groups.back().last + 1);
        for (const Group& g : page.groups)
            for (int k = g.first; k <= g.last; ++k) {
                const int y = g.y + g.spacing * (k - g.first);
                // The first columns of the row: the panel is plain cream there.
                const Ink ink = InkIn(v, g.x - 2, g.x + 40, y, y + Em(9) + 2, nullptr, kCream);
                EXPECT_GT(ink.count, 0) << "line " << k;
                EXPECT_GE(ink.left, g.x) << "line " << k;
                EXPECT_LE(ink.left, g.x + 14) << "line " << k;
            }
        EXPECT_FALSE(f.Display[1].FontBold);
        EXPECT_FLOAT_EQ(f.Display[1].FontSize, 9.0f);
        EXPECT_EQ(f.i, lines.count) << "the text loop's counter is left past the last line";
    }
}

TEST(ManualPages, ProloguePagesHeadingLinesBlanksAndFooters) {
    const std::vector<int> blanks[14] = {
        {1, 7, 13, 17, 18}, {11, 15, 16, 17, 18}, {3, 10, 11, 17, 18}, {2, 7, 15, 18}, {2, 9, 14, 18},
        {10, 18},           {2, 7, 14, 17, 18},   {5, 9, 14, 18},      {5, 18},        {3, 7, 11, 15, 16, 17, 18},
        {3, 7, 18},         {7, 13, 18},          {4, 8, 12, 17, 18},  {7, 10, 18},
    };
    Started s;
    auto& f = s.f();
    s.Show(16);
    for (int p = 0; p <= 13; ++p) {
        SCOPED_TRACE(testing::Message() << "page " << p);
        if (p > 0) s.r.Press(plat::VK_RIGHT);
        ASSERT_EQ(f.ProPage, p);
        const plat::Surface& v = f.Display[0];
        EXPECT_EQ(v.PixelRGB(310, 300), 0xFFFFFFu);
        EXPECT_EQ(v.PixelRGB(320, 300), kCream);
        EXPECT_GT(InkIn(v, 337, 420, 48, 48 + Em(11) + 2, nullptr, kCream).count, 0) << "heading";
        const int lines = p == 13 ? 21 : 19, dy = p == 13 ? 19 : 23;
        for (int k = 0; k < lines; ++k) {
            const int y = 90 + dy * k;
            const Ink ink = InkIn(v, 335, 736, y, y + std::min(dy, Em(10) + 1) - 1, nullptr, kCream);
            const bool blank = std::count(blanks[p].begin(), blanks[p].end(), k) > 0;
            EXPECT_EQ(ink.count == 0, blank) << "line " << k;
            EXPECT_EQ(std::string(manual::texts::ProText[p][k]).empty(), blank) << "line " << k;
        }
        EXPECT_GT(InkIn(v, 338, 736, 518, 518 + Em(10) + 2, nullptr, kCream).count, 0) << "footer";
        // The heading and the footer, word for word, in black.
        EXPECT_TRUE(ShowsText(v, 311, 32, 736, 85, kCream, 337, 48, 11, true, 0,
                              "--- " + std::to_string(p + 1) + " ---"))
            << "heading";
        const char* footer = p == 0    ? "カーソルキー右で次のページ　＞＞＞"
                             : p < 13 ? "＜＜＜左　⇔　右＞＞＞"
                                      : "＜＜＜カーソルキー左で前のページ";
        EXPECT_TRUE(ShowsText(v, 311, 516, 736, 544, kCream, 340, 518, 10, false, 0, footer)) << "footer";
        if (p < 13) {
            EXPECT_EQ(std::string(manual::texts::ProText[p][19]),
                      p == 0 ? "カーソルキー右で次のページ　＞＞＞" : "＜＜＜左　⇔　右＞＞＞");
            EXPECT_EQ(std::string(manual::texts::ProText[p][20]), "");
        }
        EXPECT_EQ(f.Display[1].ForeColor, f.BlackColour);
        EXPECT_FLOAT_EQ(f.Display[1].FontSize, 10.0f);
        EXPECT_FALSE(f.Display[1].FontBold);
        EXPECT_EQ(f.i, lines) << "the text loop's counter is left past the last line";
    }
}

TEST(ManualPages, EpilogueBoxStaysEmptyUntilTheGameIsWon) {
    for (bool cleared : {false, true}) {
        SCOPED_TRACE(cleared ? "cleared" : "not cleared");
        Run1 r(cleared ? std::optional<std::string>(manualtest::kClearLine) : std::nullopt);
        r.Start();
        for (int k = 0; k < 16; ++k) r.Press(plat::VK_DOWN);
        auto& f = *r.form;
        const plat::Surface& v = f.Display[0];
        // The frame from HalfCell (23, 11): its top-left piece.
        EXPECT_EQ(v.PixelRGB(368, 176), f.Chip.PixelRGB(32, 0));
        const Ink inside = InkIn(v, 384, 655, 192, 303, nullptr, kCream);
        for (int k = 0; k < 3; ++k) {
            const Ink row = InkIn(v, 428, 655, 210 + 30 * k, 210 + 30 * k + Em(10) + 2, nullptr, kCream);
            EXPECT_EQ(row.count > 0, cleared) << "instruction " << k;
        }
        if (!cleared) {
            EXPECT_EQ(inside.count, 0);
        }
        EXPECT_FALSE(f.Display[1].FontItalic);
        EXPECT_EQ(f.i, 3) << "the loop over the three lines runs whether or not it draws";
    }
}
