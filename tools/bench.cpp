// Prints figures for the platform: idle load of an open window, block copies,
// the time from a key to the screen, and the steadiness of a 100 ms timer.
// Needs a display (run under Xvfb on a headless machine).
#include <SDL.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "../kit/form.h"
#include "../game/form1.h"
#include "../platform/headless.h"
#include "../platform/quiet.h"
#include "../tests/replay.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

double CpuSeconds() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

void Stats(const char* what, std::vector<double> v, const char* unit) {
    double sum = 0, sq = 0;
    for (double x : v) sum += x;
    const double mean = sum / v.size();
    for (double x : v) sq += (x - mean) * (x - mean);
    std::sort(v.begin(), v.end());
    std::printf("%-34s mean %8.3f %s  sd %7.3f  min %8.3f  median %8.3f  max %8.3f  (n=%zu)\n", what, mean, unit,
                std::sqrt(sq / v.size()), v.front(), v[v.size() / 2], v.back(), v.size());
}

void BlockCopies() {
    plat::Surface a(768, 576), b(768, 576), chip(192, 192);
    a.SetBackColor(plat::RGB(10, 20, 30));
    chip.SetBackColor(plat::RGB(255, 248, 255));
    const struct { const char* name; uint32_t rop; } ops[] = {
        {"SRCCOPY", plat::SRCCOPY}, {"SRCPAINT", plat::SRCPAINT}, {"SRCAND", plat::SRCAND}};
    for (auto op : ops) {
        const int layers = 2000, tiles = 200000;
        auto t0 = Clock::now();
        for (int k = 0; k < layers; ++k) plat::BitBlt(b, 0, 0, 768, 576, a, 0, 0, op.rop);
        auto t1 = Clock::now();
        for (int k = 0; k < tiles; ++k) plat::BitBlt(b, (k % 24) * 32, (k / 24 % 18) * 32, 32, 32, chip, 32, 32, op.rop);
        auto t2 = Clock::now();
        std::printf("%-9s full layer 768x576: %7.1f us    tile 32x32: %6.3f us\n", op.name,
                    Seconds(t1 - t0) / layers * 1e6, Seconds(t2 - t1) / tiles * 1e6);
    }
}

// Forwards to the real window and notes when each present has finished.
class TimingHost : public plat::Host {
public:
    explicit TimingHost(plat::Host& inner) : in_(inner) {}
    uint32_t Ticks() override { return in_.Ticks(); }
    void Show(const plat::Surface& v) override { in_.Show(v); }
    void Present(const plat::Surface& v) override {
        in_.Present(v);
        lastPresent = Clock::now();
        if (afterPresent) afterPresent();
    }
    void Nap(const plat::Surface& v, std::deque<plat::InputEvent>& q, uint32_t until) override { in_.Nap(v, q, until); }
    void Poll(std::deque<plat::InputEvent>& q) override { in_.Poll(q); }
    bool Wait(uint32_t until, bool due, std::deque<plat::InputEvent>& q) override { return in_.Wait(until, due, q); }
    std::string ProgramFolder() override { return in_.ProgramFolder(); }
    plat::Mci& Music() override { return in_.Music(); }
    plat::SoundPlayer& Sound() override { return in_.Sound(); }
    plat::AudioLog& Log() override { return in_.Log(); }
    Clock::time_point lastPresent;
    std::function<void()> afterPresent;

private:
    plat::Host& in_;
};

class BenchForm : public kit::Form {
public:
    BenchForm(TimingHost& h, int idleSeconds) : kit::Form(h), timing_(h), idleSeconds_(idleSeconds) {
        h.afterPresent = [this] { Note(); };
    }
    void HenSyoki() override {}

    // Phase 1: idle with the window open. Phase 2: 100 key presses.
    // Phase 3: a 100 ms timer for 100 ticks.
    void Timer1_Timer() override {
        Timer1.SetInterval(0);
        cpu0_ = CpuSeconds();
        wall0_ = Clock::now();
        Timer3.SetInterval(idleSeconds_ * 1000);
    }
    void Timer3_Timer() override {
        Timer3.SetInterval(0);
        const double cpu = CpuSeconds() - cpu0_, wall = Seconds(Clock::now() - wall0_);
        std::printf("idle window: %.3f s CPU over %.1f s = %.3f %% of one core\n", cpu, wall, 100 * cpu / wall);
        Timer4.SetInterval(20);  // key presses, one every 20 ms
    }
    void Timer4_Timer() override {
        if (pendingKey_) return;
        if (keyLatency_.size() == 100) {
            Timer4.SetInterval(0);
            Stats("key event -> layer presented", keyLatency_, "ms");
            Timer2.SetInterval(100);
            last_ = Clock::now();
            return;
        }
        SDL_Event e{};
        e.type = SDL_KEYDOWN;
        e.key.keysym.sym = SDLK_UP;
        keySent_ = Clock::now();
        pendingKey_ = true;
        SDL_PushEvent(&e);
    }
    void Display_KeyDown(int, int, int) override {
        // A typical key handler's drawing: a sprite-sized copy to the screen.
        plat::BitBlt(Display[0], 300, 300, 32, 32, Display[1], 300, 300, plat::SRCCOPY);
        pendingKey_ = false;
        measureNextPresent_ = true;
    }
    void Timer2_Timer() override {
        const auto now = Clock::now();
        timer_.push_back(Seconds(now - last_) * 1000);
        last_ = now;
        if (timer_.size() == 100) {
            Stats("100 ms timer period", timer_, "ms");
            End();
        }
    }
    void Note() {
        if (measureNextPresent_) {
            measureNextPresent_ = false;
            keyLatency_.push_back(Seconds(timing_.lastPresent - keySent_) * 1000);
        }
    }

private:
    TimingHost& timing_;
    int idleSeconds_;
    double cpu0_ = 0;
    Clock::time_point wall0_, keySent_, last_;
    bool pendingKey_ = false, measureNextPresent_ = false;
    std::vector<double> keyLatency_, timer_;
};

}  // namespace

void GameTickFigures();
void GameStartFigures(plat::Host& window);
void IdleAudio(int seconds);
void BattleFigures();

int main(int argc, char** argv) {
    const int idle = argc > 1 ? std::atoi(argv[1]) : 30;
    BlockCopies();
    IdleAudio(8);
    auto host = plat::OpenWindowHost("bench", nullptr, 0);
    if (!host) return 1;
    TimingHost timing(*host);
    BenchForm form(timing, idle);
    form.Run();
    GameTickFigures();
    GameStartFigures(*host);
    BattleFigures();
    return 0;
}

// ------------------------------------------------------------------ the game

// CPU for one ordinary battle tick: the game headless at its battle, the
// robot's gauge and energy put back before each tick so no attack and no
// knock-out come between.
void GameTickFigures() {
    plat::HeadlessHost host(".");
    game::Form1 form(host);
    host.RunUntil(host.now() + 2450);
    form.Run();
    const int ticks = 3000;
    std::vector<double> wall;
    wall.reserve(ticks);
    const double cpu0 = CpuSeconds();
    for (int t = 0; t < ticks; ++t) {
        form.SpeedGauge = 0;
        form.RobotEnergy = form.RobotMaxEnergy;
        const auto t0 = Clock::now();
        form.Timer2_Timer();
        wall.push_back(Seconds(Clock::now() - t0) * 1e6);
    }
    const double cpu = (CpuSeconds() - cpu0) / ticks;
    std::printf("game: ordinary battle tick: %.1f us CPU = %.3f %% of its 100 ms period\n", cpu * 1e6, cpu * 1e6 / 1000);
    Stats("game: ordinary battle tick, wall", wall, "us");
}

// From making the game's window object (pictures decoded, start-up, face
// labels) to the first title frame presented in the open window.
void GameStartFigures(plat::Host& window) {
    // Presents the visible layer at the first wait of the title step, when
    // the sign stands on it, and notes the time.
    struct StartHost : TimingHost {
        using TimingHost::TimingHost;
        std::function<bool()> titleUp;
        void Nap(const plat::Surface& v, std::deque<plat::InputEvent>& q, uint32_t until) override {
            if (titleUp && titleUp()) {
                titleUp = nullptr;
                Present(v);
            }
            TimingHost::Nap(v, q, until);
        }
    } timing(window);
    std::vector<double> times;
    for (int run = 0; run < 5; ++run) {
        const auto t0 = Clock::now();
        game::Form1 form(timing);
        timing.titleUp = [&] { return form.KeyMode == 5; };
        bool noted = false;
        timing.afterPresent = [&] {
            if (form.KeyMode != 5 || noted) return;
            noted = true;
            times.push_back(Seconds(Clock::now() - t0) * 1000);
            form.End();
        };
        form.Run();
        timing.afterPresent = nullptr;
    }
    Stats("game: start to first title frame", times, "ms");
}

// The sound device's cost while nothing sounds: the process idle with no
// device, with the device open before anything played, and once a piece and
// an effect have played and died away; and, for scale, while a piece plays.
void IdleAudio(int seconds) {
    const auto idle = [&](const char* what) {
        const double cpu0 = CpuSeconds();
        const auto wall0 = Clock::now();
        std::this_thread::sleep_for(std::chrono::seconds(seconds));
        const double cpu = CpuSeconds() - cpu0, wall = Seconds(Clock::now() - wall0);
        std::printf("audio, %-28s %.4f %% of one core over %.0f s\n", what, 100 * cpu / wall, wall);
    };
    idle("no sound device:");

    plat::AudioDevice device;
    {
        plat::QuietStderr quiet;  // the fallback below is said in the figures
        device = plat::OpenAudioDevice();
    }
    const char* driver = SDL_GetCurrentAudioDriver();
    if (device.silent) {
        // No sound card here: SDL's dummy driver runs the same stream without one.
        device = {};
        plat::CloseAudioDevice();
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        device = plat::OpenAudioDevice();
        unsetenv("SDL_AUDIODRIVER");
        driver = "dummy";
    }
    if (device.silent) return;
    std::printf("audio device: SDL driver %s, %d Hz\n", driver ? driver : "?", device.rate);
    idle("device open, never played:");

    // A piece of sixteen seconds of held notes, from a temporary file.
    const std::string track = std::string("\x00\xC0\x00\x00\x90\x3C\x60\x00\x90\x40\x60", 11) +
                              std::string("\xF8\x00\x80\x3C\x00\x00\x80\x40\x00\x00\xFF\x2F\x00", 13);
    std::string midi("MThd\0\0\0\6\0\0\0\1\x01\xE0MTrk\0\0\0", 21);
    midi += static_cast<char>(track.size());
    const std::string path =
        (std::filesystem::temp_directory_path() / ("bench-idle-audio-" + std::to_string(getpid()) + ".mid")).string();
    std::ofstream(path, std::ios::binary) << midi + track;
    plat::Mci mci(std::move(device.music));
    mci.Send("open " + path + " alias bgm");
    mci.Send("play bgm");
    idle("playing music:");
    mci.Send("stop bgm");
    mci.Send("close bgm");
    std::remove(path.c_str());
    plat::SndPlaySound(*device.sound, "no such sound", 1);  // the built-in chime
    std::this_thread::sleep_for(std::chrono::seconds(3));     // let every tail die away
    idle("device open, after playing:");
    device = {};
    plat::CloseAudioDevice();
}

// ---------------------------------------------------------------- the battle

// CPU of one robot attack (shares, shake, damage show, knock-out judgement,
// panels) with its waits taken out: headless, a wait only counts virtual
// milliseconds. Then the scripted winning game: its length on the virtual
// clock and the wall time and CPU it takes to play.
void BattleFigures() {
    {
        // Counts the naps of the waits, to take their own cost out.
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
        const int attacks = 300;
        std::vector<double> cpu;
        long naps = 0;
        for (int a = 0; a < attacks; ++a) {
            for (int c = 0; c <= 6; ++c) form.CharHp[c] = form.CharMaxHp[c];
            host.naps = 0;
            const double c0 = CpuSeconds();
            form.TekiKougeki();
            cpu.push_back((CpuSeconds() - c0) * 1e3);
            naps += host.naps;
        }
        // The same number of naps alone, for their share.
        plat::HeadlessHost bare(".");
        plat::Surface visible(768, 576);
        std::deque<plat::InputEvent> queue;
        const double n0 = CpuSeconds();
        for (long q = 0; q < naps; ++q) bare.Nap(visible, queue, bare.now() + 1);
        const double napMs = (CpuSeconds() - n0) * 1e3 / attacks;
        for (double& c : cpu) c -= napMs;
        Stats("battle: attack sequence, CPU outside waits", cpu, "ms");
        std::printf("battle: (waits of one attack: %ld virtual ms, their spinning %.3f ms CPU, taken out)\n",
                    naps / attacks, napMs);
    }
    {
        const std::filesystem::path source = std::filesystem::path(__FILE__).parent_path().parent_path();
        battle_test::Replay replay;
        std::string error;
        if (!battle_test::Replay::Load((source / "tests" / "replays" / "win.txt").string(), replay, error)) {
            std::printf("battle: scripted winning game not run: %s\n", error.c_str());
            return;
        }
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
            const double wall = Seconds(Clock::now() - t0), cpu = CpuSeconds() - c0;
            std::printf("battle: scripted winning game (%s): %d battle ticks, %.1f s on the virtual clock, "
                        "%.2f s wall, %.2f s CPU\n",
                        form.RobotIndex == 8 ? "won" : "NOT won", form.tick,
                        (form.endedAt ? form.endedAt - start : host.now() - start) / 1000.0, wall, cpu);
        }
        std::filesystem::remove_all(folder);
    }
}
