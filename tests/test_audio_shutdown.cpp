// Closing the sound device while the synth is still being made beside the
// program (a quick quit): the synth's set-up asks SDL for its audio devices'
// names, and the close must not shut SDL's audio down under it.
#include <SDL.h>
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "../platform/audio.h"
#include "env_override.h"

namespace {
std::atomic<bool> g_slow{false};       // the names below come slowly
std::atomic<bool> g_asked{false};      // the synth's set-up has asked for one
std::atomic<bool> g_quitUnder{false};  // SDL's audio was shut down meanwhile
}  // namespace

// Stands in for SDL's own (the test program's symbols come first, also for
// the synth library loaded at run time): while g_slow is set, the name is
// handed back a while after SDL gave it, as on a slow machine, and whether
// SDL's audio outlived the wait is noted. The name itself lives in SDL's
// device list, which shutting the audio down frees.
extern "C" __attribute__((visibility("default"))) const char* SDL_GetAudioDeviceName(int index, int iscapture) {
    using Real = const char* (*)(int, int);
    static const Real real = reinterpret_cast<Real>(dlsym(RTLD_NEXT, "SDL_GetAudioDeviceName"));
    const char* name = real ? real(index, iscapture) : nullptr;
    if (g_slow.load()) {
        g_asked = true;
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        if (!SDL_WasInit(SDL_INIT_AUDIO)) g_quitUnder = true;
    }
    return name;
}

TEST(AudioShutdown, TheDeviceClosesOnlyOnceTheSynthIsMade) {
    namespace fs = std::filesystem;
    const fs::path out = fs::path(::testing::TempDir()) / ("audio shutdown " + std::to_string(getpid()) + ".raw");
    g_slow = true;
    plat::AudioDevice device;
    {
        const EnvOverride driver("SDL_AUDIODRIVER", "disk"), file("SDL_DISKAUDIOFILE", out.string().c_str());
        device = plat::OpenAudioDevice();
    }
    if (device.silent) {
        g_slow = false;
        GTEST_SKIP() << "SDL's disk audio driver could not be opened here";
    }
    // The synth is being made: wait until its set-up is inside the slow call.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!g_asked && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    const bool asked = g_asked;
    device = {};
    plat::CloseAudioDevice();
    g_slow = false;
    fs::remove(out);
    if (!asked) GTEST_SKIP() << "the synth library here does not ask SDL for its devices";
    EXPECT_FALSE(g_quitUnder) << "SDL's audio was shut down while the synth's set-up still read its device list";
    EXPECT_FALSE(SDL_WasInit(SDL_INIT_AUDIO));
}
