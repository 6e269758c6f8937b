// A whole game played from a key replay on the headless backend.
#pragma once

#include <chrono>

#include "battle_fixture.h"
#include "replay.h"

namespace battle_test {

struct GameRun {
    fs::path dir = FreshFolder();
    BattleHost host{dir.string()};
    ReplayForm form{host};
    double wallSeconds = 0;
    uint32_t virtualMs = 0;

    ~GameRun() {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }

    // From the start of the program to the end of the game (or the limit of
    // virtual time); true when the game has ended.
    bool Play(const Replay& r, uint32_t limitMs = 4 * 3600 * 1000) {
        const auto t0 = std::chrono::steady_clock::now();
        uint32_t start = 0;
        const bool ended = PlayReplay(host, form, r, limitMs, start);
        virtualMs = (form.endedAt ? form.endedAt : host.now()) - start;
        wallSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        return ended;
    }
};

}  // namespace battle_test
