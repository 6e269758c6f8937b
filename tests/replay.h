// Key replays stamped with the number of the battle tick after which each
// key is pressed, and the game that plays them.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>

#include "../game/form1.h"
#include "../platform/headless.h"

namespace battle_test {

struct Replay {
    uint32_t seed = 1;
    std::multimap<int, int> keys;  // tick -> virtual key, in file order

    static const char* Name(int vk) {
        switch (vk) {
        case plat::VK_LEFT: return "Left";
        case plat::VK_RIGHT: return "Right";
        case plat::VK_UP: return "Up";
        case plat::VK_DOWN: return "Down";
        case plat::VK_RETURN: return "Enter";
        case plat::VK_ESCAPE: return "Esc";
        default: return "?";
        }
    }
    static int Key(const std::string& name) {
        for (int vk : {plat::VK_LEFT, plat::VK_RIGHT, plat::VK_UP, plat::VK_DOWN, plat::VK_RETURN, plat::VK_ESCAPE})
            if (name == Name(vk)) return vk;
        return 0;
    }

    // Lines: "seed N", "TICK KEY [KEY...]"; "#" starts a comment.
    static bool Load(const std::string& path, Replay& out, std::string& error) {
        std::ifstream in(path);
        if (!in) {
            error = "cannot open " + path;
            return false;
        }
        std::string line;
        int number = 0;
        while (std::getline(in, line)) {
            ++number;
            if (const size_t hash = line.find('#'); hash != std::string::npos) line.resize(hash);
            std::istringstream words(line);
            std::string first;
            if (!(words >> first)) continue;
            if (first == "seed") {
                words >> out.seed;
                continue;
            }
            const int tick = std::atoi(first.c_str());
            std::string name;
            while (words >> name) {
                const int vk = Key(name);
                if (tick <= 0 || vk == 0) {
                    error = path + ":" + std::to_string(number) + ": bad entry";
                    return false;
                }
                out.keys.emplace(tick, vk);
            }
        }
        return true;
    }

    void Save(const std::string& path, const std::string& comment) const {
        std::ofstream out(path);
        out << comment << "seed " << seed << "\n";
        int last = -1;
        for (const auto& [tick, vk] : keys) {
            if (tick != last) out << (last >= 0 ? "\n" : "") << tick;
            out << " " << Name(vk);
            last = tick;
        }
        out << "\n";
    }
};

// The game with its battle ticks counted; after each tick the keys of the
// replay stamped with it are pressed (and the observer may add more).
class ReplayForm : public game::Form1 {
public:
    using game::Form1::Form1;
    int tick = 0;
    uint32_t endedAt = 0;  // virtual time when the game ended
    const Replay* replay = nullptr;
    std::function<void(ReplayForm&)> afterTick;

    void Press(int vk) { loop().Queue().push_back({plat::InputEvent::Key, vk, 0, 0}); }

    void Timer2_Timer() override {
        game::Form1::Timer2_Timer();
        ++tick;
        if (KeyMode == 2 && endedAt == 0) endedAt = host().Ticks();
        if (replay) {
            const auto range = replay->keys.equal_range(tick);
            for (auto it = range.first; it != range.second; ++it) Press(it->second);
        }
        if (afterTick) afterTick(*this);
    }
};

// From the start of the program to the end of the game, or the limit of
// virtual time; true when the game has ended (game over or the clear).
// started receives the virtual time at which the program had loaded.
template <class HostT>
bool PlayReplay(HostT& host, ReplayForm& form, const Replay& r, uint32_t limitMs, uint32_t& started) {
    host.RunUntil(host.now());
    form.Run();
    const uint32_t start = started = host.now();
    form.SeedRandom(r.seed);
    form.replay = &r;
    while (form.KeyMode != 2 || form.Timer2.Interval() != 0) {
        if (host.now() - start > limitMs) break;
        host.RunUntil(host.now() + 10000);
        if (form.Run()) break;
    }
    return form.KeyMode == 2 && form.Timer2.Interval() == 0;
}

}  // namespace battle_test
