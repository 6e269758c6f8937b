// The title and the battle screen at a fixed seed against approved pictures.
// Set TOBBLE7_UPDATE_GOLDEN=1 to write the pictures anew after an intended
// change, then look at them before committing.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "game_fixture.h"
#include "platform/picture_file.h"

namespace {

struct Rect { int x, y, w, h; };

// Compares every pixel outside `skip`.
void CompareWithGolden(const plat::Surface& shot, const std::string& name, Rect skip = {0, 0, 0, 0}) {
    const std::string path = std::string(SOURCE_DIR) + "/tests/golden/" + name + ".png";
    const char* update = std::getenv("TOBBLE7_UPDATE_GOLDEN");
    if (update && std::string(update) == "1") {
        ASSERT_TRUE(plat::SavePicture(shot, path));
        GTEST_SKIP() << "wrote " << path;
    }
    const plat::Surface golden = plat::ReadPicture(path);
    ASSERT_EQ(golden.Width(), shot.Width()) << path << " is missing or unreadable";
    ASSERT_EQ(golden.Height(), shot.Height());
    int diff = 0, firstX = -1, firstY = -1;
    for (int y = 0; y < shot.Height(); ++y)
        for (int x = 0; x < shot.Width(); ++x) {
            const bool skipped = x >= skip.x && x < skip.x + skip.w && y >= skip.y && y < skip.y + skip.h;
            if (!skipped && shot.PixelRGB(x, y) != golden.PixelRGB(x, y) && diff++ == 0) firstX = x, firstY = y;
        }
    if (diff > 0) {
        const std::string got = ::testing::TempDir() + name + "-now.png";
        plat::SavePicture(shot, got);
        ADD_FAILURE() << "The " << name << " screen no longer matches the approved picture: " << diff
                      << " pixels differ, the first at (" << firstX << ", " << firstY << ").\n"
                      << "Something drawn on it moved, changed colour or vanished, or the fonts found by fontconfig "
                         "are not the ones the picture was made with. Compare " << got << " with " << path
                      << "; if the change is intended, regenerate with TOBBLE7_UPDATE_GOLDEN=1.";
    }
}

}  // namespace

TEST_F(GameTest, TitleMatchesItsApprovedPicture) {
    Load(7);
    RunFor(1000);
    ASSERT_EQ(form.TitlePhase, 1);
    // The sign itself is art that is redrawn on its own; the title test checks
    // that it stands whole at (224, 182). Here: everything around it.
    CompareWithGolden(L(0), "title", {224, 182, 320, 96});
}

TEST_F(GameTest, BattleScreenWithItsSpritesMatchesItsApprovedPicture) {
    Load(7);
    RunFor(2450);  // the battle screen stands; the first tick is still to come
    ASSERT_EQ(form.KeyMode, 0);
    ASSERT_EQ(form.Timer2.Interval(), 100);
    // The sprites as the tick draws them, without the rest of the tick.
    for (int c = 0; c <= 6; ++c) {
        form.DrawChar = static_cast<uint8_t>(c);
        form.PutC(form.CharX[c], form.CharY[c], form.CharAnimFrame[c]);
    }
    CompareWithGolden(L(0), "battle");
}
