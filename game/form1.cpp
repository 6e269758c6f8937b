// Start-up, the tables, the title sequence and the timers.
#include "form1.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace game {

Form1::Form1(plat::Host& host, plat::Pictures& pictures) : kit::Form(host) { TakePictures(pictures); }

Form1::Form1(plat::Host& host) : kit::Form(host) {
    plat::Pictures pictures(GameArt());
    TakePictures(pictures);
}

void Form1::TakePictures(plat::Pictures& pictures) {
    Chip = pictures.Take("tiles-game");
    KanbanP = pictures.Take("kanban");
    RogoP = pictures.Take("rogo");
    char name[16];
    for (int f = 0; f <= 21; ++f) {
        std::snprintf(name, sizeof name, "face-%02d", f);
        Face[f] = pictures.Take(name);
    }
    for (int r = 0; r <= 4; ++r) {
        std::snprintf(name, sizeof name, "robo-%d", r);
        RoboP[r] = pictures.Take(name);
    }
}

double Form1::Rnd() { return random_() / 4294967296.0; }

void Form1::SeedRandom(uint32_t seed) { random_.seed(seed); }

// ------------------------------------------------------------------ start-up

namespace {

// Draws one pass of a face label straight into the picture.
void Label(plat::Surface& face, float size, kit::Colour colour, int x, int y, const char* text) {
    face.FontSize = size;
    face.FontBold = true;
    face.ForeColor = colour;
    face.CurrentX = static_cast<float>(x);
    face.CurrentY = static_cast<float>(y);
    face.Print(text);
}

}  // namespace

void Form1::HenSyoki() {
    SeedRandom(static_cast<uint32_t>(std::chrono::system_clock::now().time_since_epoch().count()));
    appPath = ProgramFolderPath();
    MusicTable[0] = "bg\\bg0.mid";
    MusicTable[1] = "bg\\bg1.mid";
    for (int s = 1; s <= 10; ++s) SoundTable[s] = "se" + std::to_string(s);
    BaseTile = 28;

    CursorColour = kit::RGB(90, 30, 40);
    SpeedBarColour = kit::RGB(144, 208, 192);
    HpBarColour = kit::RGB(255, 208, 143);
    GaugeColour = kit::Cream;
    RobotBarColour = kit::RGB(255, 152, 143);

    TitlePhase = 0;

    for (int c = 0; c <= 6; ++c) {
        Label(Face[3 * c + 1], 11, kit::QBColor(15), 8, 69, "Sleeping...");
        Label(Face[3 * c + 1], 11, kit::QBColor(0), 9, 70, "Sleeping...");
    }
    for (int c = 0; c <= 6; ++c) {
        Label(Face[3 * c + 2], 12, kit::QBColor(15), 15, 70, "Danger！");
        Label(Face[3 * c + 2], 12, kit::QBColor(15), 17, 70, "Danger！");
        Label(Face[3 * c + 2], 12, kit::QBColor(0), 16, 70, "Danger！");
    }

    const uint8_t weights[6] = {10, 10, 5, 1, 0, 0};
    for (int p = 0; p <= 5; ++p) PositionWeight[p] = weights[p];

    SelectedChar = 3;

    SpriteColX[0] = 0, SpriteColX[1] = 64, SpriteColX[2] = 128;
    const int16_t rows[6] = {64, 32, 96, 128, 128, 128};
    for (int p = 0; p <= 5; ++p) SpriteRowY[p] = rows[p];

    for (i = 0; i <= 6; ++i) {
        CharLevel[i] = 1;
        CharAnimFrame[i] = 1;
        CharX[i] = static_cast<int16_t>(224 + 48 * i);
        CharMoving[i] = 0;
        CharPos[i] = Long;
        CharY[i] = static_cast<int16_t>(RowY(CharPos[i]));
        CharDown[i] = 0;
    }

    const char* const positions[6] = {"チキンゲーム", "ショート", "ロング", "スペシャル", "スリーピング", "リタイア"};
    for (int p = 0; p <= 5; ++p) PositionName[p] = positions[p];

    const char* const abilities[7] = {"おまじない", "鼓舞", "-----", "Tobble", "-----", "自然治癒", "子守歌"};
    for (int c = 0; c <= 6; ++c) AbilityName[c] = abilities[c];

    Jtouroku(0, "メグ", 50, 10, 0, 3);
    Jtouroku(1, "モ・ジャルテ", 60, 10, 3, 3);
    Jtouroku(2, "ヤマモト", 60, 10, 8, 0);
    Jtouroku(3, "チャムス", 50, 10, 5, 5);
    Jtouroku(4, "パウ", 80, 10, 5, 0);
    Jtouroku(5, "カンティーユ", 80, 10, 4, 4);
    Jtouroku(6, "シードパール", 50, 10, 0, 4);

    KoeTouroku();

    JLUtouroku(0, 4, 0, 3);
    JLUtouroku(1, 5, 1, 1);
    JLUtouroku(2, 10, 9, 0);
    JLUtouroku(3, 7, 4, 4);
    JLUtouroku(4, 20, 5, 0);
    JLUtouroku(5, 12, 3, 1);
    JLUtouroku(6, 6, 0, 2);

    TekiTouroku(0, "ミッドナイトクック", 500, 50, 6, 1);
    TekiTouroku(1, "リトル-９Ｃ", 1000, 60, 2, 2);
    TekiTouroku(2, "スザク", 4000, 60, 5, 4);
    TekiTouroku(3, "リトル-９Ｃ・ネオ", 1000, 80, 2, 2);
    TekiTouroku(4, "バギーチップ", 5000, 100, 12, 3);
    TekiTouroku(5, "リトル-９Ｃ・typeＰ", 8000, 150, 2, 2);
    TekiTouroku(6, "スザク・改", 8000, 150, 6, 4);
    TekiTouroku(7, "ユートピア", 9999, 200, 8, 0);
    TekiTouroku(8, "", 7777, 777, 7, 0);

    for (int c = 0; c <= 6; ++c) CharMaxHp[c] = CharHp[c];

    AliveCount = 7;

    RobotIndex = 0;
    LoadRobot(0);
}

void Form1::Jtouroku(int index, const std::string& name, int hp, int moveStep, int shortAtk, int longAtk) {
    CharName[index] = name;
    CharHp[index] = static_cast<int16_t>(hp);
    CharMoveStep[index] = static_cast<int16_t>(moveStep);
    CharShortAtk[index] = static_cast<int16_t>(shortAtk);
    CharLongAtk[index] = static_cast<int16_t>(longAtk);
}

void Form1::JLUtouroku(int index, int growMaxHp, int growShort, int growLong) {
    GrowMaxHp[index] = static_cast<uint8_t>(growMaxHp);
    GrowShort[index] = static_cast<uint8_t>(growShort);
    GrowLong[index] = static_cast<uint8_t>(growLong);
}

void Form1::KoeTouroku() {
    // Columns: level up, hit, knocked out, falls asleep, wakes and sets off,
    // takes on the chicken game.
    static const char* const lines[7][6] = {
        {"ヤッホー！", "きゃっ！", "ごめんね…", "おやすみ～", "おはよっ！", "やってみる！"},
        {"当然よね！", "痛いわね！", "覚えてなさい…", "少し休むわ", "さ、行くわよ", "どきなさい！"},
        {"…フッ。", "くっ…", "不覚…", "少し休む", "行くか", "受けて立つ"},
        {"やったぜ！", "いてっ！", "腹へった…", "ひと休み～", "よっしゃ！", "おれに任せろ！"},
        {"もうかった！", "おっと！", "大損だ…", "休憩です", "さて商売！", "まかせとけ！"},
        {"チョックン！", "チョッ！？", "チョ…ン…", "チョ…zzz", "チョックン♪", "チョーック！"},
        {"ラララ～♪", "あらっ？", "ごめんなさい", "ふぁ…ねむい", "お散歩しましょ", "ドキドキする"},
    };
    for (int c = 0; c <= 6; ++c)
        for (int e = 0; e <= 5; ++e) VoiceLine[c][e] = lines[c][e];
}

void Form1::TekiTouroku(int index, const std::string& name, int energy, int attack, int speed, int picture) {
    RobotNameTable[index] = name;
    RobotEnergyTable[index] = static_cast<int16_t>(energy);
    RobotAttackTable[index] = static_cast<int16_t>(attack);
    RobotSpeedTable[index] = static_cast<int16_t>(speed);
    RobotPictureTable[index] = static_cast<uint8_t>(picture);
}

void Form1::LoadRobot(int r) {
    RobotName = RobotNameTable[r];
    RobotMaxEnergy = RobotEnergyTable[r];
    RobotEnergy = RobotEnergyTable[r];
    RobotAttack = RobotAttackTable[r];
    RobotSpeed = RobotSpeedTable[r];
    RobotPicture = RobotPictureTable[r];
}

// ---------------------------------------------------- title and the timers

void Form1::Timer1_Timer() {
    if (TitlePhase == 0) {
        KeyMode = 5;
        Display[0].FillBox(0, 0, 768, 576, kit::QBColor(0));
        apiResult = plat::BitBlt(Display[0], 224, 182, 320, 96, KanbanP, 0, 0, kit::SRCCOPY);
        Ueito(200);
        Play(5);
        // The logo rises out of the line y 374, top rows first.
        for (i = 4; i <= 64; i += 10) {
            apiResult = plat::BitBlt(Display[0], 352, 374 - i, 64, i, RogoP, 0, 0, kit::SRCCOPY);
            Ueito(30);
        }
        Timer1.SetInterval(2000);
        TitlePhase = 1;
        return;
    }
    SyokiGamen();
    Timer1.SetInterval(0);
    Timer2.SetInterval(100);
    Timer3.SetInterval(3000);
    OpenM(1);
    PlayM(0);
    KeyMode = 0;
}

void Form1::Timer3_Timer() { Mjyoutai(); }

// ------------------------------------------------- party damage and healing

void Form1::DmKeisan() {
    PartyDamage = 0;
    int base = 0;
    for (k = 0; k <= 6; ++k) {
        if (CharMoving[k] != 0) continue;
        if (CharPos[k] == Short) base += CharShortAtk[k];
        if (CharPos[k] == Long) base += CharLongAtk[k];
    }
    PartyDamage = static_cast<int16_t>(base);
    // Every recount bites the robot at once, from the plain sum alone.
    RobotEnergy = static_cast<int16_t>(RobotEnergy - base / 20);
    if (CharPos[3] == Special && CharMoving[3] == 0) PartyDamage = static_cast<int16_t>(PartyDamage + 2 * CharShortAtk[3]);
    if (CharPos[1] == Special && CharMoving[1] == 0) {
        const double boosted = PartyDamage + PartyDamage * static_cast<double>(CharLevel[1]) / 25;
        PartyDamage = static_cast<int16_t>(std::nearbyint(boosted));
    }
    for (k = 0; k <= 6; ++k)
        if (CharPos[k] == ChickenGame) PartyDamage = 0;

    const int offset = PartyDamage <= 9 ? 20 : PartyDamage <= 99 ? 10 : 0;
    apiResult = plat::BitBlt(Display[1], 32, 240, 160, 64, Display[2], 32, 240, kit::SRCCOPY);
    MojiSyu(1, 28, 0, kit::QBColor(0));
    Locate(1, 53 + offset, 251, PartyDamage);
    MojiSyu(1, 28, 0, kit::QBColor(15));
    Locate(1, 55 + offset, 253, PartyDamage);
    apiResult = plat::BitBlt(Display[0], 32, 240, 160, 64, Display[1], 32, 240, kit::SRCCOPY);
}

void Form1::KaihukuHenka() {
    // Held wide before the cap, so very high levels cannot wrap round.
    int chance = 5;
    if (CharMoving[0] == 0 && CharPos[0] == Special) chance += 5 + 2 * CharLevel[0];
    if (CharMoving[6] == 0 && CharPos[6] == Special) chance += 5 + 2 * CharLevel[6];
    if (chance > 100) chance = 100;
    HealChance = static_cast<uint8_t>(chance);
}

}  // namespace game
