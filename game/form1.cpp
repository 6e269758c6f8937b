#include "form1.h"

namespace game {

Form1::Form1(plat::Host& host) : kit::Form(host) {
    Chip = kit::LoadArt(GameArt(), "tiles-game");
}

double Form1::Rnd() { return random_() / 4294967296.0; }
void Form1::SeedRandom(uint32_t seed) { random_.seed(seed); }

void Form1::HenSyoki() {
    appPath = ProgramFolderPath();
    MusicTable[0] = "bg\\bg0.mid";
    MusicTable[1] = "bg\\bg1.mid";
    for (int s = 1; s <= 10; ++s) SoundTable[s] = "se" + std::to_string(s);
    BaseTile = 28;
}

void Form1::Jtouroku(int, const std::string&, int, int, int, int) {}
void Form1::JLUtouroku(int, int, int, int) {}
void Form1::KoeTouroku() {}
void Form1::TekiTouroku(int, const std::string&, int, int, int, int) {}
void Form1::LoadRobot(int) {}
void Form1::Timer1_Timer() { Timer1.SetInterval(0); }
void Form1::Timer3_Timer() {}
void Form1::DmKeisan() {}
void Form1::KaihukuHenka() {}
void Form1::SyokiGamen() {}
void Form1::Kusa() {}
void Form1::Senro() {}
void Form1::Kage() {}
void Form1::RoboHyouji(int) {}
void Form1::TstHyouji() {}
void Form1::ThpHyouji() {}
void Form1::TspHyouji() {}
void Form1::HpHyouji() {}
void Form1::PutC(int, int, int) {}
void Form1::KaoHenka() {}
void Form1::KerHyouji() {}
void Form1::DmHyouji() {}
void Form1::Jtalk(int, int) {}
void Form1::Jtalkcls() {}
void Form1::JstHyouji() {}

}  // namespace game
