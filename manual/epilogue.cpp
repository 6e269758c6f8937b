// The epilogue: its page (item 17) and the timed show that Right starts.
// The show draws straight onto the visible layer, one step a tick of Timer2.
#include "form1.h"
#include "texts.h"

#include "../platform/text.h"

namespace manual {

namespace {

const char* const EpiHowTo[3] = {
    "カーソルキーの右で始まります。",
    "途中で見たくなくなったら、",
    "カーソルキーの左を押してください。",
};

kit::Colour Grey(int level) { return kit::RGB(10 * level, 10 * level, 10 * level); }

}  // namespace

void Form1::Epi() {
    Tunagi(2, 1);
    Display[1].DrawWidth = 1;
    Display[1].FillBox(370, 185, 665, 310, kit::Cream);
    MakeWaku(1, 23, 11, 41, 19);
    Display[1].FontItalic = true;
    MojiSyu(1, 10, 0, TextColour);
    for (i = 0; i <= 2; ++i)
        if (GameCleared == 1) Locate(1, 430, 210 + 30 * i, EpiHowTo[i]);
    Display[1].FontItalic = false;
    Tunagi(1, 0);
}

void Form1::EpsTouroku() {
    for (int k = 1; k <= 97; ++k) EpiText[k] = texts::EpilogueLines[k];
}

void Form1::EpiGra(int k) {
    apiResult = plat::BitBlt(Display[0], 141, 136, 192, 305, EpiP[k], 0, 0, kit::SRCCOPY);
}

void Form1::EndGamen() {
    plat::Surface& screen = Display[0];
    screen.DrawWidth = 1;
    // Blinds: every 16-px column grows one pixel a pass until the page is black.
    for (i = 1; i <= 16; ++i) {
        for (int x = 16; x <= 736; x += 16) screen.FillBox(x, 16, x + i, 560, BlackColour);
        Ueito(40);
    }
    Ueito(1000);
    screen.FontItalic = true;
    for (n = 0; n <= 25; ++n) {
        MojiSyu(0, 16, 0, Grey(n));
        Locate(0, 345, 260, "epilogue");
        Ueito(30);
    }
    Ueito(2000);
    for (n = 25; n >= 0; --n) {
        MojiSyu(0, 16, 0, Grey(n));
        Locate(0, 345, 260, "epilogue");
        Ueito(30);
    }
    // Smoothed glyph edges outlive a black-on-black pass: wipe what is left of the word.
    screen.FillBox(345, 260, 345 + plat::TextWidth(screen, "epilogue") + 8, 260 + 32, BlackColour);
    screen.FontItalic = false;
    EpiGra(3);
}

void Form1::Timer2_Timer() {
    if (EpiRunning != 1) return;

    if (EpiLine == 0) {
        Timer2.SetInterval(0);
        EndGamen();
        EpiLine = 1;
        Timer2.SetInterval(3000);
        Display[0].FontItalic = true;
        return;
    }
    if (EpiLine >= 99) {
        Timer2.SetInterval(0);
        PlayM(1);
        CloseM();
        End();
    }

    const int k = EpiLine;
    if (k % 14 == 1) Display[0].FillBox(355, 120, 750, 456, BlackColour);
    pixelY = static_cast<int16_t>((k % 14) * 25 + 108);
    // Each pass draws the line again a shade lighter: a fade in from black.
    for (n = 0; n <= 25; ++n) {
        MojiSyu(0, 11, 0, Grey(n));
        Locate(0, 354, pixelY, EpiText[k]);
        Ueito(30);
    }
    EpiLine = static_cast<uint8_t>(k + 1);
    Timer2.SetInterval(3500);

    switch (EpiLine) {
    case 8: EpiGra(0); break;
    case 16: EpiGra(2); break;
    case 18:
        // The show's own music, once: Timer3 is stopped, so nothing loops it.
        OpenM(3);
        PlayM(0);
        break;
    case 23: EpiGra(1); break;
    case 34: EpiGra(4); break;
    case 49: EpiGra(5); break;
    case 78: EpiGra(6); break;
    case 86: EpiGra(7); break;
    case 92: EpiGra(3); break;
    case 97: Timer2.SetInterval(13000); break;  // the thank-you line stays longer
    case 98:
        Timer2.SetInterval(10000);
        for (n = 0; n <= 25; ++n) {
            MojiSyu(0, 11, 0, WhiteColour);
            Locate(0, 358, 430, "おしまい");
            Ueito(40);
        }
        break;
    default: break;
    }
}

}  // namespace manual
