#include "../platform/pictures.h"
#include "form1.h"

int main() {
    plat::SetUpProcess();  // before any thread starts
    plat::Pictures pictures(ManualArt());  // decoded beside the window's set-up
    auto host = plat::OpenWindowHost("説明書", &pictures, "icon-manual");
    if (!host) return 1;
    manual::Form1 form(*host, pictures);
    form.Run();
    return 0;
}
