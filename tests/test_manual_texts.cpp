// The manual's fixed texts: every page keeps its shape (line counts, blank
// lines, the fixed lines) and every line fits the box it is drawn in, measured
// in the font the programs draw with.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "manual/texts.h"
#include "platform/surface.h"
#include "platform/text.h"

namespace {

using manual::texts::EpilogueLines;
using manual::texts::Pages;
using manual::texts::People;
using manual::texts::ProText;

const std::string kTeam = "tobble7 開発チーム";

bool Has(const std::string& s, const std::string& part) { return s.find(part) != std::string::npos; }
bool StartsWith(const std::string& s, const std::string& head) { return s.compare(0, head.size(), head) == 0; }

// A surface styled as a page draws its text.
plat::Surface Styled(float size, bool bold, bool italic = false) {
    plat::Surface s(8, 8);
    s.FontSize = size;
    s.FontBold = bold;
    s.FontItalic = italic;
    return s;
}

// Rows where a line's glyphs actually reach, relative to its y: the ink's top
// and bottom (-1, -1 for an empty line).
std::pair<int, int> InkRows(const plat::Surface& style, const std::string& text) {
    plat::Surface s(800, 60);
    s.SetBackColor(plat::RGB(255, 255, 255));
    s.FontSize = style.FontSize;
    s.FontBold = style.FontBold;
    s.FontItalic = style.FontItalic;
    s.ForeColor = plat::RGB(0, 0, 0);
    s.CurrentX = 0;
    s.CurrentY = 0;
    s.Print(text);
    int top = -1, bottom = -1;
    for (int y = 0; y < s.Height(); ++y)
        for (int x = 0; x < s.Width(); ++x)
            if (s.PixelRGB(x, y) != 0xFFFFFF) {
                if (top < 0) top = y;
                bottom = y;
                break;
            }
    return {top, bottom};
}

// ---- Explanation pages ---------------------------------------------------

struct ExplanationPage {
    int item, n;
    float size;
    int x;
    std::set<int> blank;
};

const std::vector<ExplanationPage> kExplanation = {
    {1, 15, 11, 300, {3, 8, 11}},  {2, 15, 11, 300, {2, 6, 11}},        {3, 6, 11, 310, {5}},
    {4, 6, 11, 310, {}},           {5, 6, 11, 310, {5}},                {6, 6, 11, 310, {}},
    {7, 6, 11, 300, {}},           {8, 19, 10, 290, {4, 8, 13}},        {9, 24, 10, 300, {3, 8, 12, 16, 19}},
    {10, 11, 10, 290, {2, 6}},     {11, 20, 10, 290, {2, 5, 9, 14}},    {12, 10, 11, 300, {}},
};

constexpr int kFrameInnerRight = 736;  // the outer frame's inner edge

TEST(ManualTexts, ExplanationPagesKeepTheirShapeAndFitInsideTheFrame) {
    for (const ExplanationPage& p : kExplanation) {
        SCOPED_TRACE("item " + std::to_string(p.item));
        const auto& page = Pages[p.item];
        ASSERT_EQ(page.count, p.n);
        const plat::Surface style = Styled(p.size, true);
        for (int i = 0; i < p.n; ++i) {
            const std::string line = page.lines[i];
            EXPECT_EQ(line.empty(), p.blank.count(i) == 1) << "line " << i;
            EXPECT_LE(p.x + plat::TextWidth(style, line), kFrameInnerRight) << "line " << i << ": " << line;
        }
    }
    // Fixed lines of the basics page.
    const auto& kihon = Pages[2];
    EXPECT_STREQ(kihon.lines[0], "●ゲームの始めかた");
    EXPECT_STREQ(kihon.lines[1], "tobble7　ファイルを実行してください。");
    EXPECT_STREQ(kihon.lines[3], "●ゲームのやめかた");
    EXPECT_STREQ(kihon.lines[7], "●操作方法");
    EXPECT_STREQ(kihon.lines[12], "●目的");
    std::vector<std::string> rest(kihon.lines + 8, kihon.lines + 11);
    EXPECT_NE(std::find(rest.begin(), rest.end(), "左右　…　キャラクター選択"), rest.end());
    EXPECT_NE(std::find(rest.begin(), rest.end(), "上下　…　前進・後退"), rest.end());
    // The greeting and the rights notice name the team.
    const auto& hello = Pages[1];
    EXPECT_TRUE(Has(hello.lines[0], kTeam) || Has(hello.lines[1], kTeam) || Has(hello.lines[2], kTeam));
    EXPECT_TRUE(Has(hello.lines[14], kTeam));
    // The ten tips open with their circled numbers.
    const char* circled[] = {"①", "②", "③", "④", "⑤", "⑥", "⑦", "⑧", "⑨", "⑩"};
    for (int i = 0; i < 10; ++i) EXPECT_TRUE(StartsWith(Pages[12].lines[i], circled[i])) << i;
}

// ---- Character pages -------------------------------------------------------

struct Box { int x1, y1, x2, y2; };  // both corners inside

struct Group { int first, last, x, y, dy; };

struct CharacterPage {
    int item;
    std::vector<Box> cards;  // frame pixels of the cards
    std::vector<Group> groups;
    std::vector<std::pair<int, const char*>> fixed;
};

// A card's frame from its half-cell corners.
Box Card(int x1, int y1, int x2, int y2) { return {16 * x1, 16 * y1, 16 * x2 + 15, 16 * y2 + 15}; }

const std::vector<CharacterPage> kCharacters = {
    {13,
     {Card(19, 2, 31, 17), Card(19, 24, 28, 33), Card(35, 18, 45, 33)},
     {{0, 5, 518, 60, 18}, {6, 9, 555, 213, 18}, {10, 13, 324, 315, 18}},
     {{0, "名前：チャムス"}, {1, "年齢：１２さい"}, {6, "名前：メグ　年齢：１１さい"}, {10, "名前：チョックン　年齢：？"}}},
    {14,
     {Card(34, 2, 45, 21), Card(19, 18, 30, 33)},
     {{0, 7, 355, 80, 19}, {8, 14, 555, 382, 19}},
     {{0, "名前：パウ"}, {1, "年齢：１６さい"}, {8, "名前：シードパール"}, {9, "年齢：１４さい"}}},
    {15,
     {Card(19, 2, 30, 21), Card(34, 15, 45, 33)},
     {{0, 6, 520, 70, 19}, {7, 14, 365, 373, 19}},
     {{0, "名前：モ・ジャルテ"}, {1, "年齢：１８さい"}, {7, "名前：ヤマモト"}, {8, "年齢：１６さい"}}},
};

const Box kCreamPanel = {315, 43, 725, 533};

bool Overlap(const Box& a, const Box& b) { return a.x1 <= b.x2 && b.x1 <= a.x2 && a.y1 <= b.y2 && b.y1 <= a.y2; }

TEST(ManualTexts, CharacterLinesStayOnTheCreamPanelAndOffTheCards) {
    const plat::Surface style = Styled(9, false);
    for (const CharacterPage& p : kCharacters) {
        SCOPED_TRACE("item " + std::to_string(p.item));
        const auto& page = People[p.item - 13];
        ASSERT_EQ(page.count, p.groups.back().last + 1);
        for (const auto& [i, text] : p.fixed) EXPECT_STREQ(page.lines[i], text);
        for (const Group& g : p.groups)
            for (int i = g.first; i <= g.last; ++i) {
                const std::string line = page.lines[i];
                SCOPED_TRACE("line " + std::to_string(i) + ": " + line);
                ASSERT_FALSE(line.empty());
                const int y = g.y + g.dy * (i - g.first);
                const auto [top, bottom] = InkRows(style, line);
                const Box ink = {g.x, y + top, g.x + plat::TextWidth(style, line) - 1, y + bottom};
                EXPECT_TRUE(ink.x1 >= kCreamPanel.x1 && ink.x2 <= kCreamPanel.x2 && ink.y1 >= kCreamPanel.y1 &&
                            ink.y2 <= kCreamPanel.y2);
                for (const Box& card : p.cards) EXPECT_FALSE(Overlap(ink, card)) << "card at " << card.x1 << "," << card.y1;
            }
    }
}

// ---- Prologue --------------------------------------------------------------

const std::vector<std::set<int>> kPrologueBlank = {
    {1, 7, 13, 17, 18}, {11, 15, 16, 17, 18}, {3, 10, 11, 17, 18}, {2, 7, 15, 18}, {2, 9, 14, 18},
    {10, 18},           {2, 7, 14, 17, 18},   {5, 9, 14, 18},      {5, 18},        {3, 7, 11, 15, 16, 17, 18},
    {3, 7, 18},         {7, 13, 18},          {4, 8, 12, 17, 18},  {7, 10, 18},
};

const std::string kOpen = "「", kClose = "」", kWideSpace = "　";

TEST(ManualTexts, ProloguePagesKeepTheirShapeAndFitTheCreamBox) {
    const plat::Surface style = Styled(10, false);
    for (int p = 0; p < 14; ++p) {
        SCOPED_TRACE("page " + std::to_string(p));
        const int text = p == 13 ? 21 : 19;
        bool open = false;  // inside a spoken line that runs on
        for (int i = 0; i < text; ++i) {
            const std::string line = ProText[p][i];
            SCOPED_TRACE("line " + std::to_string(i) + ": " + line);
            EXPECT_EQ(line.empty(), kPrologueBlank[p].count(i) == 1);
            EXPECT_LE(337 + plat::TextWidth(style, line), 730);
            // A spoken line that runs over goes on in the next entry after a
            // full-width space; nothing else starts with one.
            EXPECT_EQ(StartsWith(line, kWideSpace), open);
            for (size_t at = 0; at < line.size();) {
                if (line.compare(at, kOpen.size(), kOpen) == 0) {
                    EXPECT_FALSE(open) << "bracket opened twice";
                    open = true;
                    at += kOpen.size();
                } else if (line.compare(at, kClose.size(), kClose) == 0) {
                    EXPECT_TRUE(open) << "bracket closed twice";
                    open = false;
                    at += kClose.size();
                } else {
                    ++at;
                }
            }
        }
        EXPECT_FALSE(open) << "a spoken line runs off the page";
        if (p < 13) {
            EXPECT_STREQ(ProText[p][19], p == 0 ? "カーソルキー右で次のページ　＞＞＞" : "＜＜＜左　⇔　右＞＞＞");
            EXPECT_STREQ(ProText[p][20], "");
            EXPECT_LE(340 + plat::TextWidth(style, ProText[p][19]), 730);
        }
    }
    // The last page: one line for each of the seven before and after the blow,
    // the speaker's name directly before the words.
    const std::vector<std::string> speakers = {"メグ", "ジャルテ", "ヤマモト", "チャムス", "パウ", "チョックン", "シードパール"};
    for (int first : {0, 11}) {
        std::set<std::string> spoke;
        for (int i = first; i < first + 7; ++i) {
            const std::string line = ProText[13][i];
            for (const std::string& who : speakers)
                if (StartsWith(line, who + kOpen) && Has(line, kClose)) spoke.insert(who);
        }
        EXPECT_EQ(spoke.size(), 7u) << "lines " << first << " to " << first + 6;
    }
}

// ---- Epilogue --------------------------------------------------------------

TEST(ManualTexts, EpilogueKeepsItsPausesAndFitsBesideThePictures) {
    const std::set<int> blank = {6, 17, 22, 32, 37, 45, 53, 62, 66, 74, 78, 81, 90, 92, 93, 94, 97};
    const plat::Surface style = Styled(11, false, true);  // the show draws italic
    for (int e = 0; e < 98; ++e) {
        const std::string line = EpilogueLines[e];
        SCOPED_TRACE("entry " + std::to_string(e) + ": " + line);
        EXPECT_EQ(line.empty(), e == 0 || e % 14 == 0 || blank.count(e) == 1);
        EXPECT_LE(354 + plat::TextWidth(style, line), 745);
    }
    EXPECT_TRUE(Has(EpilogueLines[95], kTeam));
    EXPECT_STREQ(EpilogueLines[96], "Ｔｈａｎｋ　ｙｏｕ　ｆｏｒ　ｙｏｕｒ　ｐｌａｙｉｎｇ！");
}

}  // namespace
