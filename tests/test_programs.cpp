// Both programs, whole, on the headless backend.
#include <gtest/gtest.h>

#include "game/form1.h"
#include "manual/form1.h"
#include "platform/headless.h"

template <class Form>
void StartsAndEndsOnAClick(const char* folder, int baseTile, int musicEntry, const std::string& music, uint32_t startUp) {
    plat::HeadlessHost host(folder);
    Form form(host);
    host.RunUntil(host.now() + startUp);
    EXPECT_FALSE(form.Run());
    EXPECT_TRUE(host.shown());
    EXPECT_EQ(form.appPath, std::string(folder) + "/");
    EXPECT_EQ(form.BaseTile, baseTile);
    EXPECT_EQ(form.Chip.Width(), 192);
    EXPECT_EQ(form.MusicTable[musicEntry], music);
    EXPECT_EQ(form.SoundTable[9], "se9");
    EXPECT_EQ(form.Timer1.Interval(), 0) << "the start-up timer ticks and stops";
    host.Click(400, 300);
    host.RunUntil(host.now() + 10);
    EXPECT_TRUE(form.Run());
    EXPECT_EQ(host.Log().lines.back(), "mci: close bgm");
}

TEST(Programs, GameStartsAndEndsOnAClick) { StartsAndEndsOnAClick<game::Form1>("/opt/tobble7", 28, 1, "bg\\bg1.mid", 3000); }

TEST(Programs, ManualStartsAndEndsOnAClick) { StartsAndEndsOnAClick<manual::Form1>("/opt/tobble7", 0, 3, "bg\\bg3.mid", 500); }

TEST(Programs, SoundTablesDifferOnlyInEntryTen) {
    plat::HeadlessHost a, b;
    game::Form1 g(a);
    manual::Form1 m(b);
    g.Form_Load();
    m.Form_Load();
    for (int k = 0; k <= 9; ++k) EXPECT_EQ(g.SoundTable[k], m.SoundTable[k]) << k;
    EXPECT_EQ(g.SoundTable[10], "se10");
    EXPECT_EQ(m.SoundTable[10], "");
    EXPECT_EQ(g.MusicTable[0], "bg\\bg0.mid");
    EXPECT_EQ(m.MusicTable[0], "");
}
