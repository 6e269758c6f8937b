// The game on the headless backend with a fixed seed, and helpers to compare
// parts of its layers.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "game/form1.h"
#include "platform/headless.h"

// A headless host that remembers the visible layer at every nap of a wait,
// so a test can follow an animation frame by frame.
struct WatchingHost : plat::HeadlessHost {
    using plat::HeadlessHost::HeadlessHost;
    std::function<void(const plat::Surface&)> onNap;
    void Nap(const plat::Surface& visible, std::deque<plat::InputEvent>& queue, uint32_t until) override {
        if (onNap) onNap(visible);
        plat::HeadlessHost::Nap(visible, queue, until);
    }
};

struct GameTest : ::testing::Test {
    WatchingHost host{"/opt/tobble7"};
    game::Form1 form{host};
    uint32_t loadedAt = 0;

    // Form_Load with its start-up, then the fixed seed in place of the clock's.
    void Load(uint32_t seed = 7) {
        host.RunUntil(host.now());
        EXPECT_FALSE(form.Run());
        form.SeedRandom(seed);
        loadedAt = host.now();
    }
    bool RunFor(uint32_t ms) {
        host.RunUntil(host.now() + ms);
        return form.Run();
    }
    // Start-up and the battle screen built, as the title's second step does,
    // without the title itself.
    void Battle(uint32_t seed = 7) {
        Load(seed);
        form.SyokiGamen();
    }
    plat::Surface& L(int n) { return form.Display[n]; }
};

// Number of pixels of a w by h rectangle that differ between two surfaces.
inline int Differences(const plat::Surface& a, int ax, int ay, const plat::Surface& b, int bx, int by, int w, int h) {
    int diff = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (a.PixelRGB(ax + x, ay + y) != b.PixelRGB(bx + x, by + y)) ++diff;
    return diff;
}

// A number as the kit prints it: a blank or minus sign, the digits, a blank.
inline std::string NumberText(int v) { return (v < 0 ? "-" : " ") + std::to_string(v < 0 ? -v : v) + " "; }

inline void PrintAt(plat::Surface& s, int x, int y, float size, bool bold, bool italic, plat::Colour c,
                    const std::string& text) {
    s.FontSize = size;
    s.FontBold = bold;
    s.FontItalic = italic;
    s.ForeColor = c;
    s.CurrentX = static_cast<float>(x);
    s.CurrentY = static_cast<float>(y);
    s.Print(text);
}
