// Two whole games played from key replays on the virtual clock: one won
// against all eight robots, one lost.
#include <cstdio>

#include "battle_replay.h"

using namespace battle_test;

namespace {

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

}  // namespace
