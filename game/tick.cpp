// The battle tick: every 100 ms the balloons count down, the robot's gauge
// fills and it attacks, its energy wears down, the party heals, the chicken
// game raises levels, and the sprites walk and are drawn.
#include "form1.h"

namespace game {

void Form1::Timer2_Timer() {
    plat::Surface& screen = Display[0];

    // Balloon timer.
    if (TalkTimer > 0)
        --TalkTimer;
    else
        Jtalkcls();

    // Speed gauge: the bar shows the gauge before this tick's increase; past
    // 700 the robot attacks with the full bar standing.
    screen.FillBox(622, 194, 622 + SpeedGauge / 7, 204, SpeedBarColour);
    SpeedGauge = static_cast<int16_t>(SpeedGauge + RobotSpeed);
    if (SpeedGauge > 700) {
        screen.FillBox(622, 194, 722, 204, SpeedBarColour);
        RobotSpeed = static_cast<int16_t>(RobotSpeed + 1);
        SpeedGauge = 0;
        TekiKougeki();
        screen.FillBox(622, 194, 722, 204, kit::QBColor(0));
        TspHyouji();
    }

    // Energy loss. A recount may already have taken the energy below 0, so
    // the test comes whatever this tick's loss.
    n = static_cast<int16_t>(PartyDamage / 8);
    RobotEnergy = static_cast<int16_t>(RobotEnergy - n);
    if (RobotEnergy < 0) Taosita();
    if (n != 0) ThpHyouji();

    // Natural healing of member 5, only while it stands at Special.
    if (CharHp[5] < CharMaxHp[5] && CharPos[5] == Special && CharMoving[5] == 0) {
        ++CharHp[5];
        HpHyouji();
    }

    // Sleep healing, a random draw only for those who could heal.
    for (i = 0; i <= 6; ++i) {
        if (CharHp[i] < CharMaxHp[i] && CharPos[i] == Sleeping && CharMoving[i] == 0) {
            const float r = static_cast<float>(Rnd() * 110);
            if (r < HealChance) {
                CharHp[i] = static_cast<int16_t>(CharHp[i] + 2);
                if (CharHp[i] > CharMaxHp[i]) CharHp[i] = CharMaxHp[i];
                HpHyouji();
            }
        }
    }

    // Chicken game: 32 idle ticks give a level.
    for (i = 0; i <= 6; ++i) {
        if (CharMoving[i] == 0 && CharPos[i] == ChickenGame) {
            ++ChickenCount[i];
            if (i == SelectedChar) {
                screen.DrawWidth = 1;
                screen.FillBox(48, 194, 48 + 3 * ChickenCount[i], 204, GaugeColour);
            }
            if (ChickenCount[i] == 32) {
                LvUpChar = static_cast<uint8_t>(i);
                LvUp();
            }
        }
    }

    // Movement and drawing.
    for (i = 0; i <= 6; ++i) {
        if (CharDown[i] == 0) CharAnimFrame[i] = static_cast<int16_t>(-CharAnimFrame[i]);
        if (CharDown[i] == 0 && CharMoving[i] != 0) {
            MoveAccum[i] = static_cast<uint8_t>(MoveAccum[i] + CharMoveStep[i]);
            if (MoveAccum[i] > 10) {
                MoveAccum[i] = static_cast<uint8_t>(MoveAccum[i] - 10);
                const int target = RowY(CharPos[i]);
                const int way = CharMoving[i];
                bool arrived;
                if (way == 1) {
                    CharY[i] = static_cast<int16_t>(CharY[i] - 4);
                    arrived = CharY[i] < target;
                } else {
                    CharY[i] = static_cast<int16_t>(CharY[i] + 4);
                    arrived = CharY[i] > target;
                }
                if (arrived) {
                    Play(3);
                    CharY[i] = static_cast<int16_t>(target);
                    CharMoving[i] = 0;
                    JstHyouji();
                    DmKeisan();
                    KaoHenka();
                    KerHyouji();
                    KaihukuHenka();
                    if (way == 1 && CharPos[i] == ChickenGame) ChickenCount[i] = 0;
                    if (way == 2 && CharPos[i] == Sleeping) {
                        Jtalkcls();
                        Jtalk(i, 3);
                        TalkTimer = 5;
                    }
                }
            }
        }
        DrawChar = static_cast<uint8_t>(i);
        // Once the last robot has fallen, the clear presentation stands on the
        // field for good: a sprite restored over it would cut its letters.
        if (RobotIndex < 8) PutC(CharX[i], CharY[i], CharAnimFrame[i]);
    }
}

}  // namespace game
