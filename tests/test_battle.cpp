// The battle: tick, keys, level-up, attack and knock-outs, shake, robot beaten,
// the clear file and the clear presentation.
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <functional>
#include <set>
#include <sstream>
#include <utility>

#include "battle_fixture.h"

using namespace battle_test;
using plat::VK_DOWN;
using plat::VK_ESCAPE;
using plat::VK_LEFT;
using plat::VK_RETURN;
using plat::VK_RIGHT;
using plat::VK_UP;

namespace {

constexpr int kChicken = 0, kShort = 1, kLong = 2, kSpecial = 3, kSleeping = 4, kRetired = 5;

std::string ReadFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// ------------------------------------------------------------- the tick

TEST_F(Game, TheRobotAttacksInTheFirstTickPastSevenHundred) {
    // From the start, speed 6: 116 ticks reach 696, the 117th passes 700.
    form.PartyDamage = 0;
    const int16_t hp = form.CharHp[3];
    Tick(116);
    EXPECT_EQ(form.SpeedGauge, 696);
    EXPECT_EQ(form.CharHp[3], hp);
    Tick();
    EXPECT_EQ(form.SpeedGauge, 0);
    EXPECT_EQ(form.RobotSpeed, 7) << "each attack speeds the robot up";
    EXPECT_EQ(form.CharHp[3], hp - 7);
    EXPECT_EQ(Pixel(0, 700, 200), 0u) << "the full bar is blacked out after the attack";

    // Exactly 700 waits for the next tick.
    form.RobotSpeed = 6;
    form.SpeedGauge = 694;
    Tick();
    EXPECT_EQ(form.SpeedGauge, 700);
    EXPECT_EQ(form.RobotSpeed, 6);
}

TEST_F(Game, TheBarsShowTheGaugesAsTheTickFindsThem) {
    Calm();
    form.RobotSpeed = 6;
    const uint32_t speedBar = plat::ToRGB(form.SpeedBarColour), chickenBar = plat::ToRGB(form.GaugeColour);
    // The speed bar is drawn from the gauge before this tick's increase:
    // 69 / 7 = 9 reaches x 631; 75 / 7 would reach 632.
    form.SpeedGauge = 69;
    Tick();
    EXPECT_EQ(Pixel(0, 631, 200), speedBar);
    EXPECT_NE(Pixel(0, 632, 200), speedBar);

    // The chicken bar grows for the selected member only.
    Stand(2, kChicken);
    form.ChickenCount[2] = 9;
    form.SelectedChar = 3;
    form.JstHyouji();
    Tick();
    EXPECT_EQ(form.ChickenCount[2], 10);
    EXPECT_NE(Pixel(0, 48 + 3 * 10, 200), chickenBar);
    form.SelectedChar = 2;
    Tick();
    EXPECT_EQ(Pixel(0, 48 + 3 * 11, 200), chickenBar);
    EXPECT_NE(Pixel(0, 48 + 3 * 11 + 1, 200), chickenBar);
}

TEST_F(Game, EnergyWearsDownByAnEighthOfThePartyDamage) {
    struct Case { int damage, energy, after; bool beaten; };
    const Case cases[] = {
        {7, 10, 10, false}, {8, 10, 9, false}, {16, 2, 0, false},  // 0 itself stands
        {8, 0, 0, true},    // -1 falls
        {0, -1, 0, true},   // left below 0 by a recount: falls with no loss this tick
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "damage " << c.damage << " energy " << c.energy);
        form.RobotIndex = 0;
        form.LoadRobot(0);
        form.SpeedGauge = 0;
        form.PartyDamage = static_cast<int16_t>(c.damage);
        form.RobotEnergy = static_cast<int16_t>(c.energy);
        Tick();
        EXPECT_EQ(form.RobotIndex, c.beaten ? 1 : 0);
        if (!c.beaten) {
            EXPECT_EQ(form.RobotEnergy, c.after);
        }
    }
}

TEST_F(Game, ARecountThatBitesBelowZeroBeatsTheRobotAtTheNextTick) {
    // Someone at the chicken game: the damage shown is 0, but the bite of the
    // base sum (here 40: two each 20 at Short) is still taken.
    for (int c = 0; c <= 6; ++c) Stand(c, kSleeping);
    Stand(2, kShort);
    Stand(4, kShort);
    form.CharShortAtk[2] = 20;
    form.CharShortAtk[4] = 20;
    Stand(3, kChicken);
    form.RobotEnergy = 1;
    form.DmKeisan();
    EXPECT_EQ(form.PartyDamage, 0);
    EXPECT_EQ(form.RobotEnergy, -1);
    Tick();
    EXPECT_EQ(form.RobotIndex, 1);
}

TEST_F(Game, SleepersHealUpToTheirMaximumAndNoFurther) {
    Calm();
    Stand(0, kSleeping);
    form.HealChance = 100;
    form.CharHp[0] = static_cast<int16_t>(form.CharMaxHp[0] - 1);
    for (int t = 0; t < 40; ++t) {
        Tick();
        ASSERT_LE(form.CharHp[0], form.CharMaxHp[0]);
    }
    EXPECT_EQ(form.CharHp[0], form.CharMaxHp[0]);

    // With no chance nobody heals.
    form.HealChance = 0;
    form.CharHp[0] = 10;
    Tick(40);
    EXPECT_EQ(form.CharHp[0], 10);
}

TEST_F(Game, MemberFiveHealsItselfOnlyStandingIdleAtSpecial) {
    struct Case { int pos, moving, gain; };
    const Case cases[] = {{kSpecial, 0, 1}, {kSpecial, 1, 0}, {kSpecial, 2, 0}, {kLong, 0, 0}, {kShort, 0, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "position " << c.pos << " moving " << c.moving);
        Calm();
        Stand(5, c.pos);
        form.CharMoving[5] = static_cast<uint8_t>(c.moving);
        form.CharHp[5] = 40;
        Tick();
        EXPECT_EQ(form.CharHp[5], 40 + c.gain);
    }
    // Never above the maximum.
    Stand(5, kSpecial);
    form.CharHp[5] = form.CharMaxHp[5];
    Tick();
    EXPECT_EQ(form.CharHp[5], form.CharMaxHp[5]);
}

TEST_F(Game, ThirtyTwoTicksAtTheChickenGameGiveOneLevel) {
    Calm();
    Stand(4, kChicken);
    form.ChickenCount[4] = 30;
    Tick();
    EXPECT_EQ(form.ChickenCount[4], 31);
    EXPECT_EQ(form.CharLevel[4], 1);
    Tick();
    EXPECT_EQ(form.CharLevel[4], 2) << "32 raises the level in the same tick";
    EXPECT_EQ(form.ChickenCount[4], 0);
    EXPECT_EQ(form.CharMaxHp[4], 100);
    EXPECT_EQ(form.CharShortAtk[4], 10);
    EXPECT_EQ(form.CharLongAtk[4], 0);
    EXPECT_EQ(form.CharHp[4], 80) << "a level raises the maximum, not the HP";
    EXPECT_EQ(form.TalkTimer, 5);
    Tick(31);
    EXPECT_EQ(form.CharLevel[4], 2);
    Tick();
    EXPECT_EQ(form.CharLevel[4], 3);

    // The highest level stays: no wrap to 0, nothing grows any further.
    form.CharLevel[4] = 255;
    const int16_t maxHp = form.CharMaxHp[4];
    form.ChickenCount[4] = 31;
    Tick();
    EXPECT_EQ(form.CharLevel[4], 255);
    EXPECT_EQ(form.CharMaxHp[4], maxHp);
    EXPECT_EQ(form.ChickenCount[4], 0);

    // A member walking up into the chicken game counts only from its arrival.
    Stand(4, kShort);
    form.SelectedChar = 4;
    Key(VK_UP);
    int ticks = 0;
    while (form.CharMoving[4] != 0 && ticks < 50) {
        Tick();
        ++ticks;
        if (form.CharMoving[4] != 0) {
            ASSERT_EQ(form.ChickenCount[4], 0);
        }
    }
    EXPECT_EQ(form.ChickenCount[4], 0) << "the arrival starts the count at 0";
    Tick();
    EXPECT_EQ(form.ChickenCount[4], 1);
}

TEST_F(Game, TheLevelUpDrawsThreeWideningRingsAndRestoresTheirSquare) {
    Calm();
    Stand(4, kChicken);
    form.ChickenCount[4] = 31;
    const int cx = form.CharX[4] + 16, cy = form.CharY[4] + 16;
    std::vector<plat::Surface> frames;
    host.onNap = [&](const plat::Surface& s) {
        // One picture per wait of the effect: it changes between waits only.
        if (frames.empty() || frames.back().Pixels() != s.Pixels()) frames.push_back(s);
    };
    Tick();
    host.onNap = nullptr;
    ASSERT_EQ(frames.size(), 5u);
    const int radii[5][3] = {{7, 8, 9}, {14, 16, 18}, {21, 24, 27}, {28, 32, 36}, {35, 40, 45}};
    for (int f = 0; f < 5; ++f) {
        SCOPED_TRACE(testing::Message() << "frame " << f);
        // Above the centre, where the words do not reach. The 3 px pens of the
        // small rings overlap; the last drawn, white, is always whole.
        EXPECT_EQ(frames[f].PixelRGB(cx, cy - radii[f][2]), 0xFFFFFFu);
        EXPECT_EQ(frames[f].PixelRGB(cx, cy - radii[f][2] - 1), 0xFFFFFFu) << "a 3 px pen in every frame";
        EXPECT_EQ(frames[f].PixelRGB(cx, cy - radii[f][2] + 1), 0xFFFFFFu) << "a 3 px pen in every frame";
        if (f >= 2) {
            EXPECT_EQ(frames[f].PixelRGB(cx, cy - radii[f][0]), 0x000000u);
            EXPECT_EQ(frames[f].PixelRGB(cx, cy - radii[f][1]), 0xC0C0C0u);
        }
        EXPECT_NE(frames[f].PixelRGB(cx, cy - radii[f][2] - 3), 0xFFFFFFu) << "no larger ring yet";
    }
    // Afterwards the square around it is the composition buffer's again.
    for (int y = cy - 70; y < cy + 70; y += 3)
        for (int x = cx - 70; x < cx + 70; x += 3) {
            if (x >= form.CharX[4] - 2 && x < form.CharX[4] + 34 && y >= form.CharY[4] - 10 &&
                y < form.CharY[4] + 42)
                continue;  // the sprite, drawn again after the effect
            if (y >= 545) continue;  // the balloon line
            ASSERT_EQ(Pixel(0, x, y), Pixel(1, x, y)) << x << "," << y;
        }
}

// A walk between rows, from idle to idle, in ticks.
int WalkTicks(Game& g, int c, int key) {
    g.form.SelectedChar = static_cast<uint8_t>(c);
    g.Key(key);
    int ticks = 0;
    while (g.form.CharMoving[c] != 0 && ticks < 100) {
        g.Tick();
        ++ticks;
    }
    return ticks;
}

TEST_F(Game, AWalkOfOneRowTakesFourteenTicksAndTheFirstFifteen) {
    Calm();
    EXPECT_EQ(WalkTicks(*this, 2, VK_DOWN), 15);
    EXPECT_EQ(form.CharY[2], 335);
    EXPECT_EQ(WalkTicks(*this, 2, VK_DOWN), 14);
    EXPECT_EQ(form.CharY[2], 390);
    EXPECT_EQ(WalkTicks(*this, 2, VK_UP), 14);
    EXPECT_EQ(form.CharY[2], 335);

    // Turned back after five steps up (y 315), it walks down from there and
    // arrives when it passes 335: five steps to 335 is no arrival, the sixth is.
    form.SelectedChar = 2;
    Key(VK_UP);
    Tick(5);
    EXPECT_EQ(form.CharY[2], 315);
    Key(VK_DOWN);
    EXPECT_EQ(form.CharPos[2], kSpecial);
    EXPECT_EQ(form.CharMoving[2], 2);
    Tick(5);
    EXPECT_EQ(form.CharY[2], 335);
    EXPECT_EQ(form.CharMoving[2], 2) << "landing on the row is not yet arriving";
    Tick();
    EXPECT_EQ(form.CharY[2], 335);
    EXPECT_EQ(form.CharMoving[2], 0);
}

TEST_F(Game, ArrivingAtSleepingSaysGoodNightForFiveTicks) {
    Calm();
    Stand(1, kSpecial);
    form.MoveAccum[1] = 10;
    form.SelectedChar = 1;
    const size_t mark = SoundMark();
    Key(VK_DOWN);
    Tick(13);
    EXPECT_EQ(form.TalkTimer, 0);
    Tick();
    ASSERT_EQ(form.CharMoving[1], 0);
    EXPECT_EQ(form.TalkTimer, 5);
    const auto sounds = SoundsSince(mark);
    EXPECT_EQ(sounds, (std::vector<int>{2, 3})) << "accepted, then arrived";
    EXPECT_NE(Pixel(0, 96 * 1 + 51 + 10, 551), Pixel(1, 96 * 1 + 51 + 10, 551)) << "the balloon shows";
    Tick(5);
    EXPECT_EQ(form.TalkTimer, 0);
    EXPECT_NE(Pixel(0, 96 * 1 + 51 + 10, 551), Pixel(1, 96 * 1 + 51 + 10, 551)) << "still there after 5 ticks";
    Tick();
    EXPECT_EQ(Pixel(0, 96 * 1 + 51 + 10, 551), Pixel(1, 96 * 1 + 51 + 10, 551)) << "cleared in the sixth";
}

// ------------------------------------------------------------- the keys

TEST_F(Game, KeysAreIgnoredRefusedOrAccepted) {
    struct Case {
        const char* what;
        std::function<void(Game&)> setup;
        int key;
        std::vector<int> sounds;
        int talk;  // TalkTimer afterwards
        std::function<void(Game&)> check;
    };
    const Case cases[] = {
        {"Left at 0", [](Game& g) { g.form.SelectedChar = 0; }, VK_LEFT, {}, 0,
         [](Game& g) { EXPECT_EQ(g.form.SelectedChar, 0); }},
        {"Right at 6", [](Game& g) { g.form.SelectedChar = 6; }, VK_RIGHT, {}, 0,
         [](Game& g) { EXPECT_EQ(g.form.SelectedChar, 6); }},
        {"Left", [](Game&) {}, VK_LEFT, {1}, 0, [](Game& g) { EXPECT_EQ(g.form.SelectedChar, 2); }},
        {"Right", [](Game&) {}, VK_RIGHT, {1}, 0, [](Game& g) { EXPECT_EQ(g.form.SelectedChar, 4); }},
        {"Right onto a knocked-out member", [](Game& g) { g.KnockOut(4); }, VK_RIGHT, {1}, 0,
         [](Game& g) { EXPECT_EQ(g.form.SelectedChar, 4); }},
        {"Up at the chicken game", [](Game& g) { g.Stand(3, kChicken); }, VK_UP, {}, 0,
         [](Game& g) { EXPECT_EQ(g.form.CharPos[3], kChicken); }},
        {"Up while moving up", [](Game& g) { g.Stand(3, kShort); g.form.CharMoving[3] = 1; }, VK_UP, {}, 0,
         [](Game& g) { EXPECT_EQ(g.form.CharPos[3], kShort); }},
        {"Up when knocked out", [](Game& g) { g.KnockOut(3); }, VK_UP, {}, 0,
         [](Game& g) { EXPECT_EQ(g.form.CharPos[3], kRetired); }},
        {"Up from Short, another at the chicken game", [](Game& g) { g.Stand(3, kShort); g.Stand(0, kChicken); },
         VK_UP, {9}, 0,
         [](Game& g) { EXPECT_EQ(g.form.CharPos[3], kShort); EXPECT_EQ(g.form.CharMoving[3], 0); }},
        {"Up from Short, another walking up to it",
         [](Game& g) { g.Stand(3, kShort); g.Stand(0, kChicken); g.form.CharMoving[0] = 1; g.form.CharY[0] = 200; },
         VK_UP, {9}, 0, [](Game& g) { EXPECT_EQ(g.form.CharPos[3], kShort); }},
        {"Up from Long, another at the chicken game", [](Game& g) { g.Stand(0, kChicken); }, VK_UP, {2}, 0,
         [](Game& g) { EXPECT_EQ(g.form.CharPos[3], kShort); EXPECT_EQ(g.form.CharMoving[3], 1); }},
        {"Up from Short", [](Game& g) { g.Stand(3, kShort); }, VK_UP, {2}, 5,
         [](Game& g) { EXPECT_EQ(g.form.CharPos[3], kChicken); }},
        {"Up from Sleeping", [](Game& g) { g.Stand(3, kSleeping); }, VK_UP, {2}, 5,
         [](Game& g) { EXPECT_EQ(g.form.CharPos[3], kSpecial); }},
        {"Up from Special", [](Game& g) { g.Stand(3, kSpecial); }, VK_UP, {2}, 0,
         [](Game& g) { EXPECT_EQ(g.form.CharPos[3], kLong); }},
        {"Up reversing a walk down into Sleeping",
         [](Game& g) { g.Stand(3, kSleeping); g.form.CharMoving[3] = 2; g.form.CharY[3] = 350; }, VK_UP, {2}, 0,
         [](Game& g) { EXPECT_EQ(g.form.CharPos[3], kSpecial); EXPECT_EQ(g.form.CharMoving[3], 1); }},
        {"Down at Sleeping", [](Game& g) { g.Stand(3, kSleeping); }, VK_DOWN, {}, 0,
         [](Game& g) { EXPECT_EQ(g.form.CharPos[3], kSleeping); }},
        {"Down while moving down", [](Game& g) { g.form.CharPos[3] = kSpecial; g.form.CharMoving[3] = 2; },
         VK_DOWN, {}, 0, [](Game& g) { EXPECT_EQ(g.form.CharPos[3], kSpecial); }},
        {"Down when knocked out", [](Game& g) { g.KnockOut(3); }, VK_DOWN, {}, 0,
         [](Game& g) { EXPECT_EQ(g.form.CharPos[3], kRetired); }},
        {"Down from the chicken game", [](Game& g) { g.Stand(3, kChicken); g.form.ChickenCount[3] = 20; },
         VK_DOWN, {2}, 0,
         [](Game& g) {
             EXPECT_EQ(g.form.ChickenCount[3], 0);
             EXPECT_EQ(g.form.CharPos[3], kShort);
             EXPECT_EQ(g.form.CharMoving[3], 2);
         }},
        {"Space", [](Game&) {}, plat::VK_SPACE, {}, 0, [](Game& g) { EXPECT_EQ(g.form.CharPos[3], kLong); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (int m = 0; m <= 6; ++m) {
            Stand(m, kLong);
            form.CharDown[m] = 0;
            form.CharHp[m] = form.CharMaxHp[m];
            form.ChickenCount[m] = 0;
        }
        form.SelectedChar = 3;
        form.TalkTimer = 0;
        c.setup(*this);
        const size_t mark = SoundMark();
        Key(c.key);
        EXPECT_EQ(SoundsSince(mark), c.sounds);
        EXPECT_EQ(form.TalkTimer, c.talk);
        // A voice line shows in the mover's balloon, and only then.
        int balloon = 0;
        for (int x = 96 * 3 + 56; x < 96 * 3 + 146; ++x) balloon += Pixel(0, x, 551) != Pixel(1, x, 551);
        EXPECT_EQ(balloon > 0, c.talk == 5);
        form.Jtalkcls();
        c.check(*this);
    }
}

TEST_F(Game, UpThenDownBeforeArrivingEndsAtTheOldRow) {
    Calm();
    form.SelectedChar = 3;
    Key(VK_UP);
    Tick(3);
    Key(VK_DOWN);
    EXPECT_EQ(form.CharPos[3], kLong);
    int ticks = 0;
    while (form.CharMoving[3] != 0 && ticks < 40) {
        Tick();
        ++ticks;
    }
    EXPECT_EQ(form.CharMoving[3], 0);
    EXPECT_EQ(form.CharY[3], 280);
}

TEST_F(Game, KeysByModeEscEnterAndTheTitle) {
    // During the title nothing acts, Esc included.
    form.KeyMode = 5;
    for (int key : {VK_ESCAPE, VK_LEFT, VK_UP, VK_DOWN, VK_RETURN}) Key(key);
    EXPECT_EQ(form.SelectedChar, 3);
    EXPECT_EQ(form.CharPos[3], kLong);

    // Ended: Esc only silences; Enter ends.
    form.KeyMode = 2;
    const size_t logAt = host.Log().lines.size();
    const size_t mark = SoundMark();
    EXPECT_NO_THROW(Key(VK_ESCAPE));
    EXPECT_EQ(SoundsSince(mark), std::vector<int>{0});
    EXPECT_EQ(std::vector<std::string>(host.Log().lines.begin() + logAt + 1, host.Log().lines.end()),
              (std::vector<std::string>{"mci: stop bgm", "mci: close bgm"}));
    Key(VK_LEFT);
    EXPECT_EQ(form.SelectedChar, 3);
    EXPECT_THROW(Key(VK_RETURN), plat::EndProgram);

    // In play Esc ends, Enter does nothing.
    form.KeyMode = 0;
    EXPECT_NO_THROW(Key(VK_RETURN));
    EXPECT_THROW(Key(VK_ESCAPE), plat::EndProgram);
}

// ------------------------------------------------ the attack and knock-outs

TEST_F(Game, TheAttackIsSharedByTheWeightOfEachPosition) {
    struct Case {
        const char* what;
        int attack;
        int pos[7];
        int alive;
        int loss[7];
        int hit[7];
    };
    const Case cases[] = {
        {"all at Long", 50, {2, 2, 2, 2, 2, 2, 2}, 7, {7, 7, 7, 7, 7, 7, 7}, {1, 1, 1, 1, 1, 1, 1}},
        {"chicken, short, five long", 60, {0, 1, 2, 2, 2, 2, 2}, 7, {60, 13, 6, 6, 6, 6, 6}, {1, 1, 1, 1, 1, 1, 1}},
        {"one at Special, six asleep", 50, {4, 4, 4, 3, 4, 4, 4}, 7, {0, 0, 0, 50, 0, 0, 0}, {0, 0, 0, 1, 0, 0, 0}},
        // Nobody where weight counts: everyone, the retired too, loses
        // attack / alive; only those standing tremble.
        {"three asleep, four retired", 60, {5, 4, 5, 4, 5, 4, 5}, 3, {20, 20, 20, 20, 20, 20, 20},
         {0, 1, 0, 1, 0, 1, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        form.RobotAttack = static_cast<int16_t>(c.attack);
        form.AliveCount = static_cast<uint8_t>(c.alive);
        int16_t before[7];
        for (int m = 0; m <= 6; ++m) {
            Stand(m, c.pos[m]);
            form.CharDown[m] = c.pos[m] == kRetired;
            form.CharHp[m] = static_cast<int16_t>(c.pos[m] == kRetired ? 0 : 100);
            form.HitFlag[m] = 1;
            before[m] = form.CharHp[m];
        }
        const size_t mark = SoundMark();
        form.Tujyo();
        for (int m = 0; m <= 6; ++m) {
            EXPECT_EQ(before[m] - form.CharHp[m], c.loss[m]) << "member " << m;
            EXPECT_EQ(form.HitFlag[m], c.hit[m]) << "member " << m;
        }
        EXPECT_EQ(SoundsSince(mark), (std::vector<int>{7, 6})) << "the blow, then the hit";
        EXPECT_EQ(form.Display[0].Left, 16);
        EXPECT_EQ(form.Display[0].Top, 12);
    }
}

TEST_F(Game, KnockOutsRetireTheFallenAndMoveThemDown) {
    Calm();
    form.RobotAttack = 50;
    form.CharHp[1] = 6;  // exactly 0 after its share, 50 / 40 * 5
    form.CharHp[5] = 3;
    // Member 5 was walking up: it stops where it falls.
    form.SelectedChar = 5;
    Key(VK_UP);
    Tick(4);
    const int wasY = form.CharY[5];
    ASSERT_LT(wasY, 280);
    form.TalkTimer = 0;
    form.TekiKougeki();
    EXPECT_EQ(form.AliveCount, 5);
    for (int c : {1, 5}) {
        SCOPED_TRACE(c);
        EXPECT_EQ(form.CharHp[c], 0);
        EXPECT_EQ(form.CharDown[c], 1);
        EXPECT_EQ(form.CharPos[c], kRetired);
        EXPECT_EQ(form.CharMoving[c], 0);
        EXPECT_EQ(form.CharY[c], 390);
    }
    EXPECT_EQ(form.TalkTimer, 5) << "their lines are shown";
    // The place where member 5 stood mid-walk is clean ground again.
    const int x = form.CharX[5] + 16;
    for (int y = wasY; y < wasY + 32; ++y) ASSERT_EQ(Pixel(0, x, y), Pixel(2, x, y)) << y;

    // Those down get no line again, and stay where they are.
    form.TalkTimer = 0;
    form.TekiKougeki();
    EXPECT_EQ(form.TalkTimer, 0);
    EXPECT_EQ(form.AliveCount, 5);
    const int16_t frame = form.CharAnimFrame[5];
    Tick(3);
    EXPECT_EQ(form.CharY[5], 390);
    EXPECT_EQ(form.CharY[1], 390);
    EXPECT_EQ(form.CharAnimFrame[5], frame) << "the fallen keep their frame";
}

TEST_F(Game, TheLastKnockOutEndsTheGame) {
    for (int c = 0; c <= 5; ++c) KnockOut(c);
    form.AliveCount = 1;
    form.CharHp[6] = 5;
    form.RobotAttack = 50;
    form.SpeedGauge = 700;
    form.RobotSpeed = 6;
    form.Timer2.SetInterval(100);
    const size_t mark = SoundMark();
    const size_t logAt = host.Log().lines.size();
    Tick();
    EXPECT_EQ(form.KeyMode, 2);
    EXPECT_EQ(form.AliveCount, 1) << "left at 1 for the shares shown next";
    EXPECT_EQ(form.Timer2.Interval(), 0);
    EXPECT_EQ(SoundsSince(mark), (std::vector<int>{7, 6, 0}));
    const auto& log = host.Log().lines;
    EXPECT_NE(std::find(log.begin() + logAt, log.end(), "mci: close bgm"), log.end());
    // The box with its border, and the light edge of "Game Over !".
    EXPECT_EQ(Pixel(0, 250, 225), plat::ToRGB(form.RobotBarColour));
    EXPECT_EQ(Pixel(0, 260, 230), 0u);
    int light = 0;
    for (int y = 174; y < 225; ++y)
        for (int x = 254; x < 518; ++x) light += Pixel(0, x, y) == plat::ToRGB(form.GaugeColour);
    EXPECT_GT(light, 200);

    // Now only Enter (or a click) ends the program.
    host.Key(VK_ESCAPE);
    host.Key(VK_LEFT);
    host.RunUntil(host.now() + 5000);
    EXPECT_FALSE(form.Run());
    EXPECT_EQ(Pixel(0, 250, 225), plat::ToRGB(form.RobotBarColour)) << "nothing covers the box";
    host.Key(VK_RETURN);
    host.RunUntil(host.now() + 10);
    EXPECT_TRUE(form.Run());
}

// ------------------------------------------------------------- the shake

TEST_F(Game, TheShakeStaysWithinSixPixelsAndEndsAtHome) {
    int minL = 99, maxL = 0, minT = 99, maxT = 0;
    host.onNap = [&](const plat::Surface& s) {
        minL = std::min(minL, s.Left), maxL = std::max(maxL, s.Left);
        minT = std::min(minT, s.Top), maxT = std::max(maxT, s.Top);
    };
    for (int t = 0; t < 60; ++t) {
        form.TestYure();
        ASSERT_EQ(form.Display[0].Left, 16);
        ASSERT_EQ(form.Display[0].Top, 12);
    }
    EXPECT_EQ(minL, 10);
    EXPECT_EQ(maxL, 22);
    EXPECT_EQ(minT, 6);
    EXPECT_EQ(maxT, 18);
    EXPECT_EQ(form.Display[1].Left, 16) << "the hidden layers stay";
}

TEST_F(Game, TheDamageShowShakesOnlyTheHitFacesAndRestoresTheStrip) {
    for (int c = 0; c <= 6; ++c) form.HitFlag[c] = c == 6;
    std::vector<plat::Surface> frames;
    host.onNap = [&](const plat::Surface& s) {
        if (frames.size() < 40) frames.push_back(s);
    };
    form.DmEnsyutu();
    host.onNap = nullptr;
    bool moved = false;
    for (const auto& f : frames) {
        // Face 0 stays still; face 6 trembles.
        for (int y = 451; y < 541; y += 7) ASSERT_EQ(f.PixelRGB(51 + 40, y), Pixel(2, 51 + 40, y));
        for (int y = 456; y < 536; y += 5) moved |= f.PixelRGB(6 * 96 + 51 + 45, y) != Pixel(2, 6 * 96 + 51 + 45, y);
    }
    EXPECT_TRUE(moved);
    for (int y = 445; y < 575; y += 2)
        for (int x = 0; x < 760; x += 3) ASSERT_EQ(Pixel(0, x, y), Pixel(2, x, y)) << x << "," << y;
}

// ------------------------------------------------ a robot beaten, the clear

TEST_F(Game, ABeatenRobotBringsTheNextAndRevivesTheFallen) {
    KnockOut(1);
    KnockOut(2);
    KnockOut(6);
    form.AliveCount = 4;
    form.SpeedGauge = 300;
    form.RobotSpeed = 9;
    form.RobotEnergy = 0;
    form.PartyDamage = 8;
    const size_t mark = SoundMark();
    int moves = 0;
    host.onNap = [&](const plat::Surface& v) { moves += v.Left != 16 || v.Top != 12; };
    const uint32_t t0 = host.now();
    Tick();
    host.onNap = nullptr;
    EXPECT_EQ(SoundsSince(mark), std::vector<int>{10});
    EXPECT_GE(host.now() - t0, 2u * 6 * 31) << "two shakes";
    EXPECT_GT(moves, 0);
    EXPECT_EQ(form.RobotIndex, 1);
    EXPECT_EQ(form.RobotEnergy, 1000) << "this tick's loss went to the beaten one";
    EXPECT_EQ(form.RobotMaxEnergy, 1000);
    EXPECT_EQ(form.RobotSpeed, 2);
    EXPECT_EQ(form.SpeedGauge, 0);
    EXPECT_EQ(form.AliveCount, 7);
    for (int c : {1, 2, 6}) {
        SCOPED_TRACE(c);
        EXPECT_EQ(form.CharDown[c], 0);
        EXPECT_EQ(form.CharHp[c], 1);
        EXPECT_EQ(form.CharPos[c], kSleeping);
        EXPECT_EQ(form.CharY[c], 390);
    }
    EXPECT_EQ(form.KeyMode, 0);
}

// The shake, the damage show, Up and a beaten robot (also the last) leave
// the shared counters as the displays and the tick expect; 99 is untouched.
TEST_F(Game, TheBattleRoutinesRunOnlyTheirOwnSharedCounters) {
    struct Case {
        const char* what;
        std::function<void(Game&)> run;
        int i, j, k, n;
    };
    const Case cases[] = {
        {"shake", [](Game& g) { g.form.TestYure(); }, 6, 99, 99, 99},
        {"damage show", [](Game& g) { g.form.DmEnsyutu(); }, 8, 99, 99, 7},
        {"Up from Long", [](Game& g) { g.Key(VK_UP); }, 7, 0, 7, 7},
        {"robot beaten", [](Game& g) { g.form.Taosita(); }, 2, 99, 99, 99},
        {"the last robot beaten",
         [](Game& g) {
             g.form.RobotIndex = 7;
             g.form.Taosita();
         },
         2, 99, 99, 99},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        form.i = form.j = form.k = form.n = 99;
        c.run(*this);
        EXPECT_EQ(form.i, c.i);
        EXPECT_EQ(form.j, c.j);
        EXPECT_EQ(form.k, c.k);
        EXPECT_EQ(form.n, c.n);
    }
}

struct Clear : Game {
    // Beats the eighth robot in one tick and returns what went to stderr.
    std::string BeatTheLast() {
        form.RobotIndex = 7;
        form.LoadRobot(7);
        form.RobotEnergy = -1;
        form.Timer2.SetInterval(100);
        testing::internal::CaptureStderr();
        Tick();
        return testing::internal::GetCapturedStderr();
    }
    fs::path File() const { return dir / "se" / "da.txt"; }
    // Pixels of the letters' light pass in the band of the sprite at x0.
    int lettersNear(int x0) const {
        int light = 0;
        for (int y = 160; y < 240; ++y)
            for (int x = x0 - 8; x < x0 + 40; ++x) light += Pixel(0, x, y) == plat::ToRGB(form.HpBarColour);
        return light;
    }
    void TestBody() override {}
};

TEST_F(Clear, TheEighthRobotWritesTheClearFileAndEndsTheGame) {
    // An earlier, longer file is replaced whole; a second link to it keeps
    // the old text, so the new file was written apart and put in its place.
    { std::ofstream(File(), std::ios::binary) << "something much longer than the marker\r\n"; }
    fs::create_hard_link(File(), dir / "old.txt");
    const size_t mark = SoundMark();
    EXPECT_EQ(BeatTheLast(), "");
    EXPECT_EQ(ReadFile(File()), std::string("KOLTEV\r\n"));
    EXPECT_EQ(ReadFile(dir / "old.txt"), "something much longer than the marker\r\n");
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir / "se")) names.push_back(e.path().filename().string());
    EXPECT_EQ(names, std::vector<std::string>{"da.txt"}) << "no temporary file is left";
    struct stat st {};
    ASSERT_EQ(stat(File().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0044, 0044u) << "readable like any file";

    EXPECT_EQ(form.RobotIndex, 8);
    EXPECT_EQ(form.RobotName, "");
    EXPECT_EQ(form.RobotEnergy, 7777);
    EXPECT_EQ(form.RobotAttack, 777);
    EXPECT_EQ(form.KeyMode, 2);
    EXPECT_EQ(form.Timer2.Interval(), 0);

    // The presentation: the wipe with sound 7, then sixteen letters with
    // sound 6, one every 300 ms.
    const auto& p = host.sound.played;
    std::vector<uint32_t> letters;
    for (size_t q = mark; q < p.size(); ++q)
        if (p[q].n == 6 && p[q].at > p[mark].at + 4000) letters.push_back(p[q].at);
    ASSERT_EQ(letters.size(), 16u);
    for (size_t q = 1; q < letters.size(); ++q) {
        EXPECT_GE(letters[q] - letters[q - 1], 300u);
        EXPECT_LE(letters[q] - letters[q - 1], 305u);
    }
    EXPECT_TRUE(form.Display[0].FontItalic);
    // The letters in their light colour, and the closing box.
    int light = 0;
    for (int y = 173; y < 230; ++y)
        for (int x = 185; x < 600; ++x) light += Pixel(0, x, y) == plat::ToRGB(form.HpBarColour);
    EXPECT_GT(light, 500);
    EXPECT_EQ(Pixel(0, 250, 55), plat::ToRGB(form.RobotBarColour));
    // The robot picture is wiped back to the bare tracks (below the box).
    for (int y = 146; y < 160; ++y) ASSERT_EQ(Pixel(0, 384, y), Pixel(2, 384, y)) << y;
    int robot = 0;
    for (int y = 146; y < 160; ++y)
        for (int x = 321; x < 448; ++x) robot += Pixel(1, x, y) != Pixel(2, x, y);
    EXPECT_GT(robot, 0) << "a robot picture stood there";

    // Written again (a second won game): the same eight bytes.
    form.SavePas();
    EXPECT_EQ(ReadFile(File()), std::string("KOLTEV\r\n"));
}

// The tick runs on after the clear presentation; the sprites it would draw
// last must not cut into the letters, also one standing at the front row.
TEST_F(Clear, TheLettersStayWholeOverTheFrontRow) {
    Stand(3, kChicken);
    BeatTheLast();
    const int withSprite = lettersNear(form.CharX[3]);
    // The same presentation over an empty front row.
    Clear bare;
    bare.SetUp();
    bare.BeatTheLast();
    EXPECT_EQ(withSprite, bare.lettersNear(form.CharX[3])) << "the letters around the front-row sprite were cut";
    bare.TearDown();
}

// The win as an ordinary user: where the suite runs as root (root writes into
// any folder), in a child process that drops to nobody's uid and gid.
constexpr uid_t kNobody = 65534;

struct Outcome {
    std::string err;
    bool presented = false;  // the game ended and the presentation ran to its closing box
};

struct ClearCase {
    ClearCase(const char* what_, bool asUser_, std::function<void(const fs::path&)> arrange_, bool written_,
              std::string target_ = "se/da.txt", std::string old_ = "", std::vector<std::string> gone_ = {})
        : what(what_), asUser(asUser_), arrange(std::move(arrange_)), written(written_), target(std::move(target_)),
          old(std::move(old_)), gone(std::move(gone_)) {}
    const char* what;
    bool asUser;
    std::function<void(const fs::path& dir)> arrange;
    bool written;  // the marker reaches `target`; else one stderr line and `target` keeps `old`
    std::string target;             // under the program folder
    std::string old;                // the target's text before, if any
    std::vector<std::string> gone;  // names under se/ a win removes
};
void PrintTo(const ClearCase& c, std::ostream* os) { *os << c.what; }

struct ClearFile : Clear, ::testing::WithParamInterface<ClearCase> {
    Outcome Win() {
        Outcome o;
        o.err = BeatTheLast();
        o.presented = form.KeyMode == 2 && form.Display[0].FontItalic &&
                      Pixel(0, 250, 55) == plat::ToRGB(form.RobotBarColour);
        return o;
    }
    Outcome WinAsUser() {
        if (geteuid() != 0) return Win();
        // The user must reach the folder: mkdtemp made it private.
        fs::permissions(dir, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                 fs::perms::others_read | fs::perms::others_exec);
        int out[2];
        if (pipe(out) != 0) {
            ADD_FAILURE() << "no pipe to the child";
            return {};
        }
        const pid_t pid = fork();
        if (pid < 0) {
            ADD_FAILURE() << "no child";
            close(out[0]);
            close(out[1]);
            return {};
        }
        if (pid == 0) {
            close(out[0]);
            std::string report = "\1could not become an ordinary user";
            if (setgroups(0, nullptr) == 0 && setgid(kNobody) == 0 && setuid(kNobody) == 0 && geteuid() == kNobody) {
                const Outcome o = Win();
                report = std::string(1, o.presented ? '1' : '0') + o.err;
            }
            const ssize_t w = write(out[1], report.data(), report.size());
            _exit(w == static_cast<ssize_t>(report.size()) ? 0 : 1);
        }
        close(out[1]);
        std::string report;
        char buf[512];
        for (ssize_t r; (r = read(out[0], buf, sizeof buf)) > 0;) report.append(buf, static_cast<size_t>(r));
        close(out[0]);
        int status = 0;
        waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the child ended with " << status;
        if (report.empty() || report[0] == '\1') {
            ADD_FAILURE() << report;
            return {};
        }
        return {report.substr(1), report[0] == '1'};
    }
};

std::set<std::string> Names(const fs::path& folder) {
    std::set<std::string> names;
    std::error_code ec;
    if (fs::is_directory(folder, ec))
        for (const auto& e : fs::directory_iterator(folder)) names.insert(e.path().filename().string());
    return names;
}

void Put(const fs::path& p, const std::string& text) { std::ofstream(p, std::ios::binary) << text; }

// The suite's user owns what it makes; an ordinary user must be able to write it.
void GiveToUser(const fs::path& p) {
    if (geteuid() == 0) {
        ASSERT_EQ(lchown(p.c_str(), kNobody, kNobody), 0);
    }
}

// Folder modes an ordinary user can read and enter but not add to.
constexpr fs::perms kClosed = fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                              fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec;

const std::string kOld = "something much longer than the marker\r\nand a second line\r\n";

TEST_P(ClearFile, ReachesItsFileOrIsReportedOnOneLineAndThePresentationGoesOn) {
    const ClearCase& c = GetParam();
    c.arrange(dir);
    const fs::path target = dir / c.target;
    const bool wasLink = fs::is_symlink(File());
    // What the folders should hold afterwards: their names as they are, less the
    // leftovers a win removes, with the target where it is written.
    std::set<std::string> se = Names(dir / "se"), there = Names(target.parent_path());
    for (const std::string& n : c.gone) se.erase(n);
    if (target.parent_path() == dir / "se") there = se;
    if (c.written) there.insert(target.filename().string());
    if (target.parent_path() == dir / "se") se = there;

    const Outcome o = c.asUser ? WinAsUser() : Win();

    EXPECT_TRUE(o.presented) << "the game ended and the presentation ran to its closing box";
    if (c.written) {
        EXPECT_EQ(o.err, "");
        EXPECT_EQ(ReadFile(target), std::string("KOLTEV\r\n"));
    } else {
        EXPECT_EQ(std::count(o.err.begin(), o.err.end(), '\n'), 1) << o.err;
        EXPECT_NE(o.err.find("clear file"), std::string::npos) << o.err;
        EXPECT_NE(o.err.find("da.txt"), std::string::npos) << o.err;
        if (!c.old.empty()) {
            EXPECT_EQ(ReadFile(target), c.old) << "the old file is whole";
        }
    }
    EXPECT_EQ(fs::is_symlink(File()), wasLink) << "a link stays a link";
    EXPECT_EQ(Names(dir / "se"), se) << "no temporary file is left";
    EXPECT_EQ(Names(target.parent_path()), there) << "no temporary file is left";
}

INSTANTIATE_TEST_SUITE_P(
    Battle, ClearFile,
    ::testing::Values(
        ClearCase{"missing", false, [](const fs::path&) {}, true},
        ClearCase{"a longer old file", false, [](const fs::path& d) { Put(d / "se" / "da.txt", kOld); }, true},
        ClearCase{"a symbolic link",
                  false,
                  [](const fs::path& d) {
                      fs::create_directories(d / "games");
                      Put(d / "games" / "da.txt", kOld);
                      fs::create_symlink("../games/da.txt", d / "se" / "da.txt");
                  },
                  true,
                  "games/da.txt"},
        ClearCase{"se closed to new files, da.txt writable",
                  true,
                  [](const fs::path& d) {
                      Put(d / "se" / "da.txt", kOld);
                      GiveToUser(d / "se" / "da.txt");
                      fs::permissions(d / "se", kClosed);
                  },
                  true},
        // A link to a file not made yet is followed as an opened name would
        // be: the file is made where it points.
        ClearCase{"a dangling link",
                  false,
                  [](const fs::path& d) {
                      fs::create_directories(d / "games");
                      fs::create_symlink("../games/clear.txt", d / "se" / "da.txt");
                  },
                  true,
                  "games/clear.txt"},
        // Left by runs killed while writing; a file of the same shape that the
        // game could not have written stays.
        ClearCase{"stale temporary files",
                  false,
                  [](const fs::path& d) {
                      Put(d / "se" / "da.txt", kOld);
                      Put(d / "se" / "da.txt.Xy12ab", "KOL");
                      Put(d / "se" / "da.txt.Qq00Zz", "");
                      Put(d / "se" / "da.txt.backup", "my notes");
                  },
                  true,
                  "se/da.txt",
                  "",
                  {"da.txt.Xy12ab", "da.txt.Qq00Zz"}},
        ClearCase{"no se folder", false, [](const fs::path& d) { fs::remove_all(d / "se"); }, false},
        ClearCase{"se is a file",
                  false,
                  [](const fs::path& d) {
                      fs::remove_all(d / "se");
                      Put(d / "se", "x");
                  },
                  false},
        ClearCase{"da.txt is a folder",
                  false,
                  [](const fs::path& d) { fs::create_directories(d / "se" / "da.txt" / "x"); },
                  false},
        ClearCase{"read-only se folder", true, [](const fs::path& d) { fs::permissions(d / "se", kClosed); }, false},
        ClearCase{"read-only se folder and da.txt",
                  true,
                  [](const fs::path& d) {
                      Put(d / "se" / "da.txt", kOld);
                      fs::permissions(d / "se" / "da.txt", fs::perms::owner_read | fs::perms::group_read |
                                                              fs::perms::others_read);
                      fs::permissions(d / "se", kClosed);
                  },
                  false,
                  "se/da.txt",
                  kOld},
        ClearCase{"a dangling link into a missing folder",
                  false,
                  [](const fs::path& d) { fs::create_symlink("../nowhere/da.txt", d / "se" / "da.txt"); },
                  false},
        ClearCase{"a link that loops",
                  false,
                  [](const fs::path& d) { fs::create_symlink("da.txt", d / "se" / "da.txt"); },
                  false}),
    [](const ::testing::TestParamInfo<ClearCase>& param) {
        std::string name;
        for (const char* p = param.param.what; *p; ++p) name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
        return name;
    });

}  // namespace
