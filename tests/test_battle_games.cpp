// Two whole games played from key replays on the virtual clock: one won
// against all eight robots, one lost.
#include <cstdio>
#include <algorithm>
#include <cstdlib>
#include <sstream>

#include "battle_replay.h"

using namespace battle_test;

namespace {

constexpr int kShort = 1, kSpecial = 3, kSleeping = 4;

std::string ReplayPath(const char* name) { return std::string(SOURCE_DIR) + "/tests/replays/" + name; }

Replay LoadReplay(const char* name) {
    Replay r;
    std::string error;
    EXPECT_TRUE(Replay::Load(ReplayPath(name), r, error)) << error;
    return r;
}

int Count(const plat::Surface& s, int x0, int y0, int x1, int y1, uint32_t rgb) {
    int n = 0;
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) n += s.PixelRGB(x, y) == rgb;
    return n;
}

void Report(const char* what, const GameRun& run) {
    std::printf("[ timing   ] %s: %d battle ticks, %.1f s on the virtual clock, %.2f s wall time\n", what,
                run.form.tick, run.virtualMs / 1000.0, run.wallSeconds);
}

TEST(ScriptedGames, AWinAgainstAllEightRobots) {
    const Replay r = LoadReplay("win.txt");
    GameRun run;
    { std::ofstream(run.dir / "se" / "da.txt") << "an older, longer clear file\r\n"; }
    ASSERT_TRUE(run.Play(r)) << "ended by tick " << run.form.tick << " at robot " << int(run.form.RobotIndex);
    Report("winning game", run);
    auto& f = run.form;
    EXPECT_EQ(f.RobotIndex, 8);
    EXPECT_EQ(f.RobotName, "");
    EXPECT_EQ(f.RobotEnergy, 7777);
    EXPECT_EQ(f.AliveCount, 7);
    for (int c = 0; c <= 6; ++c) EXPECT_EQ(f.CharDown[c], 0) << c;
    std::ifstream in(run.dir / "se" / "da.txt", std::ios::binary);
    const std::string clear((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(clear, std::string("KOLTEV\r\n"));

    // The screen: the closing box over the wiped robot, the light letters of
    // Congratulations!, and no game-over box.
    const plat::Surface& screen = f.Display[0];
    EXPECT_EQ(screen.PixelRGB(250, 55), plat::ToRGB(f.RobotBarColour));
    EXPECT_EQ(screen.PixelRGB(518, 145), plat::ToRGB(f.RobotBarColour));
    EXPECT_GT(Count(screen, 300, 60, 470, 125, 0xFFFFFF), 200) << "the three white closing lines";
    EXPECT_GT(Count(screen, 185, 173, 600, 230, plat::ToRGB(f.HpBarColour)), 500);
    EXPECT_NE(screen.PixelRGB(250, 225), plat::ToRGB(f.RobotBarColour));
    EXPECT_EQ(screen.Left, 16);
    EXPECT_EQ(screen.Top, 12);

    // Esc silences, Enter ends.
    run.host.Key(plat::VK_ESCAPE);
    run.host.RunUntil(run.host.now() + 4000);
    EXPECT_FALSE(f.Run());
    run.host.Key(plat::VK_RETURN);
    run.host.RunUntil(run.host.now() + 10);
    EXPECT_TRUE(f.Run());
}

TEST(ScriptedGames, ALossEndingInGameOver) {
    const Replay r = LoadReplay("lose.txt");
    GameRun run;
    ASSERT_TRUE(run.Play(r)) << "still playing at tick " << run.form.tick;
    Report("losing game", run);
    auto& f = run.form;
    EXPECT_LT(f.RobotIndex, 8);
    EXPECT_EQ(f.AliveCount, 1);
    for (int c = 0; c <= 6; ++c) {
        EXPECT_EQ(f.CharDown[c], 1) << c;
        EXPECT_EQ(f.CharHp[c], 0) << c;
        EXPECT_EQ(f.CharY[c], 390) << c;
    }
    EXPECT_FALSE(std::filesystem::exists(run.dir / "se" / "da.txt"));
    const plat::Surface& screen = f.Display[0];
    EXPECT_EQ(screen.PixelRGB(250, 225), plat::ToRGB(f.RobotBarColour));
    EXPECT_EQ(screen.PixelRGB(518, 285), plat::ToRGB(f.RobotBarColour));
    EXPECT_GT(Count(screen, 254, 174, 518, 224, plat::ToRGB(f.GaugeColour)), 200) << "Game Over !";
    EXPECT_GT(Count(screen, 300, 247, 500, 265, 0xFFFFFF), 50) << "the Enter prompt";

    const size_t logAt = run.host.Log().lines.size();
    run.host.Key(plat::VK_ESCAPE);
    run.host.RunUntil(run.host.now() + 7000);
    EXPECT_FALSE(f.Run()) << "Esc only silences";
    for (size_t q = logAt; q < run.host.Log().lines.size(); ++q)
        EXPECT_NE(run.host.Log().lines[q], "mci: play bgm") << "the music stays off";
    run.host.Key(plat::VK_RETURN);
    run.host.RunUntil(run.host.now() + 10);
    EXPECT_TRUE(f.Run());
}

// ---------------------------------------------------------------------------
// The player that recorded win.txt. Run with
//   TOBBLE7_WRITE_REPLAYS=1 unit_tests --gtest_filter='ScriptedGames.Record*'
// after a change to the rules or to the use of random numbers (TOBBLE7_PLAYER,
// TOBBLE7_SEED and TOBBLE7_REPLAY_OUT try other ways of playing, TOBBLE7_TRACE
// shows its progress).

struct Player {
    // How it plays (the recorded game used the values set in RecordTheReplays).
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

    // "key=value ..." for trying other ways of playing.
    void Configure(const std::string& text) {
        std::istringstream in(text);
        std::string item;
        while (in >> item) {
            const size_t eq = item.find('=');
            if (eq == std::string::npos) continue;
            const std::string key = item.substr(0, eq);
            std::vector<int> v;
            std::istringstream values(item.substr(eq + 1));
            for (std::string x; std::getline(values, x, ',');) v.push_back(std::atoi(x.c_str()));
            if (key == "role") std::copy(v.begin(), v.begin() + std::min<size_t>(7, v.size()), role);
            if (key == "camp") std::copy(v.begin(), v.begin() + std::min<size_t>(8, v.size()), campSpeed);
            if (key == "levellers") levellers = v;
            if (key == "caps") caps = v;
            if (key == "mash") mash = v[0];
            if (key == "masher") masher = v[0];
            if (key == "rest") restBelow = v[0];
            if (key == "wake") wakeAt = v[0];
            if (key == "weight") formationWeight = v[0];
            if (key == "trip") tripHp = v[0];
            if (key == "healers") healersInCamp = v[0];
        }
    }
};

TEST(ScriptedGames, RecordTheReplays) {
    if (!std::getenv("TOBBLE7_WRITE_REPLAYS")) GTEST_SKIP() << "set TOBBLE7_WRITE_REPLAYS=1 to record";
    Player player;
    if (const char* p = std::getenv("TOBBLE7_PLAYER")) player.Configure(p);
    player.rec.seed = 669;
    if (const char* p = std::getenv("TOBBLE7_SEED")) player.rec.seed = static_cast<uint32_t>(std::atoll(p));
    GameRun run;
    const bool trace = std::getenv("TOBBLE7_TRACE") != nullptr;
    run.form.afterTick = [&](ReplayForm& f) {
        player(f);
        if (trace && f.tick % 250 == 0)
            std::printf("tick %d robot %d energy %d damage %d levels %d %d %d %d %d %d %d hp %d %d %d %d %d %d %d\n",
                        f.tick, f.RobotIndex, f.RobotEnergy, f.PartyDamage, f.CharLevel[0], f.CharLevel[1],
                        f.CharLevel[2], f.CharLevel[3], f.CharLevel[4], f.CharLevel[5], f.CharLevel[6], f.CharHp[0],
                        f.CharHp[1], f.CharHp[2], f.CharHp[3], f.CharHp[4], f.CharHp[5], f.CharHp[6]);
    };
    Replay none;
    none.seed = player.rec.seed;
    ASSERT_TRUE(run.Play(none));
    Report("recorded game", run);
    std::printf("robot %d, alive %d, energy %d\n", run.form.RobotIndex, run.form.AliveCount, run.form.RobotEnergy);
    ASSERT_EQ(run.form.RobotIndex, 8);
    const char* out = std::getenv("TOBBLE7_REPLAY_OUT");
    player.rec.Save(out ? out : ReplayPath("win.txt"),
                    "# A won game. While the slow robots make their first attacks the party sleeps, member 5\n"
                    "# takes the blows at Special and heals itself, one of members 0 and 6 stands at Special for\n"
                    "# the healing chance, and one member at a time walks up to the chicken game for levels.\n"
                    "# In the fights members 2 and 4 stand at Short and the rest at Special; the low sleep; and\n"
                    "# member 5 turns on its walk twice a tick, each turn a recount that bites the robot.\n"
                    "# Each line: the battle tick after which the keys are pressed, then the keys.\n");
}

}  // namespace
