// The epilogue show on the virtual clock: its schedule, pictures, music,
// keys during the show, abort and restart.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "manual_fixture.h"

using manualtest::Region;
using manualtest::SoundLine;

namespace {

// The manual with a record of every step of the show.
struct ShowForm : manual::Form1 {
    using manual::Form1::Form1;
    struct Step {
        uint32_t start = 0, end = 0;
        int before = 0, after = -1;
        int picture = -1;       // the sketch shown after the step
        int period = 0;         // Timer2 after the step
        int inkRow2 = 0;        // lit pixels on the text row of a page's second entry
        uint32_t brightest = 0;  // on the row of the entry this step showed
        int white = 0;          // pure white pixels where the closing word stands
        int leftOfBox = 0;      // lit pixels between the sketch and the box a page clears
        std::vector<std::string> log;
    };
    std::vector<Step> steps;

    int Picture() {
        const auto shown = Region(Display[0], 141, 136, 192, 305);
        for (int k = 0; k < 8; ++k)
            if (EpiP[k].Width() == 192 && shown == EpiP[k].Pixels()) return k;
        return -1;
    }
    void Finish(size_t mark) {
        Step& s = steps.back();
        s.end = host().Ticks();
        s.after = EpiLine;
        s.picture = Picture();
        s.period = Timer2.Interval();
        for (int y = 158; y < 178; ++y)
            for (int x = 355; x <= 750; ++x) s.inkRow2 += Display[0].PixelRGB(x, y) != 0;
        if (s.before >= 1 && s.before <= 98) {
            const int row = (s.before % 14) * 25 + 108;
            for (int y = row; y < row + 20; ++y)
                for (int x = 354; x <= 750; ++x) s.brightest = std::max(s.brightest, Display[0].PixelRGB(x, y));
        }
        for (int y = 430; y < 452; ++y)
            for (int x = 358; x <= 480; ++x) s.white += Display[0].PixelRGB(x, y) == 0xFFFFFF;
        for (int y = 120; y <= 456; ++y)
            for (int x = 141 + 192; x < 355; ++x) s.leftOfBox += Display[0].PixelRGB(x, y) != 0;
        const auto& l = host().Log().lines;
        s.log.assign(l.begin() + static_cast<std::ptrdiff_t>(mark), l.end());
    }
    void Timer2_Timer() override {
        Step s;
        s.start = host().Ticks();
        s.before = EpiLine;
        steps.push_back(s);
        const size_t mark = host().Log().lines.size();
        try {
            manual::Form1::Timer2_Timer();
        } catch (const plat::EndProgram&) {
            Finish(mark);
            throw;
        }
        Finish(mark);
    }
};

using ShowRun = manualtest::ManualRun<ShowForm>;

void ToItem17(ShowRun& r) {
    r.Start();
    for (int k = 0; k < 16; ++k) r.Press(plat::VK_DOWN);
    ASSERT_EQ(r.form->MenuNo, 17);
}

}  // namespace

TEST(ManualShow, RunsToItsEndOnTheSchedule) {
    ShowRun r(manualtest::kClearLine);
    ToItem17(r);
    auto& f = *r.form;
    const size_t mark = r.Mark();
    const uint32_t t0 = r.host->now();
    r.Press(plat::VK_RIGHT);
    EXPECT_EQ(r.LogSince(mark),
              (std::vector<std::string>{SoundLine(r, 8), "mci: stop bgm", "mci: close bgm"}));
    EXPECT_EQ(f.EpiRunning, 1);
    EXPECT_EQ(f.Timer3.Interval(), 0);
    EXPECT_EQ(f.Timer2.Interval(), 1);

    // The music that opens at entry 17 ends long before the show does: nothing restarts it.
    bool ended = false;
    for (int guard = 0; guard < 200 && !ended; ++guard) {
        ended = r.Advance(5000);
        if (f.EpiLine > 40) r.host->music().EndPiece();
    }
    ASSERT_TRUE(ended);
    const auto& st = f.steps;
    ASSERT_EQ(st.size(), 100u);
    for (size_t k = 0; k < st.size(); ++k) ASSERT_EQ(st[k].before, static_cast<int>(k));

    // The title: 1 ms after the key, about 5.2 s of blinds and fades, then 3 s.
    EXPECT_EQ(st[0].start - t0, 1u);
    EXPECT_NEAR(static_cast<double>(st[0].end - st[0].start), 5200, 150);
    EXPECT_EQ(st[0].picture, 3);
    EXPECT_EQ(st[1].start - st[0].end, 3000u);

    // Every line step fades for the same time, an empty entry too, then waits its period.
    const uint32_t fade = st[1].end - st[1].start;
    EXPECT_NEAR(fade, 800, 30);
    const std::map<int, int> pictures = {{8, 0}, {16, 2}, {23, 1}, {34, 4}, {49, 5}, {78, 6}, {86, 7}, {92, 3}};
    int picture = 3;
    std::vector<int> inkedLeftOfBox;
    for (int k = 1; k <= 98; ++k) {
        SCOPED_TRACE(testing::Message() << "step " << k);
        const auto& s = st[static_cast<size_t>(k)];
        EXPECT_EQ(s.after, k + 1);
        if (k != 97) {
            EXPECT_EQ(s.end - s.start, fade);
        }
        const int period = k == 96 ? 13000 : k == 97 ? 10000 : 3500;
        EXPECT_EQ(s.period, period);
        // The next step starts one period after the period was set, right after the fade.
        EXPECT_EQ(st[static_cast<size_t>(k) + 1].start - (s.start + fade), static_cast<uint32_t>(period));
        if (pictures.count(k + 1)) picture = pictures.at(k + 1);
        EXPECT_EQ(s.picture, picture);
        if (k == 17) {
            EXPECT_EQ(s.log, (std::vector<std::string>{"mci: open " + r.Path("bg/bg3.mid") + " alias bgm",
                                                       "mci: play bgm"}));
        } else {
            EXPECT_TRUE(s.log.empty()) << "no music command";
        }
        // A line fades in to near white, never to white; only the closing word is white.
        if (!f.EpiText[k].empty()) {
            EXPECT_EQ(s.brightest, 0xFAFAFAu);
        }
        EXPECT_EQ(s.white > 0, k >= 97) << "おしまい";
        // A page's first entry clears the last page's lines.
        if (k % 14 == 1) {
            EXPECT_EQ(s.inkRow2, 0);
        }
        if (k % 14 == 2 && !f.EpiText[k].empty()) {
            EXPECT_GT(s.inkRow2, 0);
        }
        if (s.leftOfBox != 0) inkedLeftOfBox.push_back(k);
    }
    // The lines start at x 354 and the clearing box at 355: ink left of the
    // box is never cleared and builds up pass by pass into grey specks.
    EXPECT_EQ(inkedLeftOfBox, std::vector<int>{}) << "steps that left ink left of the box that clears a page";
    EXPECT_NEAR(static_cast<double>(st[97].end - st[97].start - fade), 26 * 40, 40) << "おしまい";
    // Step 99 ends the program at once.
    EXPECT_EQ(st[99].log, (std::vector<std::string>{"mci: stop bgm", "mci: close bgm"}));
    EXPECT_EQ(st[99].end, st[99].start);
    EXPECT_EQ(f.EpiLine, 99);
    EXPECT_TRUE(f.Display[0].FontItalic);

    const uint32_t musicAt = st[17].end - t0, endAt = st[99].start - t0;
    const uint32_t thanksAt = st[96].end - t0;
    std::printf("epilogue show: music opens %.3f s after Right, thank-you line in full %.3f s, program ends %.3f s; "
                "music must last %.3f s, thank-you line at %.3f s into it\n",
                musicAt / 1000.0, thanksAt / 1000.0, endAt / 1000.0, (endAt - musicAt) / 1000.0,
                (thanksAt - musicAt) / 1000.0);
}

TEST(ManualShow, KeysDuringTheShowAbortAndRestartFromTheTitle) {
    ShowRun r(manualtest::kClearLine);
    ToItem17(r);
    auto& f = *r.form;
    const auto menuScreen = f.Display[0].Pixels();
    r.Press(plat::VK_RIGHT);
    r.Advance(5300 + 3000 + 4306 + 1000);  // the title and two lines
    ASSERT_EQ(f.EpiLine, 3);
    // Up, Down and Right do nothing while it runs.
    for (int key : {plat::VK_UP, plat::VK_DOWN, plat::VK_RIGHT}) {
        const size_t mark = r.Mark();
        const auto screen = f.Display[0].Pixels();
        r.Press(key);
        EXPECT_TRUE(r.LogSince(mark).empty()) << key;
        EXPECT_EQ(f.MenuNo, 17);
        EXPECT_EQ(f.EpiLine, 3);
        EXPECT_EQ(f.Display[0].Pixels(), screen);
    }
    // Left aborts: the menu music again, its loop, and the menu with the Epi page.
    const size_t mark = r.Mark();
    r.Press(plat::VK_LEFT);
    EXPECT_EQ(r.LogSince(mark),
              (std::vector<std::string>{SoundLine(r, 3), "mci: stop bgm", "mci: close bgm",
                                        "mci: open " + r.Path("bg/bg2.mid") + " alias bgm", "mci: play bgm"}));
    EXPECT_EQ(f.EpiRunning, 0);
    EXPECT_EQ(f.EpiLine, 3) << "kept until the next start";
    EXPECT_EQ(f.Timer2.Interval(), 0);
    EXPECT_EQ(f.Timer3.Interval(), 3000);
    EXPECT_EQ(f.Display[0].Pixels(), menuScreen);
    const size_t steps = f.steps.size();
    r.Advance(20000);
    EXPECT_EQ(f.steps.size(), steps) << "no step after the abort";

    // Right again: from the title, with the music silent until entry 17.
    const size_t again = r.Mark();
    r.Press(plat::VK_RIGHT);
    r.Advance(10000);
    ASSERT_GT(f.steps.size(), steps);
    EXPECT_EQ(f.steps[steps].before, 0);
    EXPECT_EQ(f.steps[steps].picture, 3);
    EXPECT_EQ(r.LogSince(again), (std::vector<std::string>{SoundLine(r, 8), "mci: stop bgm", "mci: close bgm"}));
}

TEST(ManualShow, TitleLeavesOnlyBlackAndTheFirstSketch) {
    ShowRun r(manualtest::kClearLine);
    ToItem17(r);
    auto& f = *r.form;
    r.Press(plat::VK_RIGHT);
    r.Advance(6000);  // the title step is over, the first line not yet begun
    ASSERT_EQ(f.steps.size(), 1u);
    const plat::Surface& v = f.Display[0];
    int lit = 0;
    for (int y = 16; y <= 560; ++y)
        for (int x = 16; x <= 752; ++x) {
            const bool sketch = x >= 141 && x < 141 + 192 && y >= 136 && y < 136 + 305;
            if (!sketch && v.PixelRGB(x, y) != 0) ++lit;
        }
    EXPECT_EQ(lit, 0) << "the blinds and the faded title word leave nothing but black";
    // The menu screen's outer frame still shows around it.
    EXPECT_EQ(Region(v, 0, 0, 768, 16), Region(f.Display[2], 0, 0, 768, 16));
}

TEST(ManualShow, EscMidStepEndsTheProgramAfterThatStep) {
    ShowRun r(manualtest::kClearLine);
    ToItem17(r);
    auto& f = *r.form;
    const uint32_t t0 = r.host->now();
    r.Press(plat::VK_RIGHT);
    // Entry 1 fades in from about 8.3 s to 9.1 s after the key.
    r.host->InjectAt(t0 + 8600, {plat::InputEvent::Key, plat::VK_ESCAPE, 0, 0});
    EXPECT_TRUE(r.Advance(20000));
    ASSERT_EQ(f.steps.size(), 2u);
    EXPECT_LT(f.steps[1].start, t0 + 8600);
    EXPECT_EQ(f.steps[1].after, 2) << "the step in progress ran to its end";
    EXPECT_EQ(r.host->Log().lines.back(), "mci: close bgm");
}

TEST(ManualShow, ATickWithoutTheShowDoesNothing) {
    ShowRun r(manualtest::kClearLine);
    ToItem17(r);
    auto& f = *r.form;
    const auto screen = f.Display[0].Pixels();
    const size_t mark = r.Mark();
    f.Timer2_Timer();
    EXPECT_EQ(f.EpiLine, 0);
    EXPECT_EQ(f.Display[0].Pixels(), screen);
    EXPECT_TRUE(r.LogSince(mark).empty());
}
