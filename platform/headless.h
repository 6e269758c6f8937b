// The headless backend for tests and tools: a virtual clock that moves only
// when the program waits, and input scheduled at virtual times.
#pragma once

#include <cstdint>
#include <deque>
#include <string>

#include "host.h"

namespace plat {

class HeadlessHost : public Host {
public:
    explicit HeadlessHost(std::string programFolder = ".", uint32_t startTicks = 1000);
    uint32_t Ticks() override { return now_; }
    void Show(const Surface&) override { shown_ = true; }
    void Present(const Surface&) override { ++presents_; }
    void Nap(const Surface& visible, std::deque<InputEvent>& queue, uint32_t until) override;
    void Poll(std::deque<InputEvent>& queue) override { Deliver(queue); }
    bool Wait(uint32_t until, bool hasDue, std::deque<InputEvent>& queue) override;
    std::string ProgramFolder() override { return folder_; }
    Mci& Music() override { return mci_; }
    SoundPlayer& Sound() override { return sound_; }
    AudioLog& Log() override { return log_; }

    // Test controls.
    void RunUntil(uint32_t t) { limit_ = t; }
    void InjectAt(uint32_t t, InputEvent e) { scheduled_.push_back({t, e}); }
    void Key(int vk) { InjectAt(now_, {InputEvent::Key, vk, 0, 0}); }
    void Click(int x, int y) { InjectAt(now_, {InputEvent::Click, 0, x, y}); }
    SilentMusic& music() { return *music_; }
    SilentSound& sound() { return sound_; }
    int presents() const { return presents_; }
    uint32_t now() const { return now_; }
    bool shown() const { return shown_; }

private:
    void Deliver(std::deque<InputEvent>& queue);
    std::string folder_;
    uint32_t now_, limit_;
    int presents_ = 0;
    bool shown_ = false;
    struct Scheduled { uint32_t at; InputEvent e; };
    std::deque<Scheduled> scheduled_;
    AudioLog log_;
    SilentMusic* music_;
    Mci mci_;
    SilentSound sound_;
};

}  // namespace plat
