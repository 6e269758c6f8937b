// A window on the headless backend with a tile sheet whose every pixel tells
// where it came from: red = x, green = y in the sheet.
#pragma once

#include <functional>
#include <string>

#include "../kit/form.h"

struct TestForm : kit::Form {
    explicit TestForm(plat::Host& h) : kit::Form(h) {
        Chip.Resize(192, 192);
        for (int y = 0; y < 192; ++y)
            for (int x = 0; x < 192; ++x) Chip.SetPixelRGB(x, y, (static_cast<uint32_t>(x) << 16) | (y << 8) | 7);
    }
    void HenSyoki() override {
        appPath = ProgramFolderPath();
        MusicTable[1] = "bg\\bg1.mid";
        for (int k = 1; k <= 10; ++k) SoundTable[k] = "se" + std::to_string(k);
        BaseTile = 28;
        if (onLoad) onLoad();
    }
    void Timer1_Timer() override { if (t1) t1(); }
    void Timer2_Timer() override { if (t2) t2(); }
    void Timer3_Timer() override { if (t3) t3(); }
    void Display_KeyDown(int, int key, int) override { if (onKey) onKey(key); }

    std::function<void()> onLoad, t1, t2, t3;
    std::function<void(int)> onKey;
};

// The sheet position a layer pixel was copied from.
inline int SheetX(uint32_t rgb) { return static_cast<int>(rgb >> 16); }
inline int SheetY(uint32_t rgb) { return static_cast<int>((rgb >> 8) & 255); }
