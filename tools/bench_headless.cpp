// The benchmark's in-process figures: block copies, the game's battle tick
// and a robot attack on the headless backend (where a present costs nothing),
// the scripted winning game on the virtual clock, and the sound device
// idling with no window. They show the work of the code itself; what a
// player meets is measured from outside (bench.cpp).
#include <SDL.h>
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "../game/form1.h"
#include "../platform/headless.h"
#include "../platform/quiet.h"
#include "../tests/replay.h"
#include "bench.h"

namespace bench {
namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

double CpuSeconds() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// Each run copies a batch of full layers and of 32x32 tiles.
void BlockCopies(int runs, std::vector<Row>& rows) {
    plat::Surface a(768, 576), b(768, 576), chip(192, 192);
    a.SetBackColor(plat::RGB(10, 20, 30));
    chip.SetBackColor(plat::RGB(255, 248, 255));
    const struct { const char* name; uint32_t rop; } ops[] = {
        {"SRCCOPY", plat::SRCCOPY}, {"SRCPAINT", plat::SRCPAINT}, {"SRCAND", plat::SRCAND}};
    for (auto op : ops) {
        Row layer{std::string("block copy ") + op.name + ", full layer 768x576", {}, "us", "", 1};
        Row tile{std::string("block copy ") + op.name + ", tile 32x32", {}, "us", "", 3};
        for (int run = 0; run < runs; ++run) {
            const int layers = 300, tiles = 30000;
            const auto t0 = Clock::now();
            for (int k = 0; k < layers; ++k) plat::BitBlt(b, 0, 0, 768, 576, a, 0, 0, op.rop);
            const auto t1 = Clock::now();
            for (int k = 0; k < tiles; ++k)
                plat::BitBlt(b, (k % 24) * 32, (k / 24 % 18) * 32, 32, 32, chip, 32, 32, op.rop);
            const auto t2 = Clock::now();
            layer.samples.push_back(Seconds(t1 - t0) / layers * 1e6);
            tile.samples.push_back(Seconds(t2 - t1) / tiles * 1e6);
        }
        rows.push_back(layer);
        rows.push_back(tile);
    }
}

// CPU of one ordinary battle tick: the game at its battle, the robot's gauge
// and energy put back before each tick so no attack and no knock-out come
// between. Each run is the mean of a batch of ticks.
void BattleTick(int runs, std::vector<Row>& rows) {
    plat::HeadlessHost host(".");
    game::Form1 form(host);
    host.RunUntil(host.now() + 2450);
    form.Run();
    Row row{"battle tick (mean of 300)", {}, "us", "", 1};
    for (int run = 0; run < runs; ++run) {
        const int ticks = 300;
        const double cpu0 = CpuSeconds();
        for (int t = 0; t < ticks; ++t) {
            form.SpeedGauge = 0;
            form.RobotEnergy = form.RobotMaxEnergy;
            form.Timer2_Timer();
        }
        row.samples.push_back((CpuSeconds() - cpu0) / ticks * 1e6);
    }
    rows.push_back(row);
}

// CPU of one robot attack (shares, shake, damage show, knock-out judgement,
// panels) with the cost of its waits' naps taken out.
void Attack(int runs, std::vector<Row>& rows) {
    struct CountingHost : plat::HeadlessHost {
        using plat::HeadlessHost::HeadlessHost;
        long naps = 0;
        void Nap(const plat::Surface& v, std::deque<plat::InputEvent>& q, uint32_t until) override {
            ++naps;
            plat::HeadlessHost::Nap(v, q, until);
        }
    } host(".");
    game::Form1 form(host);
    host.RunUntil(host.now() + 2450);
    form.Run();
    Row row{"robot attack outside its waits (mean of 30)", {}, "ms", "", 3};
    plat::HeadlessHost bare(".");
    plat::Surface visible(768, 576);
    std::deque<plat::InputEvent> queue;
    for (int run = 0; run < runs; ++run) {
        const int attacks = 30;
        host.naps = 0;
        const double c0 = CpuSeconds();
        for (int a = 0; a < attacks; ++a) {
            for (int c = 0; c <= 6; ++c) form.CharHp[c] = form.CharMaxHp[c];
            form.TekiKougeki();
        }
        const double cpu = CpuSeconds() - c0;
        // The same number of naps alone, for their share.
        const double n0 = CpuSeconds();
        for (long q = 0; q < host.naps; ++q) bare.Nap(visible, queue, bare.now() + 1);
        const double naps = CpuSeconds() - n0;
        row.samples.push_back((cpu - naps) / attacks * 1e3);
    }
    rows.push_back(row);
}

// The scripted winning game from tests/replays/, played on the virtual clock:
// the wall time it takes to play.
void ScriptedWin(int runs, std::vector<Row>& rows) {
    const std::filesystem::path source = std::filesystem::path(__FILE__).parent_path().parent_path();
    battle_test::Replay replay;
    std::string error;
    if (!battle_test::Replay::Load((source / "tests" / "replays" / "win.txt").string(), replay, error)) {
        std::fprintf(stderr, "bench: the scripted winning game was not run: %s\n", error.c_str());
        return;
    }
    Row wall{"scripted winning game, wall time", {}, "s", "at most 1 s", 2};
    Row cpu{"scripted winning game, CPU", {}, "s", "", 2};
    double virtualSeconds = 0;
    bool won = true;
    for (int run = 0; run < runs; ++run) {
        char folder[] = "/tmp/tobble7-bench-XXXXXX";
        if (!mkdtemp(folder)) return;
        std::filesystem::create_directories(std::filesystem::path(folder) / "se");
        {
            plat::HeadlessHost host(folder);
            battle_test::ReplayForm form(host);
            const auto t0 = Clock::now();
            const double c0 = CpuSeconds();
            host.RunUntil(host.now());
            form.Run();
            const uint32_t start = host.now();
            form.SeedRandom(replay.seed);
            form.replay = &replay;
            while (form.KeyMode != 2 || form.Timer2.Interval() != 0) {
                host.RunUntil(host.now() + 10000);
                if (form.Run() || host.now() - start > 4u * 3600 * 1000) break;
            }
            wall.samples.push_back(Seconds(Clock::now() - t0));
            cpu.samples.push_back(CpuSeconds() - c0);
            virtualSeconds = (form.endedAt ? form.endedAt - start : host.now() - start) / 1000.0;
            won = won && form.RobotIndex == 8;
        }
        std::filesystem::remove_all(folder);
    }
    char what[96];
    std::snprintf(what, sizeof what, " (%.0f s of play on the virtual clock%s)", virtualSeconds,
                  won ? "" : "; NOT WON");
    wall.figure += what;
    rows.push_back(wall);
    rows.push_back(cpu);
}

// The sound device's cost while nothing sounds, in-process with no window:
// once open before anything played, and once a piece and an effect have
// played and died away. SDL's dummy driver stands in for a sound card.
void IdleAudio(int seconds, std::vector<Row>& rows) {
    const auto idle = [&] {
        const double cpu0 = CpuSeconds();
        const auto wall0 = Clock::now();
        std::this_thread::sleep_for(std::chrono::seconds(seconds));
        return 100 * (CpuSeconds() - cpu0) / Seconds(Clock::now() - wall0);
    };
    const char* before = std::getenv("SDL_AUDIODRIVER");
    const std::string saved = before ? before : "";
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    plat::AudioDevice device;
    {
        plat::QuietStderr quiet;
        device = plat::OpenAudioDevice();
    }
    if (before) setenv("SDL_AUDIODRIVER", saved.c_str(), 1);
    else unsetenv("SDL_AUDIODRIVER");
    if (device.silent) return;
    // The synth and its soundfont are made on a thread beside start-up: let
    // that finish, so the figure is the device at rest, not the loading.
    std::this_thread::sleep_for(std::chrono::seconds(2));
    char figure[96];
    std::snprintf(figure, sizeof figure, "sound device open, never played (over %d s)", seconds);
    rows.push_back({figure, {idle()}, "% of a core", "", 3});

    // A piece of sixteen seconds of held notes, from a temporary file.
    const std::string track = std::string("\x00\xC0\x00\x00\x90\x3C\x60\x00\x90\x40\x60", 11) +
                              std::string("\xF8\x00\x80\x3C\x00\x00\x80\x40\x00\x00\xFF\x2F\x00", 13);
    std::string midi("MThd\0\0\0\6\0\0\0\1\x01\xE0MTrk\0\0\0", 21);
    midi += static_cast<char>(track.size());
    const std::string path =
        (std::filesystem::temp_directory_path() / ("bench-idle-audio-" + std::to_string(getpid()) + ".mid")).string();
    std::ofstream(path, std::ios::binary) << midi + track;
    {
        plat::Mci mci(std::move(device.music));
        mci.Send("open " + path + " alias bgm");
        mci.Send("play bgm");
        std::this_thread::sleep_for(std::chrono::seconds(1));
        mci.Send("stop bgm");
        mci.Send("close bgm");
        std::remove(path.c_str());
        plat::SndPlaySound(*device.sound, "no such sound", 1);  // the built-in chime
        std::this_thread::sleep_for(std::chrono::seconds(3));     // let every tail die away
        std::snprintf(figure, sizeof figure, "sound device open, after playing (over %d s)", seconds);
        rows.push_back({figure, {idle()}, "% of a core", "", 3});
    }
    device = {};
    plat::CloseAudioDevice();
}

}  // namespace

std::vector<Row> HeadlessFigures(int runs) {
    std::vector<Row> rows;
    BlockCopies(runs, rows);
    BattleTick(runs, rows);
    Attack(runs, rows);
    ScriptedWin(runs, rows);
    IdleAudio(5, rows);
    return rows;
}

}  // namespace bench
