#include "form1.h"

namespace game {

Form1::Form1(plat::Host& host) : kit::Form(host) {
    Chip = kit::LoadArt(GameArt(), "tiles-game");
}

void Form1::HenSyoki() {
    appPath = ProgramFolderPath();
    MusicTable[0] = "bg\\bg0.mid";
    MusicTable[1] = "bg\\bg1.mid";
    for (int k = 1; k <= 10; ++k) SoundTable[k] = "se" + std::to_string(k);
    BaseTile = 28;
}

void Form1::Timer1_Timer() {
    // The battle is built on top of this shell; until then the first tick only
    // stops the start-up timer.
    Timer1.SetInterval(0);
}

}  // namespace game
