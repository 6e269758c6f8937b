// The robot's attack, the knock-outs and game over, the shake and the damage
// show, and the level-up of the chicken game.
#include <cmath>

#include "form1.h"

namespace game {

namespace {

// A whole number from a random value scaled to n steps, as Int(r * n).
int Pick(double r, int n) { return static_cast<int>(std::floor(r * n)); }
}  // namespace

// ------------------------------------------------------------ the level-up

void Form1::LvUp() {
    const int c = LvUpChar;
    const int cx = CharX[c] + 16, cy = CharY[c] + 16;
    plat::Surface& screen = Display[0];

    Play(5);
    screen.DrawWidth = 3;
    MojiSyu(0, 8, 1, kit::QBColor(0));
    for (int r = 2; r <= 10; r += 2) {
        apiResult = plat::BitBlt(screen, cx - 80, cy - 80, 160, 160, Display[1], cx - 80, cy - 80, kit::SRCCOPY);
        // The balloon of the frame before set the pen back to 1; every frame's
        // rings are 3 px wide.
        screen.DrawWidth = 3;
        screen.Circle(cx, cy, static_cast<int>(std::floor(r * 3.5)), kit::QBColor(0));
        screen.Circle(cx, cy, r * 4, kit::QBColor(7));
        screen.Circle(cx, cy, static_cast<int>(std::floor(r * 4.5)), kit::QBColor(15));
        MojiSyu(0, 8, 1, kit::QBColor(0));
        Locate(0, cx - 29, cy, "レベルアップ！");
        MojiSyu(0, 8, 1, kit::QBColor(15));
        Locate(0, cx - 28, cy + 1, "レベルアップ！");
        Jtalk(c, 0);
        Ueito(20);
    }
    apiResult = plat::BitBlt(screen, cx - 70, cy - 70, 140, 140, Display[1], cx - 70, cy - 70, kit::SRCCOPY);
    TalkTimer = 5;
    screen.DrawWidth = 1;
    screen.FillBox(48, 194, 144, 204, kit::QBColor(0));

    ChickenCount[c] = 0;
    // The level is a byte: at 255 it stays, and so do the values it raises.
    if (CharLevel[c] < 255) {
        CharShortAtk[c] = static_cast<int16_t>(CharShortAtk[c] + GrowShort[c]);
        CharLongAtk[c] = static_cast<int16_t>(CharLongAtk[c] + GrowLong[c]);
        CharMaxHp[c] = static_cast<int16_t>(CharMaxHp[c] + GrowMaxHp[c]);
        CharLevel[c] = static_cast<uint8_t>(CharLevel[c] + 1);
    }
    JstHyouji();
    HpHyouji();
}

// ------------------------------------------------------- the robot's attack

void Form1::TekiKougeki() {
    Tujyo();
    IkisiniHantei();
    JstHyouji();
    HpHyouji();
    KerHyouji();
}

int Form1::AttackShare(int c, int weightTotal) const {
    if (CharPos[c] == ChickenGame) return RobotAttack;
    if (weightTotal == 0) {
        // Nobody stands where the attack is shared by weight: everyone takes an
        // equal part of the living's. A count of nobody alive is never left by
        // the rules; it is read as one rather than divided by.
        const int alive = AliveCount > 0 ? AliveCount : 1;
        return static_cast<int>(std::floor(static_cast<double>(RobotAttack) / alive));
    }
    return static_cast<int>(std::floor(static_cast<double>(RobotAttack) / weightTotal * PositionWeight[CharPos[c]]));
}

void Form1::Tujyo() {
    int weightTotal = 0;
    for (int c = 0; c <= 6; ++c) weightTotal += PositionWeight[CharPos[c]];

    if (weightTotal == 0) {
        // Everyone takes an equal part. The faces that tremble are those of the
        // standing members who lose HP, not whatever the previous attack left
        // marked.
        for (int c = 0; c <= 6; ++c) HitFlag[c] = (AttackShare(c, weightTotal) > 0 && CharDown[c] == 0) ? 1 : 0;
        Play(7);
        TestYure();
        Play(6);
        DmEnsyutu();
        for (int c = 0; c <= 6; ++c) CharHp[c] = static_cast<int16_t>(CharHp[c] - AttackShare(c, weightTotal));
    } else {
        for (int c = 0; c <= 6; ++c) {
            const int s = AttackShare(c, weightTotal);
            CharHp[c] = static_cast<int16_t>(CharHp[c] - s);
            HitFlag[c] = s > 0 ? 1 : 0;
        }
        Play(7);
        TestYure();
        Play(6);
        DmEnsyutu();
    }
    HpHyouji();
    KaoHenka();
}

void Form1::IkisiniHantei() {
    for (int c = 0; c <= 6; ++c) {
        if (CharHp[c] <= 0 && CharDown[c] == 0) {
            Jtalk(c, 2);
            TalkTimer = 5;
        }
    }

    AliveCount = 0;
    for (int c = 0; c <= 6; ++c) {
        if (CharHp[c] > 0) {
            ++AliveCount;
            continue;
        }
        CharHp[c] = 0;
        CharDown[c] = 1;
        CharPos[c] = Retired;
        // Erase the sprite where it stood, mid-walk too.
        const int x = CharX[c] - 2, y = CharY[c] - 10;
        apiResult = plat::BitBlt(Display[1], x, y, 36, 52, Display[2], x, y, kit::SRCCOPY);
        apiResult = plat::BitBlt(Display[0], x, y, 36, 52, Display[1], x, y, kit::SRCCOPY);
        CharY[c] = RetiredRowY;
        CharMoving[c] = 0;
        DrawChar = static_cast<uint8_t>(c);
        PutC(CharX[c], RetiredRowY, 0);
    }

    KaihukuHenka();
    DmKeisan();
    KaoHenka();

    if (AliveCount == 0) {
        // Left at 1: the expected shares shown next divide by it.
        AliveCount = 1;
        KeyMode = 2;
        Timer2.SetInterval(0);
        Silence();
        MojiSyu(0, 36, 1, kit::QBColor(0));
        Locate(0, 250, 170, "Game Over !");
        MojiSyu(0, 36, 1, GaugeColour);
        Locate(0, 254, 174, "Game Over !");
        Display[0].DrawWidth = 1;
        Display[0].FillBox(250, 225, 518, 285, kit::QBColor(0));
        Display[0].Box(250, 225, 518, 285, RobotBarColour);
        MojiSyu(0, 11, 1, kit::QBColor(15));
        Locate(0, 300, 247, "Enterキーを押してください ");
    }
}

// ------------------------------------------------- the shake and the show

void Form1::TestYure() {
    plat::Surface& screen = Display[0];
    for (i = 0; i <= 5; ++i) {
        const int dx = Pick(Rnd(), 13) - 6;
        const int dy = Pick(Rnd(), 13) - 6;
        screen.Left = 16 + dx;
        screen.Top = 12 + dy;
        Ueito(30);
    }
    screen.Left = 16;
    screen.Top = 12;
}

void Form1::DmEnsyutu() {
    for (i = 0; i <= 7; ++i) {
        for (n = 0; n <= 6; ++n) {
            const int x0 = n * 96 + 51;
            int dx = Pick(Rnd(), 11) - 5;
            int dy = Pick(Rnd(), 11) - 5;
            if (HitFlag[n] == 0) dx = dy = 0;
            apiResult = plat::BitBlt(Display[1], x0 + dx, 451 + dy, 96, 96, Display[2], x0, 451, kit::SRCCOPY);
        }
        apiResult = plat::BitBlt(Display[0], 40, 445, 700, 130, Display[1], 40, 445, kit::SRCCOPY);
        for (n = 0; n <= 6; ++n)
            if (HitFlag[n] == 1) Jtalk(n, 1);
        Ueito(30);
    }
    Jtalkcls();
    apiResult = plat::BitBlt(Display[1], 0, 445, 760, 130, Display[2], 0, 445, kit::SRCCOPY);
    apiResult = plat::BitBlt(Display[0], 0, 445, 760, 130, Display[1], 0, 445, kit::SRCCOPY);
}

}  // namespace game
