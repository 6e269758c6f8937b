// The party's damage score with its bite, and the sleep-healing chance.
#include <gtest/gtest.h>

#include "game_fixture.h"

namespace {

struct Member { uint8_t pos, moving; };

struct Formation {
    const char* what;
    Member m[7];
    int level1;               // level of member 1 (its 鼓舞 grows with it)
    int longAtk0;             // member 0's long attack, to steer the sum; -1 keeps the table's
    int damage, bite;
};

constexpr Member Lg{2, 0}, Sh{1, 0}, Sp{3, 0}, Ch{0, 0}, Zz{4, 0}, Rt{5, 0};

}  // namespace

TEST_F(GameTest, PartyDamageAndTheImmediateBiteFollowTheFormation) {
    Battle();
    const Formation cases[] = {
        {"all at Long, the start", {Lg, Lg, Lg, Lg, Lg, Lg, Lg}, 1, -1, 19, 0},
        {"sum 20 bites 1", {Lg, Zz, Zz, Zz, Zz, Zz, Zz}, 1, 20, 20, 1},
        {"sum 40 bites 2", {Lg, Zz, Zz, Zz, Zz, Zz, Zz}, 1, 40, 40, 2},
        {"all at Short", {Sh, Sh, Sh, Sh, Sh, Sh, Sh}, 1, -1, 25, 1},
        {"鼓舞 level 1: 50 gives 52", {Lg, Sp, Zz, Zz, Zz, Zz, Zz}, 1, 50, 52, 2},
        {"鼓舞 level 3: 41 gives 46", {Lg, Sp, Zz, Zz, Zz, Zz, Zz}, 3, 41, 46, 2},
        {"Tobble adds twice its short attack", {Lg, Lg, Lg, Sp, Lg, Lg, Lg}, 1, -1, 24, 0},
        {"鼓舞 multiplies the Tobble bonus too", {Zz, Sp, Zz, Sp, Zz, Zz, Zz}, 1, -1, 10, 0},
        {"someone at ChickenGame: 0 shown, bite still taken", {Ch, Sh, Sh, Sh, Sh, Sh, Sh}, 1, 40, 0, 1},
        {"walking up into ChickenGame already stops it", {{0, 1}, Sh, Sh, Sh, Sh, Sh, Sh}, 1, -1, 0, 1},
        {"walking down out of ChickenGame does not", {{1, 2}, Sh, Sh, Sh, Sh, Sh, Sh}, 1, -1, 25, 1},
        {"walking towards Short adds nothing", {Lg, Lg, Lg, {1, 1}, Lg, Lg, Lg}, 1, -1, 14, 0},
        {"sleepers and the retired add nothing", {Zz, Rt, Lg, Lg, Zz, Rt, Lg}, 1, -1, 9, 0},
    };
    for (const Formation& f : cases) {
        SCOPED_TRACE(f.what);
        for (int c = 0; c <= 6; ++c) {
            form.CharPos[c] = f.m[c].pos;
            form.CharMoving[c] = f.m[c].moving;
        }
        form.CharLevel[1] = static_cast<uint8_t>(f.level1);
        form.CharLongAtk[0] = static_cast<int16_t>(f.longAtk0 >= 0 ? f.longAtk0 : 3);
        form.RobotEnergy = 500;
        form.DmKeisan();
        EXPECT_EQ(form.PartyDamage, f.damage);
        EXPECT_EQ(form.RobotEnergy, 500 - f.bite);
        EXPECT_EQ(form.k, 7);
    }
    // Every recount bites again, and may take the energy below 0.
    for (int c = 0; c <= 6; ++c) form.CharPos[c] = c == 0 ? 2 : 4;
    form.CharLongAtk[0] = 20;
    form.RobotEnergy = 1;
    form.DmKeisan();
    form.DmKeisan();
    EXPECT_EQ(form.RobotEnergy, -1);
}

TEST_F(GameTest, TheDamageNumberStandsAtItsOffsetWithItsShadow) {
    Battle();
    // Member 0 alone at Long with a long attack of the wanted score.
    const struct { int score, offset; } cases[] = {{0, 20}, {9, 20}, {10, 10}, {99, 10}, {100, 0}, {1000, 0}};
    for (auto c : cases) {
        SCOPED_TRACE(c.score);
        for (int m = 0; m <= 6; ++m) form.CharPos[m] = m == 0 ? 2 : 4;
        form.CharLongAtk[0] = static_cast<int16_t>(c.score);
        form.DmKeisan();
        ASSERT_EQ(form.PartyDamage, c.score);
        plat::Surface want = L(2);
        PrintAt(want, 53 + c.offset, 251, 28, false, false, plat::QBColor(0), NumberText(c.score));
        PrintAt(want, 55 + c.offset, 253, 28, false, false, plat::QBColor(15), NumberText(c.score));
        EXPECT_EQ(Differences(L(1), 32, 240, want, 32, 240, 160, 64), 0) << "composed on the buffer";
        EXPECT_EQ(Differences(L(0), 32, 240, want, 32, 240, 160, 64), 0) << "and shown";
    }
}

TEST_F(GameTest, HealChanceRisesWithTheSingersAtSpecialAndStopsAtOneHundred) {
    Load();
    const struct { const char* what; Member m0, m6; int level0, level6, chance; } cases[] = {
        {"neither at Special", Lg, Lg, 1, 1, 5},
        {"member 0 at Special", Sp, Lg, 1, 1, 12},
        {"member 6 at Special", Lg, Sp, 1, 1, 12},
        {"both", Sp, Sp, 1, 1, 19},
        {"member 6 walking away from Special", Sp, {4, 2}, 1, 1, 12},
        {"levels 3 and 10", Sp, Sp, 3, 10, 41},
        {"the cap", Sp, Sp, 40, 10, 100},
        {"levels past a byte's sum stay capped", Sp, Sp, 200, 255, 100},
        {"one alone above level 122", Sp, Lg, 123, 1, 100},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.what);
        form.CharPos[0] = c.m0.pos, form.CharMoving[0] = c.m0.moving;
        form.CharPos[6] = c.m6.pos, form.CharMoving[6] = c.m6.moving;
        form.CharLevel[0] = static_cast<uint8_t>(c.level0);
        form.CharLevel[6] = static_cast<uint8_t>(c.level6);
        form.KaihukuHenka();
        EXPECT_EQ(form.HealChance, c.chance);
    }
}
