// The game's start-up state, its title sequence and the start of the battle.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <vector>
#include <unistd.h>

#include "game_fixture.h"

namespace {

// Near white: the label's white edge is smoothed into the picture.
bool Whitish(uint32_t p) { return (p >> 16 & 255) >= 200 && (p >> 8 & 255) >= 200 && (p & 255) >= 200; }

int CodePoints(const std::string& s) {
    return static_cast<int>(std::count_if(s.begin(), s.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

}  // namespace

TEST_F(GameTest, StartUpStateIsThePartyIdleAtLongAgainstTheFirstRobot) {
    Load();
    const int hp[7] = {50, 60, 60, 50, 80, 80, 50};
    const int shortAtk[7] = {0, 3, 8, 5, 5, 4, 0}, longAtk[7] = {3, 3, 0, 5, 0, 4, 4};
    const int grow[7][3] = {{4, 0, 3}, {5, 1, 1}, {10, 9, 0}, {7, 4, 4}, {20, 5, 0}, {12, 3, 1}, {6, 0, 2}};
    for (int c = 0; c <= 6; ++c) {
        SCOPED_TRACE(c);
        EXPECT_EQ(form.CharPos[c], 2);
        EXPECT_EQ(form.CharMoving[c], 0);
        EXPECT_EQ(form.CharX[c], 224 + 48 * c);
        EXPECT_EQ(form.CharY[c], 280);
        EXPECT_EQ(form.CharLevel[c], 1);
        EXPECT_EQ(form.CharAnimFrame[c], 1);
        EXPECT_EQ(form.CharHp[c], hp[c]);
        EXPECT_EQ(form.CharMaxHp[c], hp[c]);
        EXPECT_EQ(form.CharShortAtk[c], shortAtk[c]);
        EXPECT_EQ(form.CharLongAtk[c], longAtk[c]);
        EXPECT_EQ(form.GrowMaxHp[c], grow[c][0]);
        EXPECT_EQ(form.GrowShort[c], grow[c][1]);
        EXPECT_EQ(form.GrowLong[c], grow[c][2]);
        EXPECT_EQ(form.CharDown[c], 0);
        EXPECT_EQ(form.CharMoveStep[c], 10);
        EXPECT_EQ(form.ChickenCount[c], 0);
    }
    EXPECT_EQ(form.CharName[5], "カンティーユ");
    EXPECT_EQ(form.AbilityName[2], "-----");
    EXPECT_EQ(form.AbilityName[1], "鼓舞");
    EXPECT_EQ(form.PositionName[5], "リタイア");
    const uint8_t weights[6] = {10, 10, 5, 1, 0, 0};
    const int16_t rows[6] = {64, 32, 96, 128, 128, 128};
    for (int p = 0; p <= 5; ++p) {
        EXPECT_EQ(form.PositionWeight[p], weights[p]);
        EXPECT_EQ(form.SpriteRowY[p], rows[p]);
    }
    EXPECT_EQ(form.SpriteColX[1], 64);
    EXPECT_EQ(form.SpriteColX[2], 128);

    EXPECT_EQ(form.SelectedChar, 3);
    EXPECT_EQ(form.RobotIndex, 0);
    EXPECT_EQ(form.RobotName, "ミッドナイトクック");
    EXPECT_EQ(form.RobotEnergy, 500);
    EXPECT_EQ(form.RobotMaxEnergy, 500);
    EXPECT_EQ(form.RobotAttack, 50);
    EXPECT_EQ(form.RobotSpeed, 6);
    EXPECT_EQ(form.RobotPicture, 1);
    EXPECT_EQ(form.RobotNameTable[5], "リトル-９Ｃ・typeＰ");
    EXPECT_EQ(form.RobotNameTable[8], "");
    EXPECT_EQ(form.RobotEnergyTable[8], 7777);
    EXPECT_EQ(form.RobotAttackTable[8], 777);
    EXPECT_EQ(form.RobotEnergyTable[7], 9999);
    EXPECT_EQ(form.AliveCount, 7);
    EXPECT_EQ(form.SpeedGauge, 0);
    EXPECT_EQ(form.PartyDamage, 0);
    EXPECT_EQ(form.HealChance, 0);
    EXPECT_EQ(form.TalkTimer, 0);
    EXPECT_EQ(form.KeyMode, 0);
    EXPECT_EQ(form.TitlePhase, 0);
    EXPECT_EQ(form.CursorColour, plat::RGB(90, 30, 40));
    EXPECT_EQ(form.RobotBarColour, plat::RGB(255, 152, 143));

    // The start-up draws nothing: all three layers are black until the first tick.
    for (int l = 0; l <= 2; ++l)
        for (uint32_t p : L(l).Pixels()) ASSERT_EQ(p, 0u) << "layer " << l;
    EXPECT_EQ(form.Timer1.Interval(), 1);
}

TEST(GameFolder, OneSeparatorEndsTheProgramFolder) {
    for (auto [folder, want] : {std::pair<const char*, const char*>{"/opt/tobble7", "/opt/tobble7/"}, {"/", "/"}}) {
        plat::HeadlessHost host(folder);
        game::Form1 form(host);
        form.Form_Load();
        EXPECT_EQ(form.appPath, want);
    }
}

TEST_F(GameTest, EveryVoiceLineIsAShortExclamation) {
    Load();
    for (int c = 0; c <= 6; ++c)
        for (int e = 0; e <= 5; ++e) {
            const int len = CodePoints(form.VoiceLine[c][e]);
            EXPECT_GE(len, 3) << c << "," << e << " " << form.VoiceLine[c][e];
            EXPECT_LE(len, 8) << c << "," << e << " " << form.VoiceLine[c][e];
        }
    EXPECT_EQ(form.VoiceLine[0][0], "ヤッホー！");
    EXPECT_EQ(form.VoiceLine[0][3], "おやすみ～");
    // The small animal only ever makes its one cry.
    for (int e = 0; e <= 5; ++e) EXPECT_EQ(form.VoiceLine[5][e].rfind("チョ", 0), 0u) << e;
}

TEST_F(GameTest, OnlySleepingAndPainedFacesCarryTheirLabels) {
    Load();
    for (int f = 0; f <= 21; ++f) {
        SCOPED_TRACE(f);
        char name[16];
        std::snprintf(name, sizeof name, "face-%02d", f);
        const plat::Surface art = kit::LoadArt(GameArt(), name);
        ASSERT_EQ(form.Face[f].Width(), 90);
        ASSERT_EQ(form.Face[f].Height(), 90);
        const bool labelled = f < 21 && f % 3 != 0;
        // Nothing changes above the label's line.
        EXPECT_EQ(Differences(art, 0, 0, form.Face[f], 0, 0, 90, 69), 0);
        if (!labelled) {
            EXPECT_EQ(Differences(art, 0, 0, form.Face[f], 0, 0, 90, 90), 0);
            continue;
        }
        int black = 0, white = 0;
        for (int y = 69; y < 90; ++y)
            for (int x = 0; x < 90; ++x) {
                if (form.Face[f].PixelRGB(x, y) == 0 && art.PixelRGB(x, y) != 0) ++black;
                if (Whitish(form.Face[f].PixelRGB(x, y)) && !Whitish(art.PixelRGB(x, y))) ++white;
            }
        EXPECT_GT(black, 40) << "the black label";
        EXPECT_GT(white, 20) << "its white edge";
    }
    // The white copies stand one pixel left (and up, for the sleeping label) of the black text.
    const plat::Surface& sleeping = form.Face[1];
    bool edgeLeft = false;
    for (int y = 70; y < 90 && !edgeLeft; ++y)
        for (int x = 9; x < 90; ++x)
            if (sleeping.PixelRGB(x, y) == 0 && Whitish(sleeping.PixelRGB(x - 1, y - 1))) edgeLeft = true;
    EXPECT_TRUE(edgeLeft);
}

TEST_F(GameTest, TitleShowsTheSignThenSoundFiveThenTheLogoRisingInSevenSteps) {
    Load();
    const plat::Surface& v = L(0);
    // Every state of the logo's square seen during the waits, in order, with
    // the time and the number of sounds played so far.
    struct Seen { uint32_t at; int height; size_t sounds; };
    std::vector<Seen> seen;
    auto blackAbove = [&](const plat::Surface& s, int bottom) {
        for (int y = 300; y < bottom; ++y)
            for (int x = 352; x < 416; ++x)
                if (s.PixelRGB(x, y) != 0) return false;
        return true;
    };
    // The height of the logo piece shown: its top h rows end at y 373, black above.
    auto logoHeight = [&](const plat::Surface& s) {
        if (blackAbove(s, 374)) return 0;
        for (int h = 64; h >= 1; --h)
            if (Differences(s, 352, 374 - h, form.RogoP, 0, 0, 64, h) == 0 && blackAbove(s, 374 - h)) return h;
        return -1;
    };
    host.onNap = [&](const plat::Surface& s) {
        const int h = logoHeight(s);
        size_t sounds = 0;
        for (auto& line : host.Log().lines) sounds += line.rfind("snd:", 0) == 0;
        if (seen.empty() || seen.back().height != h) seen.push_back({host.now(), h, sounds});
    };
    RunFor(10);
    ASSERT_EQ(seen.size(), 8u);
    EXPECT_EQ(seen[0].height, 0);
    EXPECT_EQ(seen[0].sounds, 0u) << "no sound while the sign stands alone";
    for (int step = 1; step <= 7; ++step) {
        EXPECT_EQ(seen[step].height, 10 * step - 6) << "step " << step;
        EXPECT_EQ(seen[step].sounds, 1u);
    }
    EXPECT_GE(seen[1].at - seen[0].at, 200u) << "sound 5 and the logo only after 200 ms of the sign";
    EXPECT_EQ(host.Log().lines.front().substr(host.Log().lines.front().size() - 4), "/se5");

    // After the step: sign at (224, 182), whole logo at (352, 310), KeyMode 5.
    EXPECT_EQ(Differences(v, 224, 182, form.KanbanP, 0, 0, 320, 96), 0);
    EXPECT_EQ(Differences(v, 352, 310, form.RogoP, 0, 0, 64, 64), 0);
    EXPECT_EQ(form.KeyMode, 5);
    EXPECT_EQ(form.TitlePhase, 1);
    EXPECT_EQ(form.Timer1.Interval(), 2000);
    EXPECT_EQ(form.Timer2.Interval(), 0);
}

TEST_F(GameTest, TheBattleScreenReplacesTheTitleAboutTwoPointFourSecondsAfterTheFirstTick) {
    Load();
    const uint32_t firstTick = loadedAt + 1;
    host.InjectAt(firstTick + 1, {plat::InputEvent::Key, plat::VK_ESCAPE, 0, 0});
    host.InjectAt(firstTick + 1000, {plat::InputEvent::Key, plat::VK_ESCAPE, 0, 0});
    host.InjectAt(firstTick + 1500, {plat::InputEvent::Key, plat::VK_DOWN, 0, 0});
    host.RunUntil(firstTick + 2400);
    EXPECT_FALSE(form.Run()) << "keys during the title do nothing, Esc included";
    EXPECT_EQ(form.KeyMode, 5);
    EXPECT_EQ(form.CharPos[3], 2);
    EXPECT_EQ(L(0).PixelRGB(0, 0), 0u) << "still the title";
    host.RunUntil(firstTick + 2430);
    EXPECT_FALSE(form.Run());
    EXPECT_NE(L(0).PixelRGB(0, 0), 0u) << "the battle screen's frame";
    EXPECT_EQ(form.KeyMode, 0);
    EXPECT_EQ(form.Timer1.Interval(), 0);
    EXPECT_EQ(form.Timer2.Interval(), 100);
    EXPECT_EQ(form.Timer3.Interval(), 3000);
    const auto& log = host.Log().lines;
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log[log.size() - 2].rfind("mci: open ", 0), 0u) << "the battle music (no file here: silent)";
    EXPECT_EQ(log.back(), "mci: play bgm");
    EXPECT_EQ(Differences(L(0), 192, 165, L(2), 192, 165, 384, 255), 0) << "no sprite before the first battle tick";
    RunFor(100);
    EXPECT_NE(Differences(L(0), 192, 165, L(2), 192, 165, 384, 255), 0) << "the sprites from the first tick on";
}

TEST_F(GameTest, AClickDuringTheTitleEndsTheProgram) {
    Load();
    host.InjectAt(loadedAt + 1200, {plat::InputEvent::Click, 0, 400, 300});
    host.RunUntil(loadedAt + 5000);
    EXPECT_TRUE(form.Run());
    EXPECT_EQ(form.KeyMode, 5);
    EXPECT_EQ(host.Log().lines.back(), "mci: close bgm");
}

TEST(GameMusic, TheBattleMusicStartsAgainWithinThreeSecondsOfItsEnd) {
    namespace fs = std::filesystem;
    const fs::path folder = fs::path(::testing::TempDir()) / ("tobble7-music-" + std::to_string(getpid()));
    fs::create_directories(folder / "bg");
    fs::copy_file(fs::path(SOURCE_DIR) / "bg" / "bg1.mid", folder / "bg" / "bg1.mid", fs::copy_options::overwrite_existing);
    plat::HeadlessHost host(folder.string());
    game::Form1 form(host);
    host.RunUntil(host.now() + 2500);
    EXPECT_FALSE(form.Run());
    ASSERT_TRUE(host.music().Playing()) << "the battle music plays from the battle start";
    host.music().EndPiece();
    host.RunUntil(host.now() + 3000);
    EXPECT_FALSE(form.Run());
    EXPECT_TRUE(host.music().Playing()) << "played again from its start";
    EXPECT_EQ(host.Log().lines.back(), "mci: play bgm");

    // Once the music is closed the checks go on and play nothing.
    form.PlayM(1);
    form.CloseM();
    const size_t lines = host.Log().lines.size();
    host.RunUntil(host.now() + 6100);
    EXPECT_FALSE(form.Run());
    EXPECT_FALSE(host.music().Playing());
    EXPECT_EQ(form.Timer3.Interval(), 3000);
    for (size_t l = lines; l < host.Log().lines.size(); ++l)
        EXPECT_EQ(host.Log().lines[l].find("play"), std::string::npos) << host.Log().lines[l];
    fs::remove_all(folder);
}

TEST_F(GameTest, FaceLabelsAreTheirPassesInOrderAtTheirPlaces) {
    Load();
    // Text, size, and the passes: colour and place in the picture's own pixels.
    struct Pass { int palette, x, y; };
    const struct { int offset; const char* text; float size; std::vector<Pass> passes; } labels[] = {
        {1, "Sleeping...", 11, {{15, 8, 69}, {0, 9, 70}}},
        {2, "Danger！", 12, {{15, 15, 70}, {15, 17, 70}, {0, 16, 70}}},
    };
    for (int c = 0; c <= 6; ++c)
        for (const auto& label : labels) {
            const int f = 3 * c + label.offset;
            SCOPED_TRACE(f);
            char name[16];
            std::snprintf(name, sizeof name, "face-%02d", f);
            plat::Surface want = kit::LoadArt(GameArt(), name);
            for (const Pass& p : label.passes)
                PrintAt(want, p.x, p.y, label.size, true, false, plat::QBColor(p.palette), label.text);
            EXPECT_EQ(Differences(form.Face[f], 0, 0, want, 0, 0, 90, 90), 0);
        }
}
