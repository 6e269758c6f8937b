// tobble7's window.
#pragma once

#include "../kit/art.h"
#include "../kit/form.h"

const kit::ArtFile* GameArt();

namespace game {

class Form1 : public kit::Form {
public:
    explicit Form1(plat::Host& host);

    void HenSyoki() override;
    void Timer1_Timer() override;
};

}  // namespace game
