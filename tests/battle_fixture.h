// The game on the headless backend, ready for battle, with a host that notes
// when each sound starts and where the visible layer stood during waits.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "game/form1.h"
#include "platform/headless.h"

namespace battle_test {

namespace fs = std::filesystem;

// Remembers every sound effect with the virtual time it started.
class TimedSound : public plat::SilentSound {
public:
    explicit TimedSound(const plat::HeadlessHost& h) : host_(h) {}
    void Play(const std::string& path) override {
        plat::SilentSound::Play(path);
        const size_t at = path.rfind("/se");
        int n = 0;
        if (at != std::string::npos) n = std::atoi(path.c_str() + at + 3);
        played.push_back({host_.now(), n});
    }
    void Stop() override {
        plat::SilentSound::Stop();
        played.push_back({host_.now(), 0});
    }
    struct Entry { uint32_t at; int n; };  // n 0: the stop
    std::vector<Entry> played;
    std::vector<int> Numbers(size_t from = 0) const {
        std::vector<int> v;
        for (size_t k = from; k < played.size(); ++k) v.push_back(played[k].n);
        return v;
    }

private:
    const plat::HeadlessHost& host_;
};

class BattleHost : public plat::HeadlessHost {
public:
    explicit BattleHost(const std::string& folder) : plat::HeadlessHost(folder), sound(*this) {}
    plat::SoundPlayer& Sound() override { return sound; }
    void Nap(const plat::Surface& visible, std::deque<plat::InputEvent>& queue, uint32_t until) override {
        if (onNap) onNap(visible);
        plat::HeadlessHost::Nap(visible, queue, until);
    }
    TimedSound sound;
    std::function<void(const plat::Surface&)> onNap;
};

// A fresh program folder with its se folder, removed afterwards.
inline fs::path FreshFolder() {
    char name[] = "/tmp/tobble7-battle-XXXXXX";
    const char* made = mkdtemp(name);
    fs::path dir = made ? made : "/tmp/tobble7-battle";
    fs::create_directories(dir / "se");
    return dir;
}

struct Game : ::testing::Test {
    fs::path dir = FreshFolder();
    BattleHost host{dir.string()};
    game::Form1 form{host};

    // Loads the program, skips the title and builds the battle screen as the
    // battle start does, with a fixed random sequence.
    void SetUp() override {
        host.RunUntil(host.now());
        form.Run();
        form.SeedRandom(20261209);
        form.Timer1.SetInterval(0);
        form.SyokiGamen();
        form.KeyMode = 0;
    }
    void TearDown() override {
        std::error_code ec;
        fs::permissions(dir / "se", fs::perms::owner_all, ec);
        fs::remove_all(dir, ec);
    }

    void Tick(int times = 1) {
        for (int t = 0; t < times; ++t) form.Timer2_Timer();
    }
    void Key(int vk) { form.Display_KeyDown(0, vk, 0); }
    size_t SoundMark() const { return host.sound.played.size(); }
    std::vector<int> SoundsSince(size_t mark) const { return host.sound.Numbers(mark); }

    // Stands member c idle at position pos, in its row.
    void Stand(int c, int pos) {
        form.CharPos[c] = static_cast<uint8_t>(pos);
        form.CharMoving[c] = 0;
        form.CharY[c] = static_cast<int16_t>(pos == 5 ? 390 : 55 * pos + 170);
    }
    void KnockOut(int c) {
        Stand(c, 5);
        form.CharHp[c] = 0;
        form.CharDown[c] = 1;
    }
    // Keeps the robot from attacking or falling while a test runs ticks.
    void Calm() {
        form.RobotSpeed = 0;
        form.SpeedGauge = 0;
        form.RobotEnergy = 30000;
        form.PartyDamage = 0;
    }
    uint32_t Pixel(int layer, int x, int y) const { return form.Display[layer].PixelRGB(x, y); }
};

}  // namespace battle_test
