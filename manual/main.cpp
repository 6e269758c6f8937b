#include "../kit/art.h"
#include "form1.h"

int main() {
    const kit::ArtFile* icon = kit::FindArt(ManualArt(), "icon-manual");
    auto host = plat::OpenWindowHost("説明書", icon ? icon->data : nullptr, icon ? icon->size : 0, kit::AllArt(ManualArt()));
    if (!host) return 1;
    manual::Form1 form(*host);
    form.Run();
    return 0;
}
