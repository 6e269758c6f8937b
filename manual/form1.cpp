#include "form1.h"

namespace manual {

Form1::Form1(plat::Host& host) : kit::Form(host) {
    Chip = kit::LoadArt(ManualArt(), "tiles-manual");
}

void Form1::HenSyoki() {
    appPath = ProgramFolderPath();
    MusicTable[2] = "bg\\bg2.mid";
    MusicTable[3] = "bg\\bg3.mid";
    for (int k = 1; k <= 9; ++k) SoundTable[k] = "se" + std::to_string(k);
    BaseTile = 0;
}

void Form1::Timer1_Timer() {
    // The menu is built on top of this shell; until then the first tick only
    // stops the start-up timer.
    Timer1.SetInterval(0);
}

}  // namespace manual
