// The manual's window: the menu of seventeen items, the explanation and
// character pages, the prologue and the epilogue show.
#pragma once

#include <cstdint>
#include <string>

#include "../kit/art.h"
#include "../kit/clear_file.h"
#include "../kit/form.h"

// The pictures this program carries.
const plat::PictureFile* ManualArt();

namespace manual {

// The marker a won game writes into the clear file.
using kit::ClearMarker;

class Form1 : public kit::Form {
public:
    // With the pictures decoded ahead, as the program starts; without, they
    // are decoded now.
    Form1(plat::Host& host, plat::Pictures& pictures);
    explicit Form1(plat::Host& host);

    void TakePictures(plat::Pictures& pictures);

    // --- Start-up and the clear file ---
    void HenSyoki() override;
    void LoadPas();
    void Timer1_Timer() override;
    void Timer3_Timer() override;

    // --- Menu and keys ---
    void SyokiGamen();
    void Hantei();
    void KerHyouji();
    void Display_KeyDown(int Index, int KeyCode, int Shift) override;

    // --- Epilogue ---
    void Epi();
    void EpsTouroku();
    void Timer2_Timer() override;
    void EndGamen();
    void EpiGra(int k);

    // --- Explanation pages (menu items 1 to 12) ---
    void Hajimeni();
    void Kihon();
    void Gamen();
    void Jst();
    void Tst();
    void Face();
    void Posi();
    void Taose();
    void LvUp();
    void Hunou();
    void Yasumi();
    void Kotu();
    // The one shape all twelve share, drawn from the row of its item.
    void SetumeiPage(int item);

    // --- Character pages (menu items 13 to 15) ---
    void MakeKami(int x1, int y1, int x2, int y2);
    void JinbutuA();
    void JinbutuB();
    void JinbutuC();
    // The one shape the three share; page 0 to 2.
    void JinbutuPage(int page);

    // --- Prologue (menu item 16) ---
    void Pro();

    // --- State ---
    uint8_t MenuNo = 0;
    uint8_t ProPage = 0;
    uint8_t EpiLine = 0;
    uint8_t EpiRunning = 0;
    uint8_t GameCleared = 0;
    std::string ClearText;
    std::string EpiText[101];
    int16_t n = 0;

    kit::Colour BlackColour = 0, WhiteColour = 0, TextColour = 0, HighlightColour = 0;

    // Hidden pictures: portraits, epilogue sketches and the battle screen at half size.
    plat::Surface JinP[7];
    plat::Surface EpiP[8];
    plat::Surface GamenP;
};

}  // namespace manual
