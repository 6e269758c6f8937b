// tobble7's window: the whole game state, the start-up, the title and the
// battle screen's displays.
#pragma once

#include <cstdint>
#include <random>
#include <string>

#include "../kit/art.h"
#include "../kit/form.h"

// The pictures this program carries.
const plat::PictureFile* GameArt();

namespace game {

// A party member's position: the rows of the field from the front, and the
// knocked-out's own code.
enum Position : uint8_t { ChickenGame = 0, Short = 1, Long = 2, Special = 3, Sleeping = 4, Retired = 5 };

// The y of a position's row on the field.
constexpr int RowY(int pos) { return 55 * pos + 170; }
// Where a knocked-out sprite stands: the row of Sleeping.
constexpr int RetiredRowY = RowY(Sleeping);

class Form1 : public kit::Form {
public:
    // With the pictures decoded ahead, as the program starts; without, they
    // are decoded now.
    Form1(plat::Host& host, plat::Pictures& pictures);
    explicit Form1(plat::Host& host);
    void TakePictures(plat::Pictures& pictures);

    // --- The party (members 0..6) ---
    std::string CharName[7];
    int16_t CharHp[7] = {};
    int16_t CharMaxHp[7] = {};
    int16_t CharShortAtk[7] = {};
    int16_t CharLongAtk[7] = {};
    uint8_t GrowMaxHp[7] = {};
    uint8_t GrowShort[7] = {};
    uint8_t GrowLong[7] = {};
    uint8_t CharLevel[7] = {};
    std::string AbilityName[7];
    uint8_t CharPos[7] = {};
    uint8_t CharMoving[7] = {};
    int16_t CharX[7] = {};
    int16_t CharY[7] = {};
    int16_t CharMoveStep[7] = {};
    uint8_t MoveAccum[7] = {};
    int16_t CharAnimFrame[7] = {};
    uint8_t CharDown[7] = {};
    int16_t ChickenCount[7] = {};
    uint8_t HitFlag[7] = {};
    std::string VoiceLine[7][6];  // member, then event

    // --- Positions, by Position ---
    std::string PositionName[6];
    uint8_t PositionWeight[6] = {};

    // --- Robots: the table (rows 0..8) and the one being fought ---
    std::string RobotNameTable[9];
    int16_t RobotEnergyTable[9] = {};
    int16_t RobotAttackTable[9] = {};
    int16_t RobotSpeedTable[9] = {};
    uint8_t RobotPictureTable[9] = {};
    uint8_t RobotIndex = 0;
    std::string RobotName;
    int16_t RobotEnergy = 0;
    int16_t RobotMaxEnergy = 0;
    int16_t RobotAttack = 0;
    int16_t RobotSpeed = 0;
    uint8_t RobotPicture = 0;

    // --- The battle ---
    uint8_t SelectedChar = 0;
    int16_t SpeedGauge = 0;
    int16_t PartyDamage = 0;
    uint8_t HealChance = 0;
    uint8_t AliveCount = 0;
    uint8_t LvUpChar = 0;
    uint8_t TalkTimer = 0;
    uint8_t DrawChar = 0;
    uint8_t KeyMode = 0;
    uint8_t TitlePhase = 0;
    int16_t k = 0, m = 0, n = 0;

    // --- Sprite lookup: sheet x by movement, sheet y by position ---
    int16_t SpriteColX[3] = {};
    int16_t SpriteRowY[6] = {};

    // --- Colours ---
    kit::Colour CursorColour = 0;
    kit::Colour SpeedBarColour = 0;
    kit::Colour HpBarColour = 0;
    kit::Colour GaugeColour = 0;
    kit::Colour RobotBarColour = 0;

    // --- Pictures (hidden, their own sizes) ---
    plat::Surface Face[22];
    plat::Surface RoboP[5];
    plat::Surface KanbanP;
    plat::Surface RogoP;

    // --- Random source: uniform in [0, 1) ---
    double Rnd();
    void SeedRandom(uint32_t seed);

    // --- Start-up and tables ---
    void HenSyoki() override;
    void Jtouroku(int index, const std::string& name, int hp, int moveStep, int shortAtk, int longAtk);
    void JLUtouroku(int index, int growMaxHp, int growShort, int growLong);
    void KoeTouroku();
    void TekiTouroku(int index, const std::string& name, int energy, int attack, int speed, int picture);
    // Makes row r of the robot table the robot being fought.
    void LoadRobot(int r);

    // --- Title sequence and timers ---
    void Timer1_Timer() override;
    void Timer2_Timer() override;
    void Timer3_Timer() override;

    // --- Party damage and healing ---
    void DmKeisan();
    void KaihukuHenka();

    // The part of the robot's attack member c takes, weightTotal being the sum
    // of the seven members' PositionWeight: one rule for the attack and for the
    // shares the faces show, so the two never disagree.
    int AttackShare(int c, int weightTotal) const;

    // --- Battle scenery ---
    void SyokiGamen();
    void Kusa();
    void Senro();
    void Kage();

    // --- Robot and HP displays ---
    void RoboHyouji(int picture);
    void TstHyouji();
    void ThpHyouji();
    void TspHyouji();
    void HpHyouji();

    // --- Party sprites ---
    void PutC(int x, int y, int frame);

    // --- Face strip and speech balloons ---
    void KaoHenka();
    void KerHyouji();
    void DmHyouji();
    void Jtalk(int who, int event);
    void Jtalkcls();

    // --- Party panel ---
    void JstHyouji();

private:
    std::mt19937 random_;

public:
    // --- The battle: tick, keys, level-up, attacks, knock-outs, the clear ---
    void Display_KeyDown(int Index, int KeyCode, int Shift) override;
    void MoveUp(int s);
    void MoveDown(int s);
    void LvUp();
    void TekiKougeki();
    void Tujyo();
    void IkisiniHantei();
    void TestYure();
    void DmEnsyutu();
    void Taosita();
    void SavePas();
    void EndSyori();
};

}  // namespace game
