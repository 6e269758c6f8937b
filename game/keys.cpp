// The game's keys: select with Left and Right, move with Up and Down, Esc
// quits; once the game has ended only Enter quits and Esc silences it.
#include "form1.h"

namespace game {

void Form1::Display_KeyDown(int Index, int KeyCode, int Shift) {
    (void)Index, (void)Shift;
    if (KeyMode == 2) {
        if (KeyCode == plat::VK_RETURN) End();
        if (KeyCode == plat::VK_ESCAPE) Silence();
        return;
    }
    if (KeyMode != 0) return;

    const int s = SelectedChar;
    switch (KeyCode) {
    case plat::VK_ESCAPE:
        Silence();
        End();
    case plat::VK_LEFT:
        if (s == 0) return;
        SelectedChar = static_cast<uint8_t>(s - 1);
        Play(1);
        DmHyouji();
        KerHyouji();
        return;
    case plat::VK_RIGHT:
        if (s == 6) return;
        SelectedChar = static_cast<uint8_t>(s + 1);
        Play(1);
        DmHyouji();
        KerHyouji();
        return;
    case plat::VK_UP:
        MoveUp(s);
        return;
    case plat::VK_DOWN:
        MoveDown(s);
        return;
    default:
        return;
    }
}

void Form1::MoveUp(int s) {
    if (CharMoving[s] == 1 || CharPos[s] == ChickenGame || CharDown[s] != 0) return;

    // Only one may play the chicken game: a move from Short into it is refused
    // while anybody's position is already there, also on the way up.
    j = 0;
    for (i = 0; i <= 6; ++i)
        if (CharPos[i] == ChickenGame) j = 1;
    if (CharPos[s] != Short) j = 0;
    if (j == 1) {
        Play(9);
        return;
    }

    Play(2);
    JstHyouji();
    KaihukuHenka();
    if (CharMoving[s] == 0 && CharPos[s] == Sleeping) {
        Jtalkcls();
        Jtalk(s, 4);
        TalkTimer = 5;
    }
    if (CharMoving[s] == 0 && CharPos[s] == Short) {
        Jtalkcls();
        Jtalk(s, 5);
        TalkTimer = 5;
    }
    CharMoving[s] = 1;
    CharPos[s] = static_cast<uint8_t>(CharPos[s] - 1);
    KaoHenka();
    KerHyouji();
    DmKeisan();
}

void Form1::MoveDown(int s) {
    if (CharMoving[s] == 2 || CharPos[s] == Sleeping || CharDown[s] != 0) return;
    Play(2);
    ChickenCount[s] = 0;
    CharMoving[s] = 2;
    CharPos[s] = static_cast<uint8_t>(CharPos[s] + 1);
    JstHyouji();
    DmKeisan();
    KerHyouji();
    KaihukuHenka();
}

}  // namespace game
