// Start-up, the clear file, the menu and the keys.
#include "form1.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace manual {

namespace {

const char* const Title = "◇ 取り扱い説明書 ◇";
const char* const Labels[18] = {
    "",
    "●はじめに",
    "●基本事項",
    "●ゲーム画面",
    "●Tobbleステータス",
    "●機械ロボステータス",
    "●キャラの顔",
    "●キャラのポジション",
    "●機械ロボをやっつけろ！",
    "●レベルアップ",
    "●戦闘不能",
    "●休憩と特殊",
    "●Tobble十ヶ条",
    "●人物紹介①",
    "●人物紹介②",
    "●人物紹介③",
    "●プロローグ",
    "●エピローグ",
};
const char* const MaskedLabel = "●？？？？？";

}  // namespace

Form1::Form1(plat::Host& host, plat::Pictures& pictures) : kit::Form(host) { TakePictures(pictures); }

Form1::Form1(plat::Host& host) : kit::Form(host) {
    plat::Pictures pictures(ManualArt());
    TakePictures(pictures);
}

void Form1::TakePictures(plat::Pictures& pictures) {
    Chip = pictures.Take("tiles-manual");
    GamenP = pictures.Take("gamen");
    for (int k = 0; k < 7; ++k) JinP[k] = pictures.Take("jin-" + std::to_string(k));
    for (int k = 0; k < 8; ++k) EpiP[k] = pictures.Take("epi-" + std::to_string(k));
}

// --------------------------------------------------------------- start-up

void Form1::HenSyoki() {
    appPath = ProgramFolderPath();
    MusicTable[2] = "bg\\bg2.mid";
    MusicTable[3] = "bg\\bg3.mid";
    for (int k = 1; k <= 9; ++k) SoundTable[k] = "se" + std::to_string(k);
    BaseTile = 0;

    BlackColour = kit::RGB(0, 0, 0);
    WhiteColour = kit::RGB(255, 255, 255);
    TextColour = kit::RGB(90, 50, 30);
    HighlightColour = kit::QBColor(12);

    MenuNo = 1;
    ProPage = 0;
    EpsTouroku();
    GameCleared = 0;
    LoadPas();
    if (ClearText == ClearMarker) GameCleared = 1;
}

// Leaves ClearText as it was when the file gives no field.
void Form1::LoadPas() {
    if (std::optional<std::string> text = kit::ReadClearText(appPath)) ClearText = std::move(*text);
}

void Form1::Timer1_Timer() {
    OpenM(2);
    PlayM(0);
    SyokiGamen();
    Timer1.SetInterval(0);
    Timer3.SetInterval(3000);
}

void Form1::Timer3_Timer() {
    if (EpiRunning == 0) Mjyoutai();
}

// ------------------------------------------------------------------- menu

void Form1::SyokiGamen() {
    std::string MenuText[21];
    MenuText[0] = Title;
    for (int k = 1; k <= 17; ++k) MenuText[k] = Labels[k];
    if (GameCleared == 0) MenuText[17] = MaskedLabel;

    Dodai();
    MakeWaku(2, 0, 0, 47, 35);
    for (i = 1; i <= 7; ++i)
        for (j = 1; j <= 16; ++j) PutChip(2, i, j, 3);
    MakeWaku(2, 2, 2, 16, 33);

    MojiSyu(2, 11, 1, TextColour);
    Locate(2, 77, 60, MenuText[0]);
    Display[2].DrawWidth = 2;
    Display[2].Line(55, 80, 251, 80, TextColour);
    for (i = 1; i <= 17; ++i) {
        MojiSyu(2, 11, 1, TextColour);
        Locate(2, 60, 75 + 25 * i, MenuText[i]);
    }

    Tunagi(2, 0);
    Hantei();
    KerHyouji();
}

void Form1::Hantei() {
    switch (MenuNo) {
    case 1: Hajimeni(); break;
    case 2: Kihon(); break;
    case 3: Gamen(); break;
    case 4: Jst(); break;
    case 5: Tst(); break;
    case 6: Face(); break;
    case 7: Posi(); break;
    case 8: Taose(); break;
    case 9: LvUp(); break;
    case 10: Hunou(); break;
    case 11: Yasumi(); break;
    case 12: Kotu(); break;
    case 13: JinbutuA(); break;
    case 14: JinbutuB(); break;
    case 15: JinbutuC(); break;
    case 16:
        ProPage = 0;
        Pro();
        break;
    case 17: Epi(); break;
    default: break;
    }
}

void Form1::KerHyouji() {
    apiResult = plat::BitBlt(Display[1], 55, 80, 20, 500, Display[2], 55, 80, kit::SRCCOPY);
    Display[1].DrawWidth = 8;
    Display[1].Circle(66, 82 + 25 * MenuNo, 4, kit::QBColor(15));
    apiResult = plat::BitBlt(Display[0], 55, 80, 30, 500, Display[1], 55, 80, kit::SRCCOPY);
}

void Form1::Display_KeyDown(int Index, int KeyCode, int Shift) {
    (void)Index, (void)Shift;
    switch (KeyCode) {
    case plat::VK_ESCAPE:
        Silence();
        End();
    case plat::VK_UP:
        if (MenuNo != 1 && EpiRunning == 0) {
            --MenuNo;
            Hantei();
            KerHyouji();
            Play(3);
        }
        break;
    case plat::VK_DOWN:
        if (MenuNo != 17 && EpiRunning == 0) {
            ++MenuNo;
            Hantei();
            KerHyouji();
            Play(3);
        }
        break;
    case plat::VK_LEFT:
        if (MenuNo == 16 && ProPage != 0) {
            Play(3);
            --ProPage;
            Pro();
            KerHyouji();
        } else if (MenuNo == 17 && EpiRunning == 1) {
            // Abort the show and return to the menu with its music.
            Play(3);
            EpiRunning = 0;
            PlayM(1);
            CloseM();
            OpenM(2);
            PlayM(0);
            Timer3.SetInterval(3000);
            Timer2.SetInterval(0);
            SyokiGamen();
        }
        break;
    case plat::VK_RIGHT:
        if (MenuNo == 16 && ProPage != 13) {
            Play(3);
            ++ProPage;
            Pro();
            KerHyouji();
        } else if (MenuNo == 17 && GameCleared == 1 && EpiRunning == 0) {
            // Start the show: the menu music stops and its loop with it.
            Play(8);
            EpiLine = 0;
            EpiRunning = 1;
            PlayM(1);
            CloseM();
            Timer3.SetInterval(0);
            Timer2.SetInterval(1);
        }
        break;
    default:
        break;
    }
}

}  // namespace manual
