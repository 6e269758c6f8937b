// Plays a key replay on the headless backend, or records the winning one anew.
//
//   replay REPLAY FOLDER    plays REPLAY with FOLDER as the program folder (its se/
//                           folder is made when missing): a won game writes the
//                           clear file FOLDER/se/da.txt there, as the game does
//   replay --record [OUT]   lets the scripted player win a game and writes its keys
//                           to OUT (tests/replays/win.txt of the source tree when
//                           omitted); needed after a change to the rules or to the
//                           use of random numbers
//
// With --record: --seed N plays another random sequence, --player "key=value ..."
// another way of playing (the keys of Player::Configure), --trace shows progress.
#include <stdlib.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "../tests/replay.h"

using namespace battle_test;
namespace fs = std::filesystem;

namespace {

constexpr int kShort = 1, kSpecial = 3, kSleeping = 4;

// The player that recorded win.txt.
struct Player {
    // How it plays (win.txt was recorded with these values).
    int role[7] = {kSpecial, kSpecial, kShort, kSpecial, kShort, kSpecial, kSpecial};
    int campSpeed[8] = {0, 8, 0, 4, 0, 2, 0, 0};  // attacks of each robot spent on levels
    int restBelow = 8, wakeAt = 30, formationWeight = 45, tripHp = 30;
    int healersInCamp = 2;
    int masher = 5, mash = 2;  // in a fight, turns of member 5's walk per tick
    std::vector<int> levellers = {0, 6, 2, 3};
    std::vector<int> caps = {10, 6, 99, 99};  // levels are shared in these proportions
    int Cap(int c) const {
        for (size_t q = 0; q < levellers.size() && q < caps.size(); ++q)
            if (levellers[q] == c) return caps[q];
        return 99;
    }

    Replay rec;
    int sel = 3;
    int leveller = -1;  // on its way to, at, or back from the chicken game
    bool climbing = false;
    bool resting[7] = {};

    void Press(ReplayForm& f, int vk) {
        f.Press(vk);
        rec.keys.emplace(f.tick, vk);
    }
    void Move(ReplayForm& f, int c, int vk) {
        while (sel < c) Press(f, plat::VK_RIGHT), ++sel;
        while (sel > c) Press(f, plat::VK_LEFT), --sel;
        Press(f, vk);
    }
    void Toward(ReplayForm& f, int c, int target) {
        if (f.CharMoving[c] != 0 || f.CharDown[c]) return;
        if (f.CharPos[c] < target) Move(f, c, plat::VK_DOWN);
        else if (f.CharPos[c] > target) Move(f, c, plat::VK_UP);
    }

    void operator()(ReplayForm& f) {
        if (f.KeyMode != 0) return;
        sel = f.SelectedChar;
        const int untilAttack = (700 - f.SpeedGauge) / f.RobotSpeed + 1;
        int weightTotal = 0;
        for (int c = 0; c <= 6; ++c) weightTotal += f.PositionWeight[f.CharPos[c]];

        // A slow robot's first attacks leave time for levels: the party sleeps
        // (member 5 may take the attacks at Special, healing itself) and one at
        // a time walks up to the chicken game and back.
        const bool camp = f.RobotIndex < 8 && f.RobotSpeed < f.RobotSpeedTable[f.RobotIndex] + campSpeed[f.RobotIndex];
        const int safe = camp ? kSleeping : kShort;  // where a leveller must be when the robot attacks
        if (leveller >= 0 && f.CharDown[leveller]) leveller = -1;
        if (leveller >= 0) {
            const int c = leveller;
            const int back = (safe - 1) * 14 + 2;
            if (f.CharPos[c] == 0 && f.CharMoving[c] == 0) {
                if (32 - f.ChickenCount[c] + back >= untilAttack) Move(f, c, plat::VK_DOWN);
            } else if (f.CharMoving[c] == 0 && f.CharPos[c] > 0) {
                if (camp && climbing && f.CharPos[c] * 14 + 32 + back < untilAttack) {
                    Move(f, c, plat::VK_UP);
                } else {
                    climbing = false;
                    if (f.CharPos[c] < safe) Move(f, c, plat::VK_DOWN);
                    else leveller = -1;
                }
            } else if (f.CharMoving[c] == 1 && f.CharPos[c] == 0) {
                if ((f.CharY[c] - 170) / 4 + 1 + 32 + back >= untilAttack) Move(f, c, plat::VK_DOWN);
            }
            if (f.CharPos[c] == 0 || f.CharMoving[c] == 2) climbing = false;
        } else if (camp) {
            int best = -1;
            for (int c : levellers) {
                if (f.CharDown[c] || f.CharMoving[c] != 0 || f.CharHp[c] * 100 < f.CharMaxHp[c] * tripHp) continue;
                if (f.CharPos[c] * 14 + 32 + (safe - 1) * 14 + 4 >= untilAttack) continue;
                if (f.CharLevel[c] >= Cap(c)) continue;
                if (best < 0 || f.CharLevel[c] * 100 / Cap(c) < f.CharLevel[best] * 100 / Cap(best)) best = c;
            }
            if (best >= 0) {
                leveller = best;
                climbing = true;
                Move(f, best, plat::VK_UP);
            }
        }

        // What the next attack would take from c standing at its post.
        auto share = [&](int c) {
            return f.RobotAttack * f.PositionWeight[role[c]] / std::max(weightTotal, formationWeight) + 1;
        };
        for (int c = 0; c <= 6; ++c) {
            if (c == leveller || f.CharDown[c]) continue;
            if (camp) {
                int post = kSleeping;
                if (c == 5 && f.CharHp[c] > f.RobotAttack + 5) post = kSpecial;
                if (healersInCamp == 1 && (c == 0 || c == 6) && f.CharHp[c] > f.RobotAttack / 2 + 5) post = kSpecial;
                if (healersInCamp == 2 && (c == 0 || c == 6)) {
                    // One of the two raises the chance of healing; the other sleeps.
                    const int other = 6 - c;
                    const bool mine = f.CharDown[other] || other == leveller || f.CharHp[c] > f.CharHp[other] ||
                                      (f.CharHp[c] == f.CharHp[other] && c == 0);
                    if (mine && f.CharHp[c] > f.RobotAttack / 2 + 5) post = kSpecial;
                }
                Toward(f, c, post);
                resting[c] = false;
                continue;
            }
            if (c == masher && mash > 0) {
                // Every turn of its walk makes the party count again, and each
                // count bites into the robot.
                int pos = f.CharPos[c], moving = f.CharMoving[c];  // as the keys will leave them
                for (int k = 0; k < mash; ++k) {
                    if (pos == kSleeping && moving != 1) {
                        Move(f, c, plat::VK_UP);
                        pos = kSpecial, moving = 1;
                    } else if (pos == kSpecial && moving == 1) {
                        Move(f, c, plat::VK_DOWN);
                        pos = kSleeping, moving = 2;
                    } else {
                        if (moving == 0) Toward(f, c, kSleeping);
                        break;
                    }
                }
                continue;
            }
            if (f.CharMoving[c] != 0) continue;
            if (!resting[c] && f.CharHp[c] <= share(c) * restBelow / 10) resting[c] = true;
            if (resting[c] && f.CharHp[c] >= std::min(f.CharMaxHp[c] * 9 / 10, share(c) * wakeAt / 10 + 10))
                resting[c] = false;
            Toward(f, c, resting[c] ? kSleeping : role[c]);
        }
    }

    // "key=value ..." for trying other ways of playing; false names the first
    // item that is not one (members are 0 to 6, posts 0 to 4, and nothing
    // divides by 0).
    bool Configure(const std::string& text, std::string& bad) {
        std::istringstream in(text);
        std::string item;
        while (in >> item) {
            bad = item;
            const size_t eq = item.find('=');
            if (eq == std::string::npos) return false;
            const std::string key = item.substr(0, eq);
            std::vector<int> v;
            std::istringstream values(item.substr(eq + 1));
            for (std::string x; std::getline(values, x, ',');) v.push_back(std::atoi(x.c_str()));
            if (v.empty()) return false;
            const bool members = std::all_of(v.begin(), v.end(), [](int c) { return c >= 0 && c <= 6; });
            const bool positive = std::all_of(v.begin(), v.end(), [](int n) { return n > 0; });
            const bool posts = std::all_of(v.begin(), v.end(), [](int p) { return p >= 0 && p <= kSleeping; });
            if (key == "role" && posts) std::copy(v.begin(), v.begin() + std::min<size_t>(7, v.size()), role);
            else if (key == "camp") std::copy(v.begin(), v.begin() + std::min<size_t>(8, v.size()), campSpeed);
            else if (key == "levellers" && members) levellers = v;
            else if (key == "caps" && positive) caps = v;
            else if (key == "mash") mash = v[0];
            else if (key == "masher" && members) masher = v[0];
            else if (key == "rest") restBelow = v[0];
            else if (key == "wake") wakeAt = v[0];
            else if (key == "weight" && positive) formationWeight = v[0];
            else if (key == "trip") tripHp = v[0];
            else if (key == "healers") healersInCamp = v[0];
            else return false;
        }
        return true;
    }
};

void Report(const ReplayForm& f, uint32_t virtualMs) {
    if (f.RobotIndex == 8)
        std::printf("won: all eight robots beaten, %d of 7 standing", f.AliveCount);
    else
        std::printf("lost at robot %d", f.RobotIndex + 1);
    std::printf(", %d battle ticks, %.1f s of play\n", f.tick, virtualMs / 1000.0);
}

int Play(const std::string& file, const fs::path& folder) {
    Replay r;
    std::string error;
    if (!Replay::Load(file, r, error)) {
        std::fprintf(stderr, "replay: %s\n", error.c_str());
        return 1;
    }
    std::error_code ec;
    fs::create_directories(folder / "se", ec);
    if (ec) {
        std::fprintf(stderr, "replay: cannot make %s: %s\n", (folder / "se").c_str(), ec.message().c_str());
        return 1;
    }
    plat::HeadlessHost host(folder.string());
    ReplayForm form(host);
    uint32_t start = 0;
    if (!PlayReplay(host, form, r, 4 * 3600 * 1000, start)) {
        std::fprintf(stderr, "replay: the game had not ended after four hours of play\n");
        return 1;
    }
    Report(form, (form.endedAt ? form.endedAt : host.now()) - start);
    return 0;
}

int Record(const std::string& out, uint32_t seed, const std::string& style, bool trace) {
    Player player;
    std::string bad;
    if (!player.Configure(style, bad)) {
        std::fprintf(stderr, "replay: not a way of playing: %s\n", bad.c_str());
        return 2;
    }
    player.rec.seed = seed;
    char name[] = "/tmp/tobble7-record-XXXXXX";
    const char* made = mkdtemp(name);
    if (!made) {
        std::perror("replay: a scratch folder");
        return 1;
    }
    const fs::path dir = made;
    fs::create_directories(dir / "se");
    int status = 1;
    {
        plat::HeadlessHost host(dir.string());
        ReplayForm form(host);
        form.afterTick = [&](ReplayForm& f) {
            player(f);
            if (trace && f.tick % 250 == 0)
                std::printf("tick %d robot %d energy %d damage %d levels %d %d %d %d %d %d %d hp %d %d %d %d %d %d %d\n",
                            f.tick, f.RobotIndex, f.RobotEnergy, f.PartyDamage, f.CharLevel[0], f.CharLevel[1],
                            f.CharLevel[2], f.CharLevel[3], f.CharLevel[4], f.CharLevel[5], f.CharLevel[6],
                            f.CharHp[0], f.CharHp[1], f.CharHp[2], f.CharHp[3], f.CharHp[4], f.CharHp[5],
                            f.CharHp[6]);
        };
        Replay none;
        none.seed = seed;
        uint32_t start = 0;
        const bool ended = PlayReplay(host, form, none, 4 * 3600 * 1000, start);
        if (ended) Report(form, (form.endedAt ? form.endedAt : host.now()) - start);
        if (!ended || form.RobotIndex != 8) {
            std::fprintf(stderr, "replay: this way of playing does not win; nothing written\n");
        } else {
            player.rec.Save(
                out,
                "# A won game. While the slow robots make their first attacks the party sleeps, member 5\n"
                "# takes the blows at Special and heals itself, one of members 0 and 6 stands at Special for\n"
                "# the healing chance, and one member at a time walks up to the chicken game for levels.\n"
                "# In the fights members 2 and 4 stand at Short and the rest at Special; the low sleep; and\n"
                "# member 5 turns on its walk twice a tick, each turn a recount that bites the robot.\n"
                "# Each line: the battle tick after which the keys are pressed, then the keys.\n");
            std::printf("%s\n", out.c_str());
            status = 0;
        }
    }
    std::error_code ec;
    fs::remove_all(dir, ec);
    return status;
}

int Usage() {
    std::fprintf(stderr,
                 "usage: replay REPLAY FOLDER\n"
                 "       replay --record [--seed N] [--player \"key=value ...\"] [--trace] [OUT]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (!args.empty() && args[0] == "--record") {
        std::string out = std::string(SOURCE_DIR) + "/tests/replays/win.txt", style;
        uint32_t seed = 669;  // the recorded game's
        bool trace = false;
        for (size_t k = 1; k < args.size(); ++k) {
            if (args[k] == "--seed" && k + 1 < args.size()) {
                seed = static_cast<uint32_t>(std::strtoul(args[++k].c_str(), nullptr, 10));
            } else if (args[k] == "--player" && k + 1 < args.size()) {
                style = args[++k];
            } else if (args[k] == "--trace") {
                trace = true;
            } else if (args[k].rfind("--", 0) == 0) {
                return Usage();
            } else {
                out = args[k];
            }
        }
        return Record(out, seed, style, trace);
    }
    if (args.size() != 2 || args[0].rfind("--", 0) == 0) return Usage();
    return Play(args[0], args[1]);
}
