// Makes the manual's picture of the battle screen: runs the game headless with
// a fixed seed to the battle, sets the party out over the rows from Short down
// as after some play (some hurt, one asleep, the robot's energy part-used),
// lets the battle tick draw the sprites, puts the layer on the black 800x600
// window at (16, 12) and writes it at half size, each pixel the average of the
// four it covers.
//
//   build/gamen art/gamen.png [full-size.png]
#include <cstdio>
#include <string>

#include "../game/form1.h"
#include "../platform/headless.h"
#include "../platform/picture_file.h"

namespace {

struct Member { uint8_t pos; int16_t hp; int levels; };

// Short, Long, Special and Sleeping all in use; nobody at the chicken game.
// Two have won a level at the chicken game already.
const Member kFormation[7] = {
    {3, 41, 0},  // メグ: Special, her charm helping the sleeper
    {1, 33, 0},  // モ・ジャルテ: Short, hurt
    {1, 52, 1},  // ヤマモト: Short
    {2, 44, 1},  // チャムス: Long, selected
    {1, 61, 0},  // パウ: Short
    {3, 70, 0},  // カンティーユ: Special, healing itself
    {4, 9, 0},   // シードパール: asleep, badly hurt
};

plat::Surface HalfSize(const plat::Surface& s) {
    plat::Surface out(s.Width() / 2, s.Height() / 2);
    for (int y = 0; y < out.Height(); ++y)
        for (int x = 0; x < out.Width(); ++x) {
            uint32_t sum[3] = {0, 0, 0};
            for (int dy = 0; dy <= 1; ++dy)
                for (int dx = 0; dx <= 1; ++dx) {
                    const uint32_t p = s.PixelRGB(2 * x + dx, 2 * y + dy);
                    sum[0] += p >> 16 & 255, sum[1] += p >> 8 & 255, sum[2] += p & 255;
                }
            out.SetPixelRGB(x, y, ((sum[0] + 2) / 4) << 16 | ((sum[1] + 2) / 4) << 8 | ((sum[2] + 2) / 4));
        }
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s out.png [full-size.png]\n", argv[0]);
        return 2;
    }
    plat::HeadlessHost host(".");
    game::Form1 form(host);
    host.RunUntil(host.now());
    form.Run();
    form.SeedRandom(7);
    host.RunUntil(host.now() + 2450);  // the title and the battle start, before the first tick
    if (form.Run() || form.KeyMode != 0) {
        std::fprintf(stderr, "the game did not reach the battle\n");
        return 1;
    }

    for (int c = 0; c <= 6; ++c) {
        form.CharPos[c] = kFormation[c].pos;
        form.CharMoving[c] = 0;
        form.CharY[c] = static_cast<int16_t>(55 * kFormation[c].pos + 170);
        for (int l = 0; l < kFormation[c].levels; ++l) {
            form.CharLevel[c] = static_cast<uint8_t>(form.CharLevel[c] + 1);
            form.CharMaxHp[c] = static_cast<int16_t>(form.CharMaxHp[c] + form.GrowMaxHp[c]);
            form.CharShortAtk[c] = static_cast<int16_t>(form.CharShortAtk[c] + form.GrowShort[c]);
            form.CharLongAtk[c] = static_cast<int16_t>(form.CharLongAtk[c] + form.GrowLong[c]);
        }
        form.CharHp[c] = kFormation[c].hp;
    }
    form.DmKeisan();
    form.KaihukuHenka();
    form.KaoHenka();
    form.KerHyouji();
    form.HpHyouji();
    form.RobotEnergy = 312;
    form.ThpHyouji();
    form.SpeedGauge = 350;

    host.RunUntil(host.now() + 200);  // the first two ticks draw the sprites where they stand
    form.Run();
    form.Display[0].FillBox(622, 194, 622 + form.SpeedGauge / 7, 204, form.SpeedBarColour);
    form.Jtalk(6, 3);

    plat::Surface window(800, 600);
    plat::BitBlt(window, 16, 12, 768, 576, form.Display[0], 0, 0, plat::SRCCOPY);
    if (argc > 2 && !plat::SavePicture(window, argv[2])) return 1;
    return plat::SavePicture(HalfSize(window), argv[1]) ? 0 : 1;
}
