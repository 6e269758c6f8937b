// A robot beaten, the next one loaded, the fallen revived; after the eighth
// the clear file and the clear presentation.
#include <string>

#include "../kit/clear_file.h"
#include "form1.h"

namespace game {

void Form1::Taosita() {
    Play(10);
    TestYure();
    TestYure();
    apiResult = plat::BitBlt(Display[0], 608, 32, 128, 272, Display[2], 608, 32, kit::SRCCOPY);

    RobotIndex = static_cast<uint8_t>(RobotIndex + 1);
    SpeedGauge = 0;
    LoadRobot(RobotIndex);
    TstHyouji();
    TspHyouji();
    RoboHyouji(RobotPicture);

    // A counter of its own: the shared ones keep what the displays left.
    for (int c = 0; c <= 6; ++c) {
        if (CharDown[c] == 1) {
            CharDown[c] = 0;
            CharHp[c] = 1;
            CharPos[c] = Sleeping;
        }
    }
    AliveCount = 7;
    KaoHenka();
    HpHyouji();

    if (RobotIndex == 8) {
        SavePas();
        KeyMode = 2;
        Timer2.SetInterval(0);
        Silence();
        EndSyori();
    }
}

// The game goes on to its presentation whether or not the file was written;
// a failure has been reported on stderr. The name is given here, not taken
// from plat::ProgramName(): a run without a window never sets that.
void Form1::SavePas() { kit::WriteClearFile(appPath, "tobble7"); }

void Form1::EndSyori() {
    static const char* const kLetters[16] = {"C", "o", "n", "g", "r", "a", "t", "u",
                                             "l", "a", "t", "i", "o", "n", "s", "!"};
    plat::Surface& screen = Display[0];

    Ueito(2000);
    Play(7);
    for (int strip = 12; strip >= 0; --strip) {
        apiResult = plat::BitBlt(screen, 321, 33 + 10 * strip, 127, 10, Display[2], 321, 33 + 10 * strip, kit::SRCCOPY);
        Ueito(50);
    }
    Ueito(2000);
    screen.FontItalic = true;
    for (int letter = 0; letter <= 15; ++letter) {
        Play(6);
        MojiSyu(0, 36, 1, kit::QBColor(0));
        Locate(0, 185 + 25 * letter, 170, kLetters[letter]);
        MojiSyu(0, 36, 1, HpBarColour);
        Locate(0, 188 + 25 * letter, 173, kLetters[letter]);
        Ueito(300);
    }
    Ueito(1000);
    screen.DrawWidth = 1;
    screen.FillBox(250, 55, 518, 145, kit::QBColor(0));
    screen.Box(250, 55, 518, 145, RobotBarColour);
    MojiSyu(0, 10, 0, kit::QBColor(15));
    Locate(0, 337, 70, "お疲れ様でした！");
    Locate(0, 287, 90, "説明書よりエピローグをご覧下さい！ ");
    Locate(0, 317, 110, "Enterキーで終了します");
}

}  // namespace game
