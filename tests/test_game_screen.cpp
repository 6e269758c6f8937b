// The battle screen: scenery, robot and HP displays, sprites, faces, balloons
// and the party panel, checked on the layers' pixels.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

#include "game_fixture.h"

namespace {

// The colour a layer stores for a program colour.
uint32_t Px(plat::Colour c) { return plat::ToRGB(c); }

}  // namespace

TEST_F(GameTest, OneSeedGivesOneSceneryFromItsFirst204Draws) {
    Battle(11);
    const plat::Surface first = L(2);
    const double next = form.Rnd();

    WatchingHost otherHost{"/opt/tobble7"};
    game::Form1 other{otherHost};
    other.Form_Load();
    other.SeedRandom(11);
    other.SyokiGamen();
    EXPECT_EQ(Differences(first, 0, 0, other.Display[2], 0, 0, 768, 576), 0);

    std::mt19937 reference(11);
    for (int d = 0; d < 204; ++d) reference();
    EXPECT_EQ(next, reference() / 4294967296.0) << "60 draws for the tufts and 144 for the ground, no more";

    // The sleeper rows hold no pebbled ground, whatever the draws: each of their
    // cells between the rails is the sleeper tile 22.
    plat::Surface sleeper(32, 32);
    plat::BitBlt(sleeper, 0, 0, 32, 32, form.Chip, (22 % 6) * 32, (22 / 6) * 32, plat::SRCCOPY);
    for (int row : {2, 5, 8, 11})  // row 14 lies under the faces
        for (int col : {7, 8, 9, 10, 13, 14, 15, 16})
            EXPECT_EQ(Differences(L(2), col * 32, row * 32, sleeper, 0, 0, 32, 32), 0) << col << "," << row;
}

TEST_F(GameTest, TheRobotViewOnTheCleanBackgroundShowsBareTracks) {
    Battle();
    EXPECT_EQ(Differences(L(0), 321, 33, form.RoboP[1], 0, 0, 127, 127), 0);
    EXPECT_EQ(Differences(L(1), 321, 33, form.RoboP[1], 0, 0, 127, 127), 0);
    EXPECT_GT(Differences(L(2), 321, 33, form.RoboP[1], 0, 0, 127, 127), 1000);
    // The rail of column 11 runs through it.
    plat::Surface rail(32, 32);
    plat::BitBlt(rail, 0, 0, 32, 32, form.Chip, (17 % 6) * 32, (17 / 6) * 32, plat::SRCCOPY);
    EXPECT_EQ(Differences(L(2), 11 * 32, 3 * 32, rail, 0, 0, 32, 32), 0);
}

TEST_F(GameTest, PanelsAreAMeshOverTheGroundWithARampFromBlackToNearWhite) {
    Load();
    form.Dodai();
    const plat::Surface ground = L(2);
    form.Kage();
    const uint32_t mesh = Px(form.CursorColour);
    const struct { int x1, y1, x2, y2; } panels[] = {{32, 32, 160, 224}, {608, 32, 736, 224}, {32, 240, 160, 304}, {608, 240, 736, 304}};
    for (auto p : panels) {
        SCOPED_TRACE(p.x1 * 1000 + p.y1);
        for (int y = p.y1 + 6; y <= p.y2 - 6; ++y)
            for (int x = p.x1 + 6; x <= p.x2 - 6; ++x) {
                if (x % 2 == 1 && y % 2 == 1)
                    ASSERT_EQ(L(2).PixelRGB(x, y), ground.PixelRGB(x, y)) << x << "," << y;
                else
                    ASSERT_EQ(L(2).PixelRGB(x, y), mesh) << x << "," << y;
            }
        for (int r = 0; r <= 5; ++r) {
            const uint32_t grey = Px(plat::RGB(50 * r, 50 * r, 50 * r));
            EXPECT_EQ(L(2).PixelRGB(p.x1 + r, (p.y1 + p.y2) / 2), grey) << "left ramp " << r;
            EXPECT_EQ(L(2).PixelRGB((p.x1 + p.x2) / 2, p.y2 - r), grey) << "bottom ramp " << r;
        }
    }
    // Outside the panels the ground is untouched.
    EXPECT_EQ(L(2).PixelRGB(161, 100), ground.PixelRGB(161, 100));
    EXPECT_EQ(L(2).PixelRGB(300, 230), ground.PixelRGB(300, 230));
}

TEST_F(GameTest, HpBoxesAreBlackInsideWithWhiteOutlines) {
    Battle();
    for (int c = 0; c <= 6; ++c) {
        SCOPED_TRACE(c);
        const int j = 96 * c + 81;
        EXPECT_EQ(L(2).PixelRGB(j - 33, 438), 0xFFFFFFu) << "number box outline";
        EXPECT_EQ(L(2).PixelRGB(j - 32, 438), 0u) << "one pixel wide";
        EXPECT_EQ(L(2).PixelRGB(j, 438), 0xFFFFFFu) << "bar box outline";
        EXPECT_EQ(L(2).PixelRGB(j + 1, 438), 0xFFFFFFu) << "two pixels wide";
        EXPECT_EQ(L(2).PixelRGB(j + 2, 438), 0u);
        EXPECT_EQ(L(2).PixelRGB(j + 30, 433), 0u) << "black inside";
    }
    // Gauge boxes and the engraved rules.
    EXPECT_EQ(L(2).PixelRGB(100, 200), 0u);
    EXPECT_EQ(L(2).PixelRGB(46, 200), 0xFFFFFFu);
    EXPECT_EQ(L(2).PixelRGB(700, 88), 0u);
    EXPECT_EQ(L(2).PixelRGB(700, 80), 0xFFFFFFu);
    EXPECT_EQ(L(2).PixelRGB(100, 66), 0xFFFFFFu);
    EXPECT_EQ(L(2).PixelRGB(100, 67), Px(plat::QBColor(7)));
    EXPECT_EQ(L(2).PixelRGB(700, 68), 0u);
}

TEST_F(GameTest, HpBarsAreFlooredFromTheQuotientTimesTheHp) {
    Battle();
    const uint32_t bar = Px(form.HpBarColour);
    const struct { int hp, max, len; } cases[] = {
        {50, 50, 53}, {60, 60, 53}, {80, 80, 53}, {100, 100, 53},
        {76, 76, 52}, {83, 83, 52}, {95, 95, 52}, {97, 97, 52},
        {25, 50, 26}, {0, 60, 0}, {-1, 50, -2},
    };
    for (auto c : cases) {
        SCOPED_TRACE(testing::Message() << c.hp << "/" << c.max);
        const int m = 2;  // a middle member, with neighbours on both sides
        form.CharHp[m] = static_cast<int16_t>(c.hp);
        form.CharMaxHp[m] = static_cast<int16_t>(c.max);
        form.HpHyouji();
        const int start = 96 * m + 83, end = start + c.len;
        for (int x = std::min(start, end); x <= std::max(start, end); ++x) {
            EXPECT_EQ(L(0).PixelRGB(x, 441), bar) << x;
            EXPECT_EQ(L(1).PixelRGB(x, 441), bar) << x;
        }
        if (c.len >= 0) {
            EXPECT_NE(L(0).PixelRGB(end + 1, 441), bar) << "ends at the floored length";
        } else {
            EXPECT_NE(L(0).PixelRGB(start + 1, 441), bar) << "a negative length lies left of the start";
            EXPECT_NE(L(0).PixelRGB(end - 1, 441), bar);
        }
    }
    // A second call with the same state changes nothing.
    const plat::Surface before = L(0);
    form.HpHyouji();
    EXPECT_EQ(Differences(before, 0, 0, L(0), 0, 0, 768, 576), 0);
}

TEST_F(GameTest, EnergyBarAndNumber) {
    Battle();
    const uint32_t bar = Px(form.RobotBarColour);
    const struct { int energy, len, offset; } cases[] = {{500, 100, 10}, {250, 50, 10}, {0, 0, 30}, {9, 1, 30}, {10, 2, 20}, {99, 19, 20}};
    for (auto c : cases) {
        SCOPED_TRACE(c.energy);
        form.RobotEnergy = static_cast<int16_t>(c.energy);
        form.ThpHyouji();
        for (int x = 622; x <= 622 + c.len && x <= 721; ++x) ASSERT_EQ(L(0).PixelRGB(x, 90), bar) << x;
        if (c.len < 99) {
            EXPECT_EQ(L(0).PixelRGB(623 + c.len, 90), 0u);
        }
        EXPECT_EQ(L(0).PixelRGB(722, 90), 0u) << "the shown bar stops at 721";
        plat::Surface want = L(2);
        PrintAt(want, 620 + c.offset, 100, 28, true, false, plat::QBColor(0), NumberText(c.energy));
        PrintAt(want, 622 + c.offset, 102, 28, true, false, plat::QBColor(15), NumberText(c.energy));
        EXPECT_EQ(Differences(L(0), 622, 100, want, 622, 100, 100, 40), 0);
    }
    // Robot 8's 9999-class numbers stand at offset 0; 1000 too.
    form.RobotMaxEnergy = 7777;
    form.RobotEnergy = 7777;
    form.ThpHyouji();
    plat::Surface want = L(2);
    PrintAt(want, 620, 100, 28, true, false, plat::QBColor(0), NumberText(7777));
    PrintAt(want, 622, 102, 28, true, false, plat::QBColor(15), NumberText(7777));
    EXPECT_EQ(Differences(L(0), 622, 100, want, 622, 100, 100, 40), 0);
}

TEST_F(GameTest, NameAttackAndSpeedOfTheFirstRobot) {
    Battle();
    plat::Surface want = L(2);
    PrintAt(want, 638, 251, 28, false, false, plat::QBColor(0), NumberText(50));
    PrintAt(want, 640, 253, 28, false, false, plat::QBColor(15), NumberText(50));
    EXPECT_EQ(Differences(L(0), 608, 240, want, 608, 240, 129, 65), 0) << "attack 50 at offset 10";
    EXPECT_EQ(form.pixelX, 10);
    PrintAt(want, 623, 50, 9, false, false, plat::QBColor(15), form.RobotName);
    PrintAt(want, 623, 51, 9, false, false, plat::QBColor(15), form.RobotName);
    EXPECT_EQ(Differences(L(0), 614, 40, want, 614, 40, 116, 24), 0) << "the name, twice";
    PrintAt(want, 620, 176, 10, true, false, plat::QBColor(15), "スピード");
    PrintAt(want, 680, 176, 10, true, false, plat::QBColor(15), NumberText(6));
    EXPECT_EQ(Differences(L(0), 620, 176, want, 620, 176, 100, 16), 0) << "speed";
}

TEST_F(GameTest, DamageSharesFollowTheWeightsOfThePositions) {
    Battle();
    auto expectShares = [&](const int (&shares)[7]) {
        plat::Surface want = L(2);
        for (int c = 0; c <= 6; ++c)
            PrintAt(want, 51 + 96 * c, 452, 12, true, true, plat::QBColor(0), NumberText(shares[c]));
        for (int c = 0; c <= 6; ++c)
            EXPECT_EQ(Differences(L(1), 51 + 96 * c, 451, want, 51 + 96 * c, 451, 90, 40), 0) << "face " << c;
    };
    form.KerHyouji();
    expectShares({7, 7, 7, 7, 7, 7, 7});
    EXPECT_EQ(form.k, 7);
    EXPECT_EQ(form.n, 7);

    const uint8_t pos[7] = {1, 0, 1, 2, 1, 2, 2};  // one at ChickenGame, three at Short, three at Long
    for (int c = 0; c <= 6; ++c) form.CharPos[c] = pos[c];
    form.KerHyouji();
    expectShares({9, 50, 9, 4, 9, 4, 4});

    // Nobody where the robot's attack lands: everyone, the retired too, takes a share of the living.
    const uint8_t away[7] = {4, 5, 4, 4, 5, 4, 4};
    for (int c = 0; c <= 6; ++c) form.CharPos[c] = away[c];
    form.AliveCount = 5;
    form.KerHyouji();
    expectShares({10, 10, 10, 10, 10, 10, 10});
    // A count of nobody alive is never left by the rules; read as one, not divided by.
    form.AliveCount = 0;
    form.KerHyouji();
    expectShares({50, 50, 50, 50, 50, 50, 50});
    // With a weight somewhere, sleepers and the retired show 0.
    form.CharPos[0] = 3;
    form.KerHyouji();
    expectShares({50, 0, 0, 0, 0, 0, 0});
}

// The shares the faces show are what the next attack takes, also where no
// weight counts and where nobody is counted alive.
TEST_F(GameTest, TheSharesShownAreTheDamageTheAttackDeals) {
    Battle();
    const struct { const char* what; int attack; int pos[7]; int alive; } cases[] = {
        {"all at Long", 50, {2, 2, 2, 2, 2, 2, 2}, 7},
        {"every position", 777, {0, 1, 1, 2, 3, 2, 4}, 7},
        {"shares that do not divide evenly", 61, {1, 2, 3, 2, 1, 4, 2}, 7},
        {"no weight: three asleep, four retired", 60, {5, 4, 5, 4, 5, 4, 5}, 3},
        {"no weight and nobody counted alive", 60, {5, 5, 5, 5, 5, 5, 5}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        form.RobotAttack = static_cast<int16_t>(c.attack);
        form.AliveCount = static_cast<uint8_t>(c.alive);
        int16_t before[7];
        for (int m = 0; m <= 6; ++m) {
            form.CharPos[m] = static_cast<uint8_t>(c.pos[m]);
            form.CharMoving[m] = 0;
            form.CharDown[m] = c.pos[m] == 5;
            form.CharHp[m] = before[m] = 1000;
        }
        plat::Surface want = L(1);
        form.DmHyouji();
        const plat::Surface shown = L(1);
        form.Tujyo();
        for (int m = 0; m <= 6; ++m)
            PrintAt(want, 51 + 96 * m, 452, 12, true, true, plat::QBColor(0), NumberText(before[m] - form.CharHp[m]));
        for (int m = 0; m <= 6; ++m)
            EXPECT_EQ(Differences(shown, 51 + 96 * m, 451, want, 51 + 96 * m, 451, 90, 40), 0)
                << "member " << m << " lost " << before[m] - form.CharHp[m];
    }
}

TEST_F(GameTest, TheSelectedFaceIsFramedOnTheScreenOnly) {
    Battle();
    form.SelectedChar = 5;
    form.KerHyouji();
    const uint32_t ring = Px(form.CursorColour);
    EXPECT_EQ(L(0).PixelRGB(96 * 5 + 48, 500), ring);
    EXPECT_EQ(L(0).PixelRGB(96 * 5 + 143, 500), ring);
    EXPECT_EQ(L(0).PixelRGB(96 * 5 + 100, 448), ring);
    EXPECT_NE(L(1).PixelRGB(96 * 5 + 48, 500), ring);
    EXPECT_NE(L(0).PixelRGB(96 * 3 + 48, 500), ring) << "the old frame is gone";
    EXPECT_EQ(form.pixelX, 96 * 5 + 48);
    EXPECT_EQ(L(0).DrawWidth, 1);
}

TEST_F(GameTest, FacesFollowThePartysStateWithTheirPrecedence) {
    Battle();
    const struct { const char* what; int hp, max; uint8_t pos, moving, down; int face; } cases[] = {
        {"HP 6 of 50 is not pained", 6, 50, 2, 0, 0, 0},
        {"HP 5 of 50 is pained", 5, 50, 2, 0, 0, 2},
        {"an idle sleeper, pained or not, sleeps", 5, 50, 4, 0, 0, 1},
        {"walking down into Sleeping keeps the pained face", 5, 50, 4, 2, 0, 2},
        {"walking up out of Sleeping loses the sleeping face", 40, 50, 3, 1, 0, 0},
        {"knocked out wins over all", 0, 50, 4, 0, 1, 21},
    };
    for (auto c : cases) {
        SCOPED_TRACE(c.what);
        const int m = 6;
        form.CharHp[m] = static_cast<int16_t>(c.hp);
        form.CharMaxHp[m] = static_cast<int16_t>(c.max);
        form.CharPos[m] = c.pos;
        form.CharMoving[m] = c.moving;
        form.CharDown[m] = c.down;
        form.KaoHenka();
        const int face = c.face == 21 ? 21 : 3 * m + c.face;
        for (int l = 0; l <= 2; ++l) EXPECT_EQ(Differences(L(l), 51 + 96 * m, 451, form.Face[face], 0, 0, 90, 90), 0) << l;
        EXPECT_EQ(Differences(L(2), 51, 451, form.Face[0], 0, 0, 90, 90), 0) << "the others keep theirs";
    }
}

TEST_F(GameTest, BalloonsSitUnderTheirFacesAndClearTogether) {
    Battle();
    form.Jtalk(6, 3);
    const uint32_t white = 0xFFFFFF, edge = Px(form.HpBarColour);
    EXPECT_EQ(L(0).PixelRGB(627, 551), edge) << "left edge of member 6's balloon";
    EXPECT_EQ(L(0).PixelRGB(722, 551), edge) << "right edge";
    EXPECT_EQ(L(0).PixelRGB(628, 556), white);
    EXPECT_NE(L(0).PixelRGB(723, 551), edge);
    form.Jtalk(5, 1);
    EXPECT_EQ(L(0).PixelRGB(626, 551), edge) << "neighbours touch";
    EXPECT_EQ(L(0).PixelRGB(627, 551), edge);
    // The dark text with its light edge.
    int dark = 0;
    for (int y = 545; y <= 557; ++y)
        for (int x = 632; x < 720; ++x) dark += L(0).PixelRGB(x, y) == Px(form.CursorColour);
    EXPECT_GT(dark, 10);
    form.Jtalkcls();
    EXPECT_EQ(Differences(L(0), 40, 545, L(1), 40, 545, 710, 14), 0);
    EXPECT_EQ(Differences(L(0), 40, 545, L(2), 40, 545, 710, 14), 0);
}

TEST_F(GameTest, SpritePictureComesFromMovementPositionAndFrame) {
    Battle();
    const struct { uint8_t moving, pos; int frame, sx, sy; } cases[] = {
        {0, 0, 1, 0, 64}, {0, 1, 1, 0, 32}, {0, 2, 1, 0, 96}, {0, 2, -1, 32, 96}, {0, 3, 1, 0, 128},
        {0, 4, 0, 32, 128}, {0, 5, 1, 0, 128}, {1, 3, 1, 64, 32}, {1, 0, -1, 96, 32}, {2, 4, 1, 128, 32},
        {2, 1, 0, 160, 32},
    };
    for (auto c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.moving) << "/" << int(c.pos) << "/" << c.frame);
        const int m = 1, x = 224 + 48 * m, y = 225;
        form.CharMoving[m] = c.moving;
        form.CharPos[m] = c.pos;
        form.DrawChar = m;
        form.PutC(x, y, c.frame);
        EXPECT_EQ(form.pixelX, c.sx);
        EXPECT_EQ(form.pixelY, c.sy);
        plat::Surface want(32, 32);
        plat::BitBlt(want, 0, 0, 32, 32, L(2), x, y, plat::SRCCOPY);
        plat::BitBlt(want, 0, 0, 32, 32, form.Chip, c.sx, 160, plat::SRCPAINT);
        plat::BitBlt(want, 0, 0, 32, 32, form.Chip, c.sx, c.sy, plat::SRCAND);
        EXPECT_EQ(Differences(L(1), x, y, want, 0, 0, 32, 32), 0);
        EXPECT_EQ(Differences(L(0), x, y, want, 0, 0, 32, 32), 0);
    }
}

TEST_F(GameTest, TheRingFollowsTheSelectionWhoeverIsDrawn) {
    Battle();
    const uint32_t ring = Px(form.CursorColour);
    auto ringAt = [&](int c) { return L(0).PixelRGB(form.CharX[c] + 15 + 16, form.CharY[c] + 16) == ring &&
                                      L(0).PixelRGB(form.CharX[c] + 15, form.CharY[c] + 32) == ring; };
    form.SelectedChar = 5;
    L(0).DrawWidth = 3;  // a wider pen left by someone else
    form.DrawChar = 0;
    form.PutC(form.CharX[0], form.CharY[0], 1);
    EXPECT_TRUE(ringAt(5)) << "drawing member 0 rings member 5";
    EXPECT_FALSE(ringAt(0));
    EXPECT_NE(L(0).PixelRGB(form.CharX[5] + 15 + 17, form.CharY[5] + 16), ring) << "one pixel wide";
    // The old ring stays until its member is drawn again, which erases and redraws.
    form.SelectedChar = 6;
    form.DrawChar = 0;
    form.PutC(form.CharX[0], form.CharY[0], 1);
    EXPECT_TRUE(ringAt(5));
    EXPECT_TRUE(ringAt(6));
    form.DrawChar = 5;
    form.PutC(form.CharX[5], form.CharY[5], 1);
    EXPECT_FALSE(ringAt(5));
    EXPECT_TRUE(ringAt(6));

    // A knocked-out sprite at y 390 restores y 380 to 431 around it.
    form.CharDown[2] = 1, form.CharPos[2] = 5, form.CharY[2] = 390;
    L(1).FillBox(200, 370, 320, 440, plat::RGB(1, 2, 3));
    form.DrawChar = 2;
    form.PutC(form.CharX[2], 390, 0);
    EXPECT_EQ(form.pixelY, 128);
    EXPECT_EQ(L(1).PixelRGB(form.CharX[2] - 2, 380), L(2).PixelRGB(form.CharX[2] - 2, 380));
    EXPECT_EQ(L(1).PixelRGB(form.CharX[2] + 33, 431), L(2).PixelRGB(form.CharX[2] + 33, 431));
    EXPECT_EQ(L(1).PixelRGB(form.CharX[2] - 3, 380), plat::ToRGB(plat::RGB(1, 2, 3)));
    EXPECT_EQ(L(1).PixelRGB(form.CharX[2], 379), plat::ToRGB(plat::RGB(1, 2, 3)));
}

TEST_F(GameTest, PartyPanelShowsWhatTheSelectedMemberIsDoing) {
    Battle();
    const struct { const char* what; int member; uint8_t pos, moving; const char* status; } cases[] = {
        {"idle at Long", 3, 2, 0, "ロング"},
        {"moving, even into Special", 3, 3, 1, "moving..."},
        {"idle at Special: the ability", 1, 3, 0, "鼓舞"},
        {"no ability: its dashes", 4, 3, 0, "-----"},
        {"knocked out", 2, 5, 0, "リタイア"},
    };
    for (auto c : cases) {
        SCOPED_TRACE(c.what);
        form.SelectedChar = static_cast<uint8_t>(c.member);
        form.CharPos[c.member] = c.pos;
        form.CharMoving[c.member] = c.moving;
        form.JstHyouji();
        plat::Surface want = L(1);
        PrintAt(want, 45, 70, 10, true, false, plat::RGB(150, 150, 150), c.status);
        PrintAt(want, 45, 71, 10, true, false, plat::RGB(255, 255, 255), c.status);
        EXPECT_EQ(Differences(L(0), 40, 69, want, 40, 69, 119, 24), 0);
        // The name, white, twice.
        PrintAt(want, 45, 50, 11, true, false, plat::QBColor(15), form.CharName[c.member]);
        PrintAt(want, 45, 51, 11, true, false, plat::QBColor(15), form.CharName[c.member]);
        EXPECT_EQ(Differences(L(0), 40, 45, want, 40, 45, 119, 20), 0);
    }
    // The chicken bar: a one-pixel column at 0, to x 141 at 31.
    const uint32_t gauge = Px(form.GaugeColour);
    form.SelectedChar = 0;
    form.ChickenCount[0] = 0;
    form.JstHyouji();
    EXPECT_EQ(L(0).PixelRGB(48, 194), gauge);
    EXPECT_EQ(L(0).PixelRGB(48, 204), gauge);
    EXPECT_NE(L(0).PixelRGB(49, 200), gauge);
    EXPECT_NE(L(0).PixelRGB(48, 205), gauge);
    form.ChickenCount[0] = 31;
    form.JstHyouji();
    EXPECT_EQ(L(0).PixelRGB(141, 200), gauge);
    EXPECT_NE(L(0).PixelRGB(142, 200), gauge);
    form.ChickenCount[0] = 0;
    form.JstHyouji();
    EXPECT_NE(L(0).PixelRGB(141, 200), gauge) << "each call redraws the panel from the buffer";
}

TEST_F(GameTest, DisplaysLeaveTheSharedCountersAsTheBattleTickExpects) {
    // The tick calls these displays inside its own loops over i; only the
    // counters and scratch named here may change.
    Battle();
    constexpr int Kept = 99;
    const struct { const char* what; std::function<void()> call; int i, j, k, n, m, pixelX; } cases[] = {
        {"HpHyouji", [&] { form.HpHyouji(); }, Kept, Kept, Kept, Kept, Kept, Kept},
        {"ThpHyouji", [&] { form.ThpHyouji(); }, Kept, Kept, Kept, Kept, Kept, Kept},
        {"TspHyouji", [&] { form.TspHyouji(); }, Kept, Kept, Kept, Kept, Kept, Kept},
        {"RoboHyouji", [&] { form.RoboHyouji(form.RobotPicture); }, Kept, Kept, Kept, Kept, Kept, Kept},
        {"TstHyouji", [&] { form.TstHyouji(); }, 2, Kept, Kept, Kept, Kept, 10},
        {"KaoHenka", [&] { form.KaoHenka(); }, Kept, Kept, Kept, Kept, Kept, Kept},
        {"DmHyouji", [&] { form.DmHyouji(); }, Kept, Kept, 7, 7, Kept, Kept},
        {"KerHyouji", [&] { form.KerHyouji(); }, Kept, Kept, 7, 7, Kept, 96 * 3 + 48},
        {"JstHyouji", [&] { form.JstHyouji(); }, Kept, Kept, Kept, Kept, Kept, Kept},
        {"Jtalk", [&] { form.Jtalk(2, 4); }, Kept, Kept, Kept, Kept, Kept, Kept},
        {"Jtalkcls", [&] { form.Jtalkcls(); }, Kept, Kept, Kept, Kept, Kept, Kept},
        {"DmKeisan", [&] { form.DmKeisan(); }, Kept, Kept, 7, Kept, Kept, Kept},
        {"KaihukuHenka", [&] { form.KaihukuHenka(); }, Kept, Kept, Kept, Kept, Kept, Kept},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        form.i = form.j = form.k = form.n = form.m = form.pixelX = Kept;
        c.call();
        EXPECT_EQ(form.i, c.i);
        EXPECT_EQ(form.j, c.j);
        EXPECT_EQ(form.k, c.k);
        EXPECT_EQ(form.n, c.n);
        EXPECT_EQ(form.m, c.m);
        EXPECT_EQ(form.pixelX, c.pixelX);
    }
}

TEST_F(GameTest, ABalloonIsAWhiteBoxWithTheLineTwiceAndASecondOneCoversIt) {
    Battle();
    const plat::Surface before = L(0);
    // What one balloon of member `who` puts on the screen before it.
    auto balloon = [&](plat::Surface s, int who, const std::string& line) {
        const int x0 = 96 * who + 56;
        s.DrawWidth = 1;
        s.FillBox(x0 - 5, 545, x0 + 90, 557, plat::QBColor(15));
        s.Box(x0 - 5, 545, x0 + 90, 557, form.HpBarColour);
        PrintAt(s, x0, 545, 9, true, false, form.HpBarColour, line);
        PrintAt(s, x0 + 1, 546, 9, true, false, form.CursorColour, line);
        return s;
    };
    const plat::Surface buffer = L(1);
    form.Jtalk(2, 5);
    EXPECT_EQ(Differences(L(0), 0, 540, balloon(before, 2, form.VoiceLine[2][5]), 0, 540, 768, 36), 0);
    form.Jtalk(2, 2);
    // Rows 540 to 557: a descender of the first line below the box may stay
    // until the line is cleared.
    EXPECT_EQ(Differences(L(0), 0, 540, balloon(before, 2, form.VoiceLine[2][2]), 0, 540, 768, 18), 0)
        << "the second line of the same member covers the first balloon completely";
    EXPECT_EQ(Differences(L(1), 0, 0, buffer, 0, 0, 768, 576), 0) << "balloons stay off the buffer";

    // Redrawing the faces takes the balloons' top row with it, and only that.
    const plat::Surface talking = L(0);
    form.KaoHenka();
    EXPECT_EQ(Differences(L(0), 51, 545, L(2), 51, 545, 680, 1), 0);
    EXPECT_EQ(Differences(L(0), 0, 546, talking, 0, 546, 768, 30), 0);
}

TEST_F(GameTest, TheRobotsAttackStandsAtItsOffsetOnTheScreenAndTheBuffer) {
    Battle();
    const struct { int attack, offset; } cases[] = {{0, 20}, {9, 20}, {10, 10}, {99, 10}, {100, 0}, {777, 0}};
    for (auto c : cases) {
        SCOPED_TRACE(c.attack);
        // As when the next robot comes: the panel cleared first, since the
        // display erases nothing itself.
        for (int l = 0; l <= 1; ++l) plat::BitBlt(L(l), 608, 240, 129, 65, L(2), 608, 240, plat::SRCCOPY);
        form.RobotAttack = static_cast<int16_t>(c.attack);
        form.TstHyouji();
        EXPECT_EQ(form.pixelX, c.offset);
        plat::Surface want = L(2);
        PrintAt(want, 628 + c.offset, 251, 28, false, false, plat::QBColor(0), NumberText(c.attack));
        PrintAt(want, 630 + c.offset, 253, 28, false, false, plat::QBColor(15), NumberText(c.attack));
        EXPECT_EQ(Differences(L(0), 608, 240, want, 608, 240, 129, 65), 0) << "screen";
        EXPECT_EQ(Differences(L(1), 608, 240, want, 608, 240, 129, 65), 0) << "buffer";
    }
}

TEST_F(GameTest, PartyPanelTextsStandWhereTheirPassesPutThem) {
    Battle();
    // A member that has changed since the start: levelled, hurt, a while at
    // the chicken game.
    const int c = 4;
    form.SelectedChar = c;
    form.CharLevel[c] = 3;
    form.CharMaxHp[c] = 120;
    form.CharHp[c] = 30;
    form.CharShortAtk[c] = 15;
    form.ChickenCount[c] = 5;
    form.CharPos[c] = 0;
    form.JstHyouji();

    plat::Surface want = L(1);
    const plat::Colour passColour[2] = {plat::RGB(150, 150, 150), plat::RGB(255, 255, 255)};
    // Text, x and y of pass 0, and how far pass 1 moves right and down.
    const struct { std::string text; int x, y, dx, dy; } rows[] = {
        {"チキンゲーム", 45, 70, 0, 1},
        {"レベル", 45, 100, 1, 0},   {NumberText(3), 118, 100, 1, 0},
        {"マックス", 45, 120, 1, 0}, {NumberText(120), 118, 120, 1, 0},
        {"ショート", 45, 140, 0, 0}, {NumberText(15), 118, 140, 1, 0},
        {"ロング", 45, 160, 0, 0},   {NumberText(0), 118, 160, 1, 0},
    };
    for (int pass = 0; pass <= 1; ++pass) {
        PrintAt(want, 45, 50 + pass, 11, true, false, plat::QBColor(15), form.CharName[c]);
        for (const auto& r : rows)
            PrintAt(want, r.x + pass * r.dx, r.y + pass * r.dy, 10, true, false, passColour[pass], r.text);
    }
    want.FillBox(48, 194, 48 + 15, 204, form.GaugeColour);
    EXPECT_EQ(Differences(L(0), 32, 32, want, 32, 32, 128, 192), 0);
}

TEST_F(GameTest, AHeavyLossDrawsTheBarLeftOverItsNeighbourWithTheNumberOnTop) {
    Battle();
    const uint32_t bar = Px(form.HpBarColour);
    form.CharHp[1] = 0;    // member 1's bar box left empty but for one column
    form.CharMaxHp[2] = 50;
    form.CharHp[2] = -60;  // of 50: floor(-63.6) = -64, from x 211 to 275
    form.HpHyouji();
    EXPECT_EQ(L(0).PixelRGB(211, 438), bar);
    EXPECT_NE(L(0).PixelRGB(210, 438), bar);
    EXPECT_EQ(L(0).PixelRGB(220, 438), bar) << "over member 1's bar box, drawn before it";
    EXPECT_EQ(L(0).PixelRGB(179, 438), bar) << "member 1's one-pixel bar";
    EXPECT_NE(L(0).PixelRGB(180, 438), bar);
    // Member 2's number "-60" over the bar that runs through its box.
    int white = 0;
    for (int y = 433; y <= 442; ++y)
        for (int x = 241; x <= 269; ++x) white += L(0).PixelRGB(x, y) == 0xFFFFFFu;
    EXPECT_GT(white, 10) << "the numbers are printed after all the bars";
}
