#include "../kit/art.h"
#include "form1.h"

int main() {
    const kit::ArtFile* icon = kit::FindArt(GameArt(), "icon-game");
    auto host = plat::OpenWindowHost("tobble7", icon ? icon->data : nullptr, icon ? icon->size : 0, kit::AllArt(GameArt()));
    if (!host) return 1;
    game::Form1 form(*host);
    form.Run();
    return 0;
}
