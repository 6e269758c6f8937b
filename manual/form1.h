// The manual's window.
#pragma once

#include "../kit/art.h"
#include "../kit/form.h"

const kit::ArtFile* ManualArt();

namespace manual {

class Form1 : public kit::Form {
public:
    explicit Form1(plat::Host& host);

    void HenSyoki() override;
    void Timer1_Timer() override;
};

}  // namespace manual
