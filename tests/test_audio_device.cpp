// The real audio path, written to a file by SDL's disk audio driver: a MIDI
// piece and a WAV effect must reach the output, and the music device must
// report the end of the piece on time and keep its position like a sequencer.
#include <SDL.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>
#include <unistd.h>

#include "../platform/audio.h"
#include "env_override.h"
#include "../platform/program_name.h"

namespace fs = std::filesystem;

namespace {

// One track, 480 ticks to the quarter at the default 120 beats a minute, so
// 960 ticks make a second: a piano note for 0.25 s, a second one to 0.5 s.
std::string HalfSecondOfPiano() {
    const std::string track = std::string("\x00\xC0\x00", 3) +        // piano
                              std::string("\x00\x90\x48\x6E", 4) +    // C5 on
                              std::string("\x81\x70\x80\x48\x00", 5) +  // 240 ticks later off
                              std::string("\x00\x90\x4C\x6E", 4) +    // E5 on
                              std::string("\x81\x70\x80\x4C\x00", 5) +  // off at 480
                              std::string("\x00\xFF\x2F\x00", 4);     // end of track
    std::string midi("MThd\0\0\0\6\0\0\0\1\x01\xE0MTrk\0\0\0", 21);
    midi += static_cast<char>(track.size());
    return midi + track;
}

// 0.3 s of a loud 440 Hz tone, 16-bit mono: far louder than the default chime,
// so the output shows which of the two played.
std::string LoudTone(int rate = 22050, int amplitude = 26000) {
    std::string pcm;
    for (int n = 0; n < rate * 3 / 10; ++n) {
        const int16_t s = static_cast<int16_t>(amplitude * std::sin(2 * M_PI * 440.0 * n / rate));
        pcm += static_cast<char>(s & 0xFF);
        pcm += static_cast<char>((s >> 8) & 0xFF);
    }
    const auto le = [](uint32_t v, int bytes) {
        std::string out;
        for (int k = 0; k < bytes; ++k) out += static_cast<char>((v >> (8 * k)) & 0xFF);
        return out;
    };
    return "RIFF" + le(36 + static_cast<uint32_t>(pcm.size()), 4) + "WAVEfmt " + le(16, 4) + le(1, 2) + le(1, 2) +
           le(rate, 4) + le(rate * 2, 4) + le(2, 2) + le(16, 2) + "data" + le(static_cast<uint32_t>(pcm.size()), 4) + pcm;
}


// The disk driver's output: 16-bit stereo frames, appended buffer by buffer.
class Output {
public:
    Output(std::string path, int rate) : path_(std::move(path)), rate_(rate) {}

    long Frames() const {
        std::error_code ec;
        const auto size = fs::file_size(path_, ec);
        return ec ? 0 : static_cast<long>(size / 4);
    }
    long FramesIn(double seconds) const { return std::lround(seconds * rate_); }
    double Seconds(long frames) const { return static_cast<double>(frames) / rate_; }

    // Waits until the stream has run the given time past now.
    long Advance(double seconds) const {
        const long target = Frames() + FramesIn(seconds);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
        while (Frames() < target && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::microseconds(500));
        return Frames();
    }

    // The 16-bit samples written between two frame counts.
    std::vector<int16_t> Samples(long from, long to) const {
        std::ifstream in(path_, std::ios::binary);
        in.seekg(from * 4);
        std::vector<char> bytes(static_cast<size_t>(std::max(0L, to - from)) * 4);
        in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        std::vector<int16_t> samples;
        for (size_t k = 0; k + 1 < static_cast<size_t>(in.gcount()); k += 2)
            samples.push_back(static_cast<int16_t>(static_cast<uint8_t>(bytes[k]) | static_cast<uint8_t>(bytes[k + 1]) << 8));
        return samples;
    }

    int Peak(long from, long to) const {
        int peak = 0;
        for (int16_t s : Samples(from, to)) peak = std::max(peak, std::abs(static_cast<int>(s)));
        return peak;
    }

    long FullScale(long from, long to) const {
        long count = 0;
        for (int16_t s : Samples(from, to)) count += s >= 32767 || s <= -32767;
        return count;
    }

private:
    std::string path_;
    int rate_;
};

// SDL's disk driver writing to `out`; a short delay runs the stream several
// times faster than real time.
plat::AudioDevice OpenDiskDevice(const std::string& out) {
    const EnvOverride driver("SDL_AUDIODRIVER", "disk"), file("SDL_DISKAUDIOFILE", out.c_str()),
        delay("SDL_DISKAUDIODELAY", "5");
    return plat::OpenAudioDevice();
}

}  // namespace

// A scratch folder holding the piece bg1.mid, and the sound device on SDL's
// disk driver writing out.raw there; the test is skipped where that driver
// cannot open. Tests put their effects into dir beside the piece.
class DiskAudio : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::path(::testing::TempDir()) /
              ("audio " + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + " " +
               std::to_string(getpid()));
        fs::remove_all(dir);  // a stale out.raw would pass for the driver's
        fs::create_directories(dir);
        midi = (dir / "bg1.mid").string();
        out = (dir / "out.raw").string();
        std::ofstream(midi, std::ios::binary) << HalfSecondOfPiano();
        // All timing is measured in stream frames, not on the wall clock.
        device = OpenDiskDevice(out);
        if (device.silent || !fs::exists(out)) GTEST_SKIP() << "SDL's disk audio driver could not be opened here";
        output = Output(out, device.rate);
    }

    void TearDown() override {
        device = {};
        plat::CloseAudioDevice();
        fs::remove_all(dir);
    }

    fs::path dir;
    std::string midi, out;
    plat::AudioDevice device;
    Output output{"", 1};  // the device's own once it is open
};

TEST_F(DiskAudio, MidiAndWavReachTheOutputAndTheMusicEndsOnTime) {
    std::ofstream((dir / "tone.wav").string(), std::ios::binary) << LoudTone();
    output.Advance(0.05);  // the stream is running

    // The WAV plays, a call without a name cuts it off, a missing name chimes.
    long from = output.Frames();
    plat::SndPlaySound(*device.sound, (dir / "tone").string().c_str(), 1);
    long to = output.Advance(0.1);
    EXPECT_GT(output.Peak(from, to), 20000) << "the WAV did not reach the output";
    plat::SndPlaySound(*device.sound, nullptr, 1);
    from = output.Advance(0.03);
    to = output.Advance(0.05);
    EXPECT_LT(output.Peak(from, to), 100) << "the stopped sound still plays";
    from = output.Frames();
    plat::SndPlaySound(*device.sound, (dir / "missing").string().c_str(), 1);
    to = output.Advance(0.15);
    const int chime = output.Peak(from, to);
    EXPECT_GT(chime, 2000) << "a missing sound plays the default chime";
    EXPECT_LT(chime, 20000);
    plat::SndPlaySound(*device.sound, nullptr, 1);

    plat::Mci mci(std::move(device.music));
    const auto status = [&] {
        std::string reply;
        mci.Send("status bgm mode", &reply);
        return reply;
    };
    // The piece of music should end at frame `end` (known to about a buffer):
    // every status read well before it says "playing", every one read more
    // than 100 ms after it says "stopped". Each reading is bracketed by the
    // frames written just before and after it, so a test thread that is slow
    // to be scheduled cannot make the check fail. Returns the frames from the
    // end to the first "stopped".
    const auto expectEndAt = [&](long end) {
        const long early = end - output.FramesIn(0.06), late = end + output.FramesIn(0.1);
        long firstStopped = -1, stoppedEarly = -1, playingLate = -1;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
        for (long before = 0; before <= late && std::chrono::steady_clock::now() < deadline;) {
            before = output.Frames();
            const std::string mode = status();
            const long after = output.Frames();
            if (after < early && mode != "playing" && stoppedEarly < 0) stoppedEarly = end - after;
            if (before > late && mode != "stopped" && playingLate < 0) playingLate = before - end;
            if (mode == "stopped" && firstStopped < 0) firstStopped = after;
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        EXPECT_LT(stoppedEarly, 0) << "not playing " << output.Seconds(stoppedEarly) << " s before the end";
        EXPECT_LT(playingLate, 0) << "still playing " << output.Seconds(playingLate) << " s after the end";
        EXPECT_EQ(status(), "stopped");
        return firstStopped - end;
    };

    ASSERT_EQ(mci.Send("open " + midi + " alias bgm"), 0);
    output.Advance(0.05);
    const long start = output.Frames();
    ASSERT_EQ(mci.Send("play bgm"), 0);
    const long latency = expectEndAt(start + output.FramesIn(0.5));
    RecordProperty("end_to_stopped_ms", static_cast<int>(std::lround(output.Seconds(latency) * 1000)));
    EXPECT_GT(output.Peak(start, output.Frames()), 1000) << "the MIDI piece did not reach the output";

    // At its end the piece has nothing left to play, also once the synth's own
    // player has wound down (it restarts a finished file on play).
    output.Advance(3.5);
    mci.Send("play bgm");
    from = output.Advance(0.03);
    to = output.Advance(0.1);
    EXPECT_EQ(status(), "stopped");
    EXPECT_LT(output.Peak(from, to), 100) << "a play at the end sounded";

    // After a seek it sounds again; stop keeps the position: 0.2 s played,
    // a pause, then the remaining 0.3 s.
    mci.Send("seek bgm to start");
    const long played = output.Frames();
    mci.Send("play bgm");
    const long stopped = output.Advance(0.2);
    mci.Send("stop bgm");
    EXPECT_EQ(status(), "stopped");
    EXPECT_GT(output.Peak(played, stopped), 1000) << "no sound after seek and play";
    const long resumed = output.Advance(0.1);
    mci.Send("play bgm");
    expectEndAt(resumed + output.FramesIn(0.5) - (stopped - played));

    mci.Send("close bgm");
}

TEST(AudioDevice, WithoutASoundDeviceOneLineNamesTheProgram) {
    plat::SetProgramName("tobble7");
    plat::AudioDevice device;
    ::testing::internal::CaptureStderr();
    {
        const EnvOverride driver("SDL_AUDIODRIVER", "no-such-driver");
        device = plat::OpenAudioDevice();
    }
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_TRUE(device.silent);
    EXPECT_EQ(err.rfind("tobble7: no sound device (", 0), 0u) << err;
    EXPECT_EQ(err.find('\n'), err.size() - 1) << err;
    EXPECT_NE(err.find("; running without sound"), std::string::npos) << err;
    device = {};
    plat::CloseAudioDevice();
}

// An effect as loud as a sample can hold, landing on music: the sum stays under
// full scale and the effect still stands out as loudly as it can.
TEST_F(DiskAudio, AnEffectOnTheMusicNeverReachesFullScale) {
    std::ofstream((dir / "tone.wav").string(), std::ios::binary) << LoudTone(22050, 32700);
    plat::Mci mci(std::move(device.music));
    ASSERT_EQ(mci.Send("open " + midi + " alias bgm"), 0);
    mci.Send("play bgm");
    output.Advance(0.05);
    const long from = output.Frames();
    plat::SndPlaySound(*device.sound, (dir / "tone").string().c_str(), 1);
    const long to = output.Advance(0.35);
    EXPECT_EQ(output.FullScale(from, to), 0);
    EXPECT_GT(output.Peak(from, to), 28000) << "the effect is no longer as loud";
    mci.Send("close bgm");
}

// A device that fails to open does not hold up the first frame: the audio
// subsystem is shut down beside the program (that waits for the driver's
// device watch), a device opened next still opens, and after the close the
// subsystem is down. A missing soundfont, read beside start-up, is reported
// once a piece is opened.
TEST(AudioDevice, FailuresKeepTheirOneLineAndTheSubsystemIsDownAfterTheClose) {
    bool disk = false;
    for (int i = 0; i < SDL_GetNumAudioDrivers(); ++i) disk = disk || std::string(SDL_GetAudioDriver(i)) == "disk";
    if (!disk) GTEST_SKIP() << "SDL's disk audio driver is not built in here";
    plat::SetProgramName("tobble7");
    plat::AudioDevice device;
    ::testing::internal::CaptureStderr();
    {
        // The driver starts, but its file cannot be made: the device fails to open.
        const EnvOverride driver("SDL_AUDIODRIVER", "disk"), file("SDL_DISKAUDIOFILE", "/no such folder/out.raw");
        device = plat::OpenAudioDevice();
    }
    std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_TRUE(device.silent);
    EXPECT_EQ(err.rfind("tobble7: no sound device (", 0), 0u) << err;
    device = {};

    const fs::path dir = fs::path(::testing::TempDir()) / ("audio font test " + std::to_string(getpid()));
    fs::create_directories(dir);
    const std::string midi = (dir / "bg1.mid").string(), out = (dir / "out.raw").string();
    std::ofstream(midi, std::ios::binary) << HalfSecondOfPiano();
    const std::string font = (dir / "missing.sf2").string();
    ::testing::internal::CaptureStderr();
    {
        const EnvOverride driver("SDL_AUDIODRIVER", "disk"), file("SDL_DISKAUDIOFILE", out.c_str()),
            delay("SDL_DISKAUDIODELAY", "5");
        device = plat::OpenAudioDevice(font);
    }
    EXPECT_FALSE(device.silent) << "no device opened after one that failed";
    if (!device.silent) {
        plat::Mci mci(std::move(device.music));
        EXPECT_EQ(mci.Send("open " + midi + " alias bgm"), 0);
        err = ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(err, "tobble7: no General MIDI soundfont (" + font + "); music is silent\n");
        mci.Send("close bgm");
    } else {
        ::testing::internal::GetCapturedStderr();
    }
    device = {};
    plat::CloseAudioDevice();
    EXPECT_FALSE(SDL_WasInit(SDL_INIT_AUDIO)) << "the subsystem outlived the close";
    fs::remove_all(dir);
}
