// The manual's start-up, its reading of the clear file, the menu and its keys.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "manual/texts.h"
#include "manual_fixture.h"

using manualtest::Folder;
using manualtest::Region;
using manualtest::SoundLine;
using Run1 = manualtest::ManualRun<>;
namespace fs = std::filesystem;

TEST(ManualClearFile, OnlyTheMarkerAsFirstFieldOpensTheEpilogue) {
    struct Case {
        const char* what;
        std::optional<std::string> bytes;  // nullopt: no file
        int cleared;
    };
    const std::string huge(1 << 20, 'x');
    const Case cases[] = {
        {"as the game writes it", std::string("KOLTEV\n"), 1},
        {"line end of another system", std::string("KOLTEV\r\n"), 1},
        {"no line end", std::string("KOLTEV"), 1},
        {"comma and more text", std::string("KOLTEV,and more text\n"), 1},
        {"leading blanks", std::string("  KOLTEV\n"), 1},
        {"in double quotes", std::string("\"KOLTEV\",1\n"), 1},
        {"lower case", std::string("koltev\n"), 0},
        {"one letter more", std::string("KOLTEVS\n"), 0},
        {"one letter missing", std::string("KOLTE\n"), 0},
        {"trailing blank", std::string("KOLTEV \n"), 0},
        {"marker on the second line", std::string("\nKOLTEV\n"), 0},
        {"quotes keep the comma", std::string("\"KOLTEV,\"\n"), 0},
        {"empty", std::string(""), 0},
        {"binary", std::string("\0\xff\x01KOLTEV\n", 10), 0},
        {"marker then a huge tail", std::string("KOLTEV\n") + huge, 1},
        {"a first line longer than what is read", huge + "\nKOLTEV\n", 0},
        {"unclosed quote beyond what is read", "\"KOLTEV" + huge, 0},
        {"no line end, the file exactly as long as what is read", std::string(4090, ' ') + "KOLTEV", 1},
        {"no line end, one byte past what is read", std::string(4091, ' ') + "KOLTEV", 0},
        {"no file", std::nullopt, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Run1 r(c.bytes);
        testing::internal::CaptureStderr();
        r.form->Form_Load();
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(r.form->GameCleared, c.cleared);
        EXPECT_EQ(err, "") << "a clear file that cannot be read is not mentioned";
        if (c.cleared) {
            EXPECT_EQ(r.form->ClearText, "KOLTEV");
        }
        if (c.bytes && c.bytes->size() > 4096 && !c.cleared) {
            EXPECT_EQ(r.form->ClearText, "");
        }
    }
}

TEST(ManualClearFile, NoFolderAFolderOrAPipeInItsPlaceCountAsNotCleared) {
    {
        Run1 r;  // no se folder at all
        r.form->Form_Load();
        EXPECT_EQ(r.form->GameCleared, 0);
    }
    {
        Run1 r;  // the folder, but no file in it
        fs::create_directories(r.folder.root() / "se");
        r.form->Form_Load();
        EXPECT_EQ(r.form->GameCleared, 0);
    }
    {
        Run1 r;
        fs::create_directories(r.folder.root() / "se" / "da.txt");
        r.form->Form_Load();
        EXPECT_EQ(r.form->GameCleared, 0);
    }
    {
        // Opening a pipe with no writer would block the start for ever.
        Run1 r;
        fs::create_directories(r.folder.root() / "se");
        ASSERT_EQ(mkfifo((r.folder.root() / "se" / "da.txt").c_str(), 0600), 0);
        r.form->Form_Load();
        EXPECT_EQ(r.form->GameCleared, 0);
    }
}

TEST(ManualClearFile, IsReadOnceAtStartAndNeverWritten) {
    Run1 r;
    r.Start();
    r.folder.WriteClearFile(manualtest::kClearLine);
    r.Advance(10000);
    EXPECT_EQ(r.form->GameCleared, 0) << "a game won meanwhile counts from the next start";
    EXPECT_TRUE(r.Press(plat::VK_ESCAPE));
    std::ifstream f(r.folder.root() / "se" / "da.txt");
    std::string content((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    EXPECT_EQ(content, manualtest::kClearLine);
}

TEST(ManualStart, FirstTickPlaysTheMenuMusicShowsPageOneAndLoopsEveryThreeSeconds) {
    Run1 r;
    r.form->Form_Load();
    EXPECT_EQ(r.form->MenuNo, 1);
    EXPECT_EQ(r.form->ProPage, 0);
    EXPECT_EQ(r.form->EpiText[1], manual::texts::EpilogueLines[1]);
    EXPECT_EQ(r.form->TextColour, plat::RGB(90, 50, 30));
    EXPECT_EQ(r.form->HighlightColour, plat::RGB(255, 0, 0));
    const size_t mark = r.Mark();
    r.Start();
    EXPECT_EQ(r.LogSince(mark),
              (std::vector<std::string>{"mci: open " + r.Path("bg/bg2.mid") + " alias bgm", "mci: play bgm"}));
    EXPECT_EQ(r.form->Timer1.Interval(), 0);
    EXPECT_EQ(r.form->Timer3.Interval(), 3000);
    EXPECT_EQ(r.form->Timer2.Interval(), 0);

    // The page of item 1 over the menu, and the cursor on item 1.
    auto& f = *r.form;
    EXPECT_NE(f.Display[0].Pixels(), f.Display[2].Pixels());
    EXPECT_EQ(f.Display[0].PixelRGB(66, 107), 0xFFFFFFu);

    // The music ends: the next three-second tick starts it again from the top.
    r.host->music().EndPiece();
    const size_t loop = r.Mark();
    r.Advance(3000);
    EXPECT_EQ(r.LogSince(loop),
              (std::vector<std::string>{"mci: status bgm mode", "mci: seek bgm to start", "mci: play bgm"}));
}

TEST(ManualStart, Timer3SendsNothingWhileTheShowRuns) {
    Run1 r(manualtest::kClearLine);
    r.Start();
    r.form->EpiRunning = 1;
    r.host->music().EndPiece();
    const size_t mark = r.Mark();
    r.form->Timer3_Timer();
    EXPECT_TRUE(r.LogSince(mark).empty());
    r.form->EpiRunning = 0;
    r.form->Timer3_Timer();
    EXPECT_FALSE(r.LogSince(mark).empty());
}

TEST(ManualMenu, ScreenHasTheStrawPanelTitleRuleAndLabels) {
    Run1 cleared(manualtest::kClearLine), masked;
    cleared.Start();
    masked.Start();
    const plat::Surface& bg = cleared.form->Display[2];
    const plat::Surface& chip = cleared.form->Chip;
    // Straw tile 3 inside the menu panel, where no label reaches.
    EXPECT_EQ(bg.PixelRGB(240, 510), chip.PixelRGB(3 * 32 + 16, 30));
    EXPECT_EQ(bg.PixelRGB(250, 100), chip.PixelRGB(3 * 32 + 26, 4));
    // Base tile 0 right of the panel.
    EXPECT_EQ(bg.PixelRGB(400, 300), chip.PixelRGB(400 % 32, 300 % 32));
    // The rule under the title, two pixels wide.
    EXPECT_EQ(bg.PixelRGB(150, 80), plat::ToRGB(cleared.form->TextColour));
    EXPECT_EQ(bg.PixelRGB(150, 81), plat::ToRGB(cleared.form->TextColour));
    // Only label 17 differs between an opened and a masked menu.
    const plat::Surface& bm = masked.form->Display[2];
    int differ = 0, outside = 0;
    for (int y = 0; y < 576; ++y)
        for (int x = 0; x < 768; ++x)
            if (bg.PixelRGB(x, y) != bm.PixelRGB(x, y)) {
                ++differ;
                outside += !(x >= 60 && x < 256 && y >= 500 && y < 525);
            }
    EXPECT_GT(differ, 50);
    EXPECT_EQ(outside, 0);
}

namespace {

// The screen a fresh manual shows on item `item` (and prologue page `page`).
std::vector<uint32_t> FreshScreen(bool cleared, int item, int page = 0) {
    Run1 r(cleared ? std::optional<std::string>(manualtest::kClearLine) : std::nullopt);
    r.Start();
    r.form->MenuNo = static_cast<uint8_t>(item);
    r.form->Hantei();
    if (item == 16 && page != 0) {
        r.form->ProPage = static_cast<uint8_t>(page);
        r.form->Pro();
    }
    r.form->KerHyouji();
    return r.form->Display[0].Pixels();
}

}  // namespace

TEST(ManualMenu, KeysMoveWithoutWrapTurnThePrologueAndKeepSilentWhenNothingHappens) {
    struct Step {
        int key, times;
        int menu, page;
        bool sound;  // every press plays sound 3
    };
    const int U = plat::VK_UP, D = plat::VK_DOWN, L = plat::VK_LEFT, R = plat::VK_RIGHT;
    const Step steps[] = {
        {U, 1, 1, 0, false},   // no wrap at the top
        {L, 1, 1, 0, false},
        {R, 1, 1, 0, false},
        {D, 1, 2, 0, true},
        {U, 1, 1, 0, true},
        {D, 15, 16, 0, true},  // the prologue opens at its first page
        {L, 1, 16, 0, false},  // nothing before the first page
        {R, 5, 16, 5, true},
        {D, 1, 17, 5, true},   // the epilogue is masked
        {R, 1, 17, 5, false},  // not cleared: Right does nothing
        {L, 1, 17, 5, false},  // no show to abort
        {D, 1, 17, 5, false},  // no wrap at the bottom
        {U, 1, 16, 0, true},   // back on the prologue: page 1 again
        {R, 13, 16, 13, true},
        {R, 1, 16, 13, false}, // nothing after the last page
        {L, 1, 16, 12, true},
        {U, 3, 13, 12, true},
    };
    Run1 r;
    r.Start();
    for (const Step& s : steps) {
        SCOPED_TRACE(testing::Message() << "key " << s.key << " x" << s.times << " to item " << s.menu);
        const auto before = r.form->Display[0].Pixels();
        const size_t mark = r.Mark();
        for (int k = 0; k < s.times; ++k) r.Press(s.key);
        EXPECT_EQ(r.form->MenuNo, s.menu);
        if (s.menu == 16) {
            EXPECT_EQ(r.form->ProPage, s.page);
        }
        const auto log = r.LogSince(mark);
        if (s.sound) {
            EXPECT_EQ(log, std::vector<std::string>(static_cast<size_t>(s.times), SoundLine(r, 3)));
            // The whole screen as a fresh manual shows this item: nothing of the last page remains.
            EXPECT_EQ(r.form->Display[0].Pixels(), FreshScreen(false, s.menu, s.menu == 16 ? s.page : 0));
        } else {
            EXPECT_TRUE(log.empty());
            EXPECT_EQ(r.form->Display[0].Pixels(), before);
        }
        EXPECT_EQ(r.form->Timer2.Interval(), 0);
    }
    EXPECT_FALSE(r.ended);
}

TEST(ManualMenu, CursorDotFollowsTheItemAndLeavesNoTrace) {
    Run1 r;
    r.Start();
    auto& f = *r.form;
    for (int item = 1; item <= 17; ++item) {
        if (item > 1) r.Press(plat::VK_DOWN);
        for (int other = 1; other <= 17; ++other) {
            const uint32_t centre = f.Display[0].PixelRGB(66, 82 + 25 * other);
            if (other == item)
                EXPECT_EQ(centre, 0xFFFFFFu) << item;
            else
                EXPECT_EQ(centre, f.Display[2].PixelRGB(66, 82 + 25 * other)) << item << " " << other;
        }
    }
}

TEST(ManualMenu, EscOrAClickEndsTheProgramAtOnce) {
    for (bool click : {false, true}) {
        Run1 r;
        r.Start();
        r.Press(plat::VK_DOWN);
        const size_t mark = r.Mark();
        if (click) {
            r.host->Click(400, 300);
            EXPECT_TRUE(r.Advance(0));
        } else {
            EXPECT_TRUE(r.Press(plat::VK_ESCAPE));
        }
        EXPECT_EQ(r.LogSince(mark), (std::vector<std::string>{"snd: stop", "mci: stop bgm", "mci: close bgm"}));
    }
}
