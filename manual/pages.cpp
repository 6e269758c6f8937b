// The explanation pages (items 1 to 12), the character pages (13 to 15) and
// the prologue (16). Every page starts again from the clean menu screen, is
// composed out of sight and shown with one copy.
#include "form1.h"
#include "texts.h"

namespace manual {

namespace {

// ------------------------------------------------------ explanation pages

// The highlight box: a white frame between two red ones, 2 px outside and inside.
struct Highlight {
    int x1, y1, x2, y2;
    bool shrunkFirst;  // the inner red frame is drawn before the outer one
};

struct SetumeiRow {
    int size, x, y0, dy;
    bool picture;
    bool boxed;
    Highlight box;
};

// Indexed by menu item; [0] unused.
const SetumeiRow SetumeiRows[13] = {
    {},
    {11, 300, 70, 30, false, false, {}},                      // Hajimeni
    {11, 300, 80, 30, false, false, {}},                      // Kihon
    {11, 310, 375, 30, true, false, {}},                      // Gamen
    {11, 310, 360, 30, true, true, {317, 55, 398, 205, true}},    // Jst
    {11, 310, 375, 30, true, true, {604, 55, 685, 205, true}},    // Tst
    {11, 310, 360, 30, true, true, {325, 254, 674, 323, false}},  // Face
    {11, 300, 365, 30, true, true, {405, 152, 594, 260, false}},  // Posi
    {10, 290, 56, 25, false, false, {}},                      // Taose
    {10, 300, 40, 21, false, false, {}},                      // LvUp
    {10, 290, 56, 25, false, false, {}},                      // Hunou
    {10, 290, 42, 25, false, false, {}},                      // Yasumi
    {11, 300, 70, 45, false, false, {}},                      // Kotu
};

// ------------------------------------------------------- character pages

struct Card {
    int x1, y1, x2, y2;  // HalfCell corners of the frame
};
struct Portrait {
    int k, x, y;  // JinP number and top-left corner
};
struct Group {
    int first, last, x, y, spacing;  // lines first..last
};
struct JinbutuRow {
    Card cards[3];
    int cardCount;
    Portrait portraits[3];
    int portraitCount;
    Group groups[3];
    int groupCount;
};

const JinbutuRow JinbutuRows[3] = {
    // Page 13: チャムス, チョックン, メグ
    {{{19, 2, 31, 17}, {19, 24, 28, 33}, {35, 18, 45, 33}}, 3,
     {{3, 325, 60}, {5, 326, 413}, {0, 580, 320}}, 3,
     {{0, 5, 518, 60, 18}, {6, 9, 555, 213, 18}, {10, 13, 324, 315, 18}}, 3},
    // Page 14: パウ, シードパール
    {{{34, 2, 45, 21}, {19, 18, 30, 33}, {}}, 2,
     {{4, 580, 60}, {6, 356, 350}, {}}, 2,
     {{0, 7, 355, 80, 19}, {8, 14, 555, 382, 19}, {}}, 2},
    // Page 15: モ・ジャルテ, ヤマモト
    {{{19, 2, 30, 21}, {34, 15, 45, 33}, {}}, 2,
     {{1, 340, 75}, {2, 570, 276}, {}}, 2,
     {{0, 6, 520, 70, 19}, {7, 14, 365, 373, 19}, {}}, 2},
};

}  // namespace

void Form1::SetumeiPage(int item) {
    const SetumeiRow& row = SetumeiRows[item];
    const texts::PageLines& PageText = texts::Pages[item];

    Tunagi(2, 1);
    if (row.picture) apiResult = plat::BitBlt(Display[1], 300, 40, 400, 300, GamenP, 0, 0, kit::SRCCOPY);
    if (row.boxed) {
        const Highlight& b = row.box;
        Display[1].DrawWidth = 2;
        Display[1].Box(b.x1, b.y1, b.x2, b.y2, WhiteColour);
        const auto grown = [&] { Display[1].Box(b.x1 - 2, b.y1 - 2, b.x2 + 2, b.y2 + 2, HighlightColour); };
        const auto shrunk = [&] { Display[1].Box(b.x1 + 2, b.y1 + 2, b.x2 - 2, b.y2 - 2, HighlightColour); };
        if (b.shrunkFirst) {
            shrunk();
            grown();
        } else {
            grown();
            shrunk();
        }
    }
    MojiSyu(1, row.size, 1, TextColour);
    for (i = 0; i < PageText.count; ++i) Locate(1, row.x, row.y0 + i * row.dy, PageText.lines[i]);
    Tunagi(1, 0);
}

void Form1::Hajimeni() { SetumeiPage(1); }
void Form1::Kihon() { SetumeiPage(2); }
void Form1::Gamen() { SetumeiPage(3); }
void Form1::Jst() { SetumeiPage(4); }
void Form1::Tst() { SetumeiPage(5); }
void Form1::Face() { SetumeiPage(6); }
void Form1::Posi() { SetumeiPage(7); }
void Form1::Taose() { SetumeiPage(8); }
void Form1::LvUp() { SetumeiPage(9); }
void Form1::Hunou() { SetumeiPage(10); }
void Form1::Yasumi() { SetumeiPage(11); }
void Form1::Kotu() { SetumeiPage(12); }

// -------------------------------------------------------- character pages

void Form1::MakeKami(int x1, int y1, int x2, int y2) {
    Display[1].DrawWidth = 1;
    Display[1].FillBox(16 * x1 + 10, 16 * y1 + 10, 16 * x2 + 10, 16 * y2 + 10, WhiteColour);
    MakeWaku(1, x1, y1, x2, y2);
}

void Form1::JinbutuPage(int page) {
    const JinbutuRow& row = JinbutuRows[page];
    const texts::PageLines& lines = texts::People[page];

    Tunagi(2, 1);
    Display[1].DrawWidth = 1;
    Display[1].FillBox(315, 43, 725, 533, kit::Cream);
    Display[1].Box(315, 43, 725, 533, WhiteColour);
    for (int c = 0; c < row.cardCount; ++c) {
        const Card& k = row.cards[c];
        MakeKami(k.x1, k.y1, k.x2, k.y2);
    }
    for (i = 0; i < row.portraitCount; ++i) {
        const Portrait& p = row.portraits[i];
        const plat::Surface& pic = JinP[p.k];
        apiResult = plat::BitBlt(Display[1], p.x, p.y, pic.Width(), pic.Height(), pic, 0, 0, kit::SRCCOPY);
    }
    MojiSyu(1, 9, 0, TextColour);
    for (int g = 0; g < row.groupCount; ++g) {
        const Group& grp = row.groups[g];
        for (i = static_cast<int16_t>(grp.first); i <= grp.last && i < lines.count; ++i)
            Locate(1, grp.x, grp.y + grp.spacing * (i - grp.first), lines.lines[i]);
    }
    Tunagi(1, 0);
}

void Form1::JinbutuA() { JinbutuPage(0); }
void Form1::JinbutuB() { JinbutuPage(1); }
void Form1::JinbutuC() { JinbutuPage(2); }

// ---------------------------------------------------------------- prologue

void Form1::Pro() {
    Tunagi(2, 1);
    Display[1].DrawWidth = 1;
    Display[1].FillBox(310, 31, 737, 545, kit::Cream);
    Display[1].Box(310, 31, 737, 545, WhiteColour);
    MojiSyu(1, 11, 1, BlackColour);
    Locate(1, 337, 48, "--- " + std::to_string(ProPage + 1) + " ---");
    if (ProPage != 13) {
        MojiSyu(1, 10, 0, TextColour);
        for (i = 0; i <= 18; ++i) Locate(1, 337, 90 + 23 * i, texts::ProText[ProPage][i]);
        MojiSyu(1, 10, 0, BlackColour);
        Locate(1, 340, 518, texts::ProText[ProPage][19]);
    } else {
        MojiSyu(1, 10, 0, TextColour);
        for (i = 0; i <= 20; ++i) Locate(1, 337, 90 + 19 * i, texts::ProText[13][i]);
        MojiSyu(1, 10, 0, BlackColour);
        Locate(1, 340, 518, "＜＜＜カーソルキー左で前のページ");
    }
    Tunagi(1, 0);
}

}  // namespace manual
