#include "../platform/pictures.h"
#include "form1.h"

int main() {
    plat::SetUpProcess();  // before any thread starts
    plat::Pictures pictures(GameArt());  // decoded beside the window's set-up
    auto host = plat::OpenWindowHost("tobble7", &pictures, "icon-game");
    if (!host) return 1;
    game::Form1 form(*host, pictures);
    form.Run();
    return 0;
}
