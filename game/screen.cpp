// The battle screen: scenery, robot and HP displays, sprites, the face strip
// with its balloons, and the party panel.
#include <cmath>

#include "form1.h"

namespace game {

namespace {

const kit::Colour Black = kit::QBColor(0);
const kit::Colour Grey = kit::QBColor(7);
const kit::Colour White = kit::QBColor(15);

// A display value rounded down to a whole number, as the screen's bars and
// shares are: the exact double, floored.
int16_t Floor16(double v) { return static_cast<int16_t>(std::floor(v)); }

}  // namespace

// ------------------------------------------------------------------ scenery

void Form1::SyokiGamen() {
    plat::Surface& bg = Display[2];
    Dodai();
    Kusa();
    Senro();
    MakeWaku(2, 0, 0, 47, 35);
    Kage();

    for (i = 0; i <= 6; ++i) {
        j = static_cast<int16_t>(96 * i + 81);
        apiResult = plat::BitBlt(bg, 96 * i + 51, 451, 90, 90, Face[3 * i], 0, 0, kit::SRCCOPY);
        bg.DrawWidth = 1;
        bg.FillBox(j, 431, j + 58, 445, Black);
        bg.FillBox(j - 33, 431, j - 3, 445, Black);
        bg.Box(j - 33, 431, j - 3, 445, White);
        bg.DrawWidth = 2;
        bg.Box(j, 431, j + 58, 445, White);
    }

    bg.DrawWidth = 1;
    bg.Line(44, 66, 148, 66, White);
    bg.Line(44, 67, 148, 67, Grey);
    bg.Line(44, 68, 148, 68, Black);

    bg.FillBox(46, 192, 146, 207, Black);
    bg.DrawWidth = 2;
    bg.Box(46, 192, 146, 207, White);

    bg.FillBox(620, 80, 725, 95, Black);
    bg.Box(620, 80, 725, 95, White);

    bg.FillBox(620, 192, 725, 207, Black);
    bg.Box(620, 192, 725, 207, White);

    bg.DrawWidth = 1;
    bg.Line(622, 66, 726, 66, White);
    bg.Line(622, 67, 726, 67, Grey);
    bg.Line(622, 68, 726, 68, Black);

    Tunagi(2, 1);
    Tunagi(2, 0);

    KerHyouji();
    HpHyouji();
    TstHyouji();
    DmKeisan();
    DmHyouji();
    TspHyouji();
    RoboHyouji(RobotPicture);
}

void Form1::Kusa() {
    struct Group { int tufts, spanX, baseX, spanY, baseY, tile; };
    static const Group groups[4] = {
        {9, 3, 1, 16, 1, 3},
        {9, 4, 20, 14, 2, 3},
        {6, 5, 1, 16, 1, 4},
        {6, 5, 19, 14, 2, 4},
    };
    for (const Group& g : groups) {
        for (n = 0; n <= g.tufts - 1; ++n) {
            const int x = static_cast<int>(Rnd() * g.spanX) + g.baseX;
            const int y = static_cast<int>(Rnd() * g.spanY) + g.baseY;
            for (m = -1; m <= 1; ++m) {
                PutChip(2, x + m, y, g.tile);
                PutChip(2, x, y + m, g.tile);
            }
        }
    }
}

void Form1::Senro() {
    static const uint8_t TrackColumns[4] = {6, 11, 12, 17};
    // One ground cell between the rails: plain, or pebbled six times in ten.
    auto ground = [this](int x, int y) {
        PutChip(2, x, y, 28);
        const float r = static_cast<float>(Rnd() * 10);
        if (r < 6) PutChip(2, x, y, 16);
    };
    for (i = 0; i <= 17; ++i) {
        for (int t = 0; t <= 1; ++t) {
            const int left = TrackColumns[2 * t], right = TrackColumns[2 * t + 1];
            PutChip(2, left, i, 15);
            PutChip(2, right, i, 17);
            const int from = left + 1, to = right - 1;
            for (j = static_cast<int16_t>(from); j <= to; ++j) ground(j, i);
        }
    }
    for (i = 2; i <= 17; i += 3) {
        PutChip(2, 6, i, 21);
        PutChip(2, 11, i, 23);
        PutChip(2, 12, i, 21);
        PutChip(2, 17, i, 23);
        for (j = 7; j <= 10; ++j) PutChip(2, j, i, 22);
        for (j = 13; j <= 16; ++j) PutChip(2, j, i, 22);
    }
}

void Form1::Kage() {
    plat::Surface& bg = Display[2];
    const kit::Colour mesh = CursorColour;
    auto ramp = [](int step) { return kit::RGB(50 * step, 50 * step, 50 * step); };

    for (i = 32; i <= 224; i += 2) bg.Line(32, i, 160, i, mesh);
    for (i = 32; i <= 160; i += 2) bg.Line(i, 32, i, 224, mesh);
    for (i = 0; i <= 5; ++i) bg.Box(32 + i, 32 + i, 160 - i, 224 - i, ramp(i));

    for (i = 32; i <= 224; i += 2) bg.Line(608, i, 736, i, mesh);
    for (i = 608; i <= 736; i += 2) bg.Line(i, 32, i, 224, mesh);
    for (i = 0; i <= 5; ++i) bg.Box(608 + i, 32 + i, 736 - i, 224 - i, ramp(i));

    for (i = 240; i <= 304; i += 2) {
        bg.Line(32, i, 160, i, mesh);
        bg.Line(608, i, 736, i, mesh);
    }
    for (i = 608; i <= 736; i += 2) bg.Line(i, 240, i, 304, mesh);
    for (i = 32; i <= 160; i += 2) bg.Line(i, 240, i, 304, mesh);
    for (i = 0; i <= 5; ++i) {
        bg.Box(32 + i, 240 + i, 160 - i, 304 - i, ramp(i));
        bg.Box(608 + i, 240 + i, 736 - i, 304 - i, ramp(i));
    }
}

// ------------------------------------------------------- robot and HP

void Form1::RoboHyouji(int picture) {
    apiResult = plat::BitBlt(Display[1], 321, 33, 127, 127, RoboP[picture], 0, 0, kit::SRCCOPY);
    apiResult = plat::BitBlt(Display[0], 321, 33, 127, 127, RoboP[picture], 0, 0, kit::SRCCOPY);
}

void Form1::TstHyouji() {
    for (i = 0; i <= 1; ++i) {
        MojiSyu(0, 9, 0, White);
        Locate(0, 623, 50 + i, RobotName);
    }
    pixelX = 20;
    if (RobotAttack > 9) pixelX = 10;
    if (RobotAttack > 99) pixelX = 0;
    for (i = 0; i <= 1; ++i) {
        MojiSyu(i, 28, 0, Black);
        Locate(i, 628 + pixelX, 251, RobotAttack);
        MojiSyu(i, 28, 0, White);
        Locate(i, 630 + pixelX, 253, RobotAttack);
    }
    ThpHyouji();
}

void Form1::ThpHyouji() {
    const int16_t len = Floor16((100.0 / RobotMaxEnergy) * RobotEnergy);
    Display[1].DrawWidth = 1;
    Display[1].FillBox(622, 82, 722, 92, Black);
    Display[1].FillBox(622, 82, 622 + len, 92, RobotBarColour);
    apiResult = plat::BitBlt(Display[0], 622, 82, 100, 16, Display[1], 622, 82, kit::SRCCOPY);

    apiResult = plat::BitBlt(Display[1], 622, 100, 100, 40, Display[2], 622, 100, kit::SRCCOPY);
    int offset = 30;
    if (RobotEnergy > 9) offset = 20;
    if (RobotEnergy > 99) offset = 10;
    if (RobotEnergy > 999) offset = 0;
    MojiSyu(1, 28, 1, Black);
    Locate(1, 620 + offset, 100, RobotEnergy);
    MojiSyu(1, 28, 1, White);
    Locate(1, 622 + offset, 102, RobotEnergy);
    apiResult = plat::BitBlt(Display[0], 622, 100, 100, 40, Display[1], 622, 100, kit::SRCCOPY);
}

void Form1::TspHyouji() {
    apiResult = plat::BitBlt(Display[1], 620, 176, 100, 20, Display[2], 620, 176, kit::SRCCOPY);
    MojiSyu(1, 10, 1, White);
    Locate(1, 620, 176, "スピード");
    Locate(1, 680, 176, RobotSpeed);
    apiResult = plat::BitBlt(Display[0], 620, 176, 100, 20, Display[1], 620, 176, kit::SRCCOPY);
}

void Form1::HpHyouji() {
    // Called inside the tick's loops over i: counts with its own counter.
    apiResult = plat::BitBlt(Display[1], 0, 420, 768, 25, Display[2], 0, 420, kit::SRCCOPY);
    Display[1].DrawWidth = 1;
    for (int c = 0; c <= 6; ++c) {
        const int16_t len = Floor16((53.0 / CharMaxHp[c]) * CharHp[c]);
        Display[1].FillBox(96 * c + 83, 433, 96 * c + 83 + len, 442, HpBarColour);
    }
    MojiSyu(1, 9, 1, White);
    for (int c = 0; c <= 6; ++c) Locate(1, 96 * c + 48, 433, CharHp[c]);
    apiResult = plat::BitBlt(Display[0], 0, 420, 768, 25, Display[1], 0, 420, kit::SRCCOPY);
}

// ------------------------------------------------------------- sprites

void Form1::PutC(int x, int y, int frame) {
    const int who = DrawChar;
    pixelX = static_cast<int16_t>(SpriteColX[CharMoving[who]] + (frame != 1 ? 32 : 0));
    pixelY = CharMoving[who] == 0 ? SpriteRowY[CharPos[who]] : static_cast<int16_t>(32);
    apiResult = plat::BitBlt(Display[1], x - 2, y - 10, 36, 52, Display[2], x - 2, y - 10, kit::SRCCOPY);
    apiResult = plat::BitBlt(Display[1], x, y, 32, 32, Chip, pixelX, 160, kit::SRCPAINT);
    apiResult = plat::BitBlt(Display[1], x, y, 32, 32, Chip, pixelX, pixelY, kit::SRCAND);
    apiResult = plat::BitBlt(Display[0], x - 2, y - 10, 36, 52, Display[1], x - 2, y - 10, kit::SRCCOPY);
    Display[0].DrawWidth = 1;
    Display[0].Circle(CharX[SelectedChar] + 15, CharY[SelectedChar] + 16, 16, CursorColour);
}

// ------------------------------------------------- face strip and balloons

void Form1::KaoHenka() {
    for (int c = 0; c <= 6; ++c) {
        const int x = 51 + 96 * c;
        apiResult = plat::BitBlt(Display[2], x, 451, 90, 90, Face[3 * c], 0, 0, kit::SRCCOPY);
        if (CharHp[c] < Floor16(CharMaxHp[c] / 8.0))
            apiResult = plat::BitBlt(Display[2], x, 451, 90, 90, Face[3 * c + 2], 0, 0, kit::SRCCOPY);
        if (CharMoving[c] == 0 && CharPos[c] == 4)
            apiResult = plat::BitBlt(Display[2], x, 451, 90, 90, Face[3 * c + 1], 0, 0, kit::SRCCOPY);
        if (CharDown[c] == 1)
            apiResult = plat::BitBlt(Display[2], x, 451, 90, 90, Face[21], 0, 0, kit::SRCCOPY);
    }
    apiResult = plat::BitBlt(Display[1], 51, 451, 680, 95, Display[2], 51, 451, kit::SRCCOPY);
    apiResult = plat::BitBlt(Display[0], 51, 451, 680, 95, Display[1], 51, 451, kit::SRCCOPY);
}

void Form1::KerHyouji() {
    apiResult = plat::BitBlt(Display[1], 0, 445, 768, 100, Display[2], 0, 445, kit::SRCCOPY);
    DmHyouji();
    apiResult = plat::BitBlt(Display[0], 0, 445, 768, 100, Display[1], 0, 445, kit::SRCCOPY);
    pixelX = static_cast<int16_t>(96 * SelectedChar + 48);
    Display[0].DrawWidth = 3;
    Display[0].Box(pixelX, 448, pixelX + 95, 543, CursorColour);
    Display[0].DrawWidth = 1;
    JstHyouji();
}

void Form1::DmHyouji() {
    Display[1].FontItalic = true;
    MojiSyu(1, 12, 1, Black);
    for (k = 0; k <= 6; ++k) {
        int total = 0;
        for (n = 0; n <= 6; ++n) total += PositionWeight[CharPos[n]];
        int share;
        if (total == 0) {
            // Nobody standing can only follow a judgement that left one alive;
            // a count of 0 is read as 1 rather than divided by.
            const int alive = AliveCount > 0 ? AliveCount : 1;
            share = Floor16(static_cast<double>(RobotAttack) / alive);
        } else {
            share = Floor16(static_cast<double>(RobotAttack) / total * PositionWeight[CharPos[k]]);
        }
        if (CharPos[k] == 0) share = RobotAttack;
        Locate(1, 51 + 96 * k, 452, share);
    }
    Display[1].FontItalic = false;
}

void Form1::Jtalk(int who, int event) {
    const int x0 = 96 * who + 56;
    Display[0].DrawWidth = 1;
    Display[0].FillBox(x0 - 5, 545, x0 + 90, 557, White);
    Display[0].Box(x0 - 5, 545, x0 + 90, 557, HpBarColour);
    MojiSyu(0, 9, 1, HpBarColour);
    Locate(0, x0, 545, VoiceLine[who][event]);
    MojiSyu(0, 9, 1, CursorColour);
    Locate(0, x0 + 1, 546, VoiceLine[who][event]);
}

void Form1::Jtalkcls() {
    apiResult = plat::BitBlt(Display[0], 40, 545, 710, 14, Display[1], 40, 545, kit::SRCCOPY);
}

// ------------------------------------------------------------- party panel

void Form1::JstHyouji() {
    static const kit::Colour passColour[2] = {kit::RGB(150, 150, 150), kit::RGB(255, 255, 255)};
    const int c = SelectedChar;
    apiResult = plat::BitBlt(Display[0], 32, 32, 128, 192, Display[1], 32, 32, kit::SRCCOPY);
    const std::string& status = CharMoving[c] != 0 ? std::string("moving...")
                                : CharPos[c] == 3  ? AbilityName[c]
                                                   : PositionName[CharPos[c]];
    for (int pass = 0; pass <= 1; ++pass) {
        MojiSyu(0, 11, 1, White);
        Locate(0, 45, 50 + pass, CharName[c]);
        MojiSyu(0, 10, 1, passColour[pass]);
        Locate(0, 45, 70 + pass, status);
        Locate(0, 45 + pass, 100, "レベル");
        Locate(0, 118 + pass, 100, CharLevel[c]);
        Locate(0, 45 + pass, 120, "マックス");
        Locate(0, 118 + pass, 120, CharMaxHp[c]);
        Locate(0, 45, 140, "ショート");
        Locate(0, 118 + pass, 140, CharShortAtk[c]);
        Locate(0, 45, 160, "ロング");
        Locate(0, 118 + pass, 160, CharLongAtk[c]);
    }
    Display[0].FillBox(48, 194, 48 + 3 * ChickenCount[c], 204, GaugeColour);
}

}  // namespace game
