// The media-control interpreter and the sound call, on the silent players.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>
#include <unistd.h>

#include "platform/audio.h"
#include "platform/files.h"

namespace fs = std::filesystem;
using plat::AudioLog;
using plat::Mci;
using plat::SilentMusic;
using plat::SilentSound;

namespace {

const std::string kMidiHeader("MThd\0\0\0\6\0\0\0\1\1\xE0", 14);
const std::string kWavHeader("RIFF\x24\0\0\0WAVEfmt ", 16);

// A scratch folder with blanks in its name, as an installed program may sit in one.
class AudioFiles : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = fs::path(::testing::TempDir()) /
                ("audio files " + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) +
                 " " + std::to_string(getpid()));
        fs::create_directories(root_ / "bg");
        fs::create_directories(root_ / "se");
    }
    void TearDown() override { fs::remove_all(root_); }

    std::string Write(const std::string& rel, const std::string& bytes) {
        const fs::path p = root_ / rel;
        std::ofstream(p, std::ios::binary) << bytes;
        return p.string();
    }
    // The programs' form of a name: the folder, a "\" and a relative name with "\".
    std::string Win(const std::string& rel) const { return root_.string() + "\\" + rel; }

    fs::path root_;
};

struct Device {
    AudioLog log;
    SilentMusic* music;
    std::unique_ptr<Mci> mci;
    Device() {
        auto player = std::make_unique<SilentMusic>();
        music = player.get();
        mci = std::make_unique<Mci>(std::move(player), &log);
    }
    std::string Status() {
        std::string reply = "junk";
        mci->Send("status bgm mode", &reply);
        return reply;
    }
};

const char* const kAliasCommands[] = {"play bgm", "stop bgm", "seek bgm to start", "close bgm",
                                      "status bgm mode"};

}  // namespace

TEST_F(AudioFiles, EveryCommandFailsOnAnAliasThatIsNotOpen) {
    Write("bg/notes.txt", kMidiHeader);
    Write("bg/fake.mid", "not a midi file at all");
    struct Case {
        const char* what;
        std::string open;  // empty: never opened
    };
    const Case cases[] = {
        {"never opened", ""},
        {"missing file", "open " + Win("bg\\bg9.mid") + " alias bgm"},
        {"empty short path", "open  alias bgm"},
        {"not a music extension", "open " + Win("bg\\notes.txt") + " alias bgm"},
        {"music extension, not MIDI", "open " + Win("bg\\fake.mid") + " alias bgm"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Device d;
        if (!c.open.empty()) {
            EXPECT_NE(d.mci->Send(c.open), 0);
        }
        for (const char* command : kAliasCommands) {
            std::string reply = "junk";
            EXPECT_NE(d.mci->Send(command, &reply), 0) << command;
            EXPECT_EQ(reply, "") << command;
        }
        EXPECT_FALSE(d.mci->IsOpen());
        EXPECT_FALSE(d.music->Playing());
    }
}

TEST_F(AudioFiles, OpensAPathWithBlanksAndBackslashes) {
    const std::string native = Write("bg/bg1.mid", kMidiHeader);
    Device d;
    ASSERT_EQ(d.mci->Send("open " + Win("bg\\bg1.mid") + " alias bgm"), 0);
    EXPECT_EQ(d.music->path(), native);
    EXPECT_EQ(d.Status(), "stopped");  // open does not start the piece
}

TEST_F(AudioFiles, SecondOpenFailsAndKeepsTheFirst) {
    const std::string first = Write("bg/bg2.mid", kMidiHeader);
    Write("bg/bg3.mid", kMidiHeader);
    Device d;
    ASSERT_EQ(d.mci->Send("open " + first + " alias bgm"), 0);
    ASSERT_EQ(d.mci->Send("play bgm"), 0);
    EXPECT_NE(d.mci->Send("open " + Win("bg\\bg3.mid") + " alias bgm"), 0);
    EXPECT_NE(d.mci->Send("open " + Win("bg\\bg3.mid") + " alias other"), 0);
    EXPECT_EQ(d.music->path(), first);
    EXPECT_EQ(d.Status(), "playing");

    // Once closed, the alias is free for the next piece.
    ASSERT_EQ(d.mci->Send("close bgm"), 0);
    EXPECT_EQ(d.Status(), "");
    EXPECT_EQ(d.mci->Send("open " + Win("bg\\bg3.mid") + " alias bgm"), 0);
}

TEST_F(AudioFiles, TransportAndTheLoopAfterThePieceEnds) {
    Device d;
    ASSERT_EQ(d.mci->Send("open " + Write("bg/bg1.mid", kMidiHeader) + " alias bgm"), 0);
    d.mci->Send("play bgm");
    EXPECT_EQ(d.Status(), "playing");
    d.mci->Send("stop bgm");
    EXPECT_EQ(d.Status(), "stopped");
    d.mci->Send("play bgm");  // resumes: no seek was asked for
    EXPECT_EQ(d.Status(), "playing");

    d.music->EndPiece();
    EXPECT_EQ(d.Status(), "stopped");
    d.mci->Send("play bgm");  // the position is at the end: nothing to play
    EXPECT_EQ(d.Status(), "stopped");
    d.mci->Send("seek bgm to start");
    d.mci->Send("play bgm");
    EXPECT_EQ(d.Status(), "playing");

    // A seek while playing stops the piece, as on a sequencer.
    d.mci->Send("seek bgm to start");
    EXPECT_EQ(d.Status(), "stopped");
}

TEST_F(AudioFiles, MalformedCommandsFailAndChangeNothing) {
    Device d;
    ASSERT_EQ(d.mci->Send("open " + Write("bg/bg1.mid", kMidiHeader) + " alias bgm"), 0);
    d.mci->Send("play bgm");
    const char* const commands[] = {"",         "pause bgm",          "play",           "play bgm from 0",
                                    "stop bgm now", "seek bgm to end", "seek bgm",       "close bgm x",
                                    "status bgm position", "play other", "open",     "open x.mid",
                                    "close other"};
    for (const char* command : commands) {
        std::string reply = "junk";
        EXPECT_NE(d.mci->Send(command, &reply), 0) << '"' << command << '"';
        EXPECT_EQ(reply, "") << '"' << command << '"';
    }
    EXPECT_TRUE(d.mci->IsOpen());
    EXPECT_EQ(d.Status(), "playing");
    // Keywords and the alias are not case-sensitive.
    EXPECT_EQ(d.mci->Send("STOP Bgm"), 0);
    EXPECT_EQ(d.Status(), "stopped");
}

TEST_F(AudioFiles, EveryCommandIsLoggedInOrder) {
    Device d;
    d.mci->Send("play bgm");
    d.mci->Send("open  alias bgm");
    EXPECT_EQ(d.log.lines, (std::vector<std::string>{"mci: play bgm", "mci: open  alias bgm"}));
}

TEST(AudioLog, ABoundedLogKeepsTheNewestLines) {
    AudioLog log;
    log.keep = 2;
    Mci mci(std::make_unique<SilentMusic>(), &log);
    for (int k = 0; k < 1000; ++k) mci.Send("status bgm mode");
    plat::SndPlaySound(*std::make_unique<SilentSound>(), nullptr, 1, &log);
    EXPECT_EQ(log.lines, (std::vector<std::string>{"mci: status bgm mode", "snd: stop"}));
}

TEST_F(AudioFiles, SoundCallFindsTheWavOrFallsBackToTheDefault) {
    const std::string se3 = Write("se/se3.wav", kWavHeader);
    Write("se/se4.wav", "not a wav");
    struct Case {
        std::string name, file;
        bool fallback;
    };
    const Case cases[] = {
        {Win("se\\se3"), se3, false},
        {Win("se\\se3.WAV"), (root_ / "se/se3.WAV").string(), true},  // names are case-sensitive here
        {Win("se\\se99"), (root_ / "se/se99.wav").string(), true},
        {Win("se\\se4"), (root_ / "se/se4.wav").string(), true},  // unreadable as a WAV
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SilentSound sound;
        AudioLog log;
        EXPECT_EQ(plat::SndPlaySound(sound, c.name.c_str(), 1, &log), 1);
        EXPECT_EQ(sound.last(), c.file);
        EXPECT_EQ(sound.usedDefault(), c.fallback);
        EXPECT_EQ(log.lines, std::vector<std::string>{"snd: " + plat::NativePath(c.name)});
    }
}

TEST_F(AudioFiles, SoundCallWithoutANameStopsTheSound) {
    SilentSound sound;
    AudioLog log;
    plat::SndPlaySound(sound, Win("se\\se1").c_str(), 1, &log);
    plat::SndPlaySound(sound, Win("se\\se2").c_str(), 1, &log);
    EXPECT_EQ(sound.last(), (root_ / "se/se2.wav").string());  // the second cut off the first
    EXPECT_EQ(plat::SndPlaySound(sound, nullptr, 1, &log), 1);
    EXPECT_EQ(sound.last(), "");
    EXPECT_EQ(log.lines.back(), "snd: stop");
}

TEST(DefaultSound, IsAShortSoftChimeWithoutClicks) {
    const int rate = 22050;
    const std::vector<uint8_t> wav = plat::DefaultSoundWav(rate);
    ASSERT_GT(wav.size(), 44u);
    ASSERT_EQ(std::string(wav.begin(), wav.begin() + 4), "RIFF");
    std::vector<int> pcm;
    for (size_t k = 44; k + 1 < wav.size(); k += 2) pcm.push_back(static_cast<int16_t>(wav[k] | wav[k + 1] << 8));
    ASSERT_FALSE(pcm.empty());

    const double seconds = static_cast<double>(pcm.size()) / rate;
    EXPECT_GT(seconds, 0.2);
    EXPECT_LT(seconds, 1.0);
    int peak = 0;
    for (int s : pcm) peak = std::max(peak, std::abs(s));
    EXPECT_GT(peak, 32767 / 8);  // audible
    EXPECT_LT(peak, 32767 * 3 / 4);  // but soft, with headroom
    EXPECT_LT(std::abs(pcm.front()), 200);
    EXPECT_LT(std::abs(pcm.back()), 200);

    // Two tones: the second strike lifts the level again after the first decays.
    const auto level = [&](double from, double to) {
        int p = 0;
        for (int k = static_cast<int>(from * rate); k < static_cast<int>(to * rate); ++k) p = std::max(p, std::abs(pcm[k]));
        return p;
    };
    EXPECT_GT(level(0.11, 0.16), level(0.08, 0.11));
}

// Any white space separates the words of a command, and the one character after
// "open" may be any of them too.
TEST_F(AudioFiles, EveryKindOfWhiteSpaceSeparatesWords) {
    const std::string native = Write("bg/bg1.mid", kMidiHeader);
    const std::string p = Win("bg\\bg1.mid");
    struct Case {
        std::string open;
        int code;
    };
    const Case cases[] = {
        {"\fopen " + p + " alias bgm", 0},
        {"\vopen " + p + " alias bgm", 0},
        {"\ropen " + p + " alias bgm", 0},
        {"\n\t open " + p + " alias bgm", 0},
        {"open\f" + p + "\talias\vbgm", 0},
        {"open " + p + "\ralias bgm\r\n", 0},
        {"OPEN\t" + p + "\fALIAS\fBgm", 0},
        {"\fopen \f\v alias bgm", plat::kMciMissingParameter},
        {"open " + p + "\falias\f", plat::kMciMissingParameter},
        {"\vopen " + p + "\ralias\rbgm\rx", plat::kMciUnrecognizedCommand},
        {"\fopen\f" + p + "\f", plat::kMciMissingParameter},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.open));
        Device d;
        std::string reply = "junk";
        EXPECT_EQ(d.mci->Send(c.open, &reply), c.code);
        EXPECT_EQ(reply, "");
        EXPECT_EQ(d.mci->IsOpen(), c.code == 0);
        if (c.code != 0) continue;
        EXPECT_EQ(d.music->path(), native);
        EXPECT_EQ(d.mci->Send("\fplay\vbgm\r"), 0);
        reply.clear();
        EXPECT_EQ(d.mci->Send("\vstatus\fbgm\tmode\r\n", &reply), 0);
        EXPECT_EQ(reply, "playing");
        EXPECT_EQ(d.mci->Send("seek\fbgm\vto\rstart"), 0);
        EXPECT_EQ(d.Status(), "stopped");
        EXPECT_EQ(d.mci->Send("\rclose\fbgm\v"), 0);
        EXPECT_FALSE(d.mci->IsOpen());
    }
}

namespace {

// A device that writes down what it was asked, in order.
class RecordingMusic : public plat::MusicPlayer {
public:
    explicit RecordingMusic(std::vector<std::string>* calls, const bool* ready = nullptr)
        : calls_(calls), ready_(ready) {}
    bool Ready() const override { return !ready_ || *ready_; }
    bool Load(const std::string& path, const std::string& midi) override {
        calls_->push_back("load " + path + " " + std::to_string(midi.size()));
        return true;
    }
    void Play() override { calls_->push_back("play"); }
    void Stop() override { calls_->push_back("stop"); }
    void SeekStart() override { calls_->push_back("seek"); }
    bool Playing() const override {
        calls_->push_back("playing?");
        return true;
    }
    void Close() override { calls_->push_back("close"); }

private:
    std::vector<std::string>* calls_;
    const bool* ready_;
};

class RecordingSound : public plat::SoundPlayer {
public:
    explicit RecordingSound(std::vector<std::string>* calls) : calls_(calls) {}
    void Play(const std::string& path) override { calls_->push_back("sound " + path); }
    void Stop() override { calls_->push_back("sound stop"); }

private:
    std::vector<std::string>* calls_;
};

}  // namespace

// Music commands sent before the device opens reach it, in order, as it opens,
// with the results the device itself would have given; what has to be
// answered or heard opens it first.
TEST_F(AudioFiles, ADeviceOpenedLaterGetsEveryCommandInOrder) {
    const std::string a = Write("bg/a.mid", kMidiHeader), b = Write("bg/b.mid", kMidiHeader + "more");
    const std::vector<std::string> script = {"open " + a + " alias bgm", "play bgm", "stop bgm",
                                             "seek bgm to start", "open " + b + " alias other", "close bgm",
                                             "open " + b + " alias bgm", "play bgm"};
    std::vector<std::string> direct, later;
    std::vector<int> directResults, laterResults;
    {
        Mci mci(std::make_unique<RecordingMusic>(&direct));
        for (const std::string& c : script) directResults.push_back(mci.Send(c));
    }
    int opened = 0;
    plat::DeferredAudio audio([&] {
        ++opened;
        plat::AudioDevice device;
        device.music = std::make_unique<RecordingMusic>(&later);
        device.sound = std::make_unique<RecordingSound>(&later);
        return device;
    });
    Mci mci(audio.TakeMusic());
    const std::unique_ptr<plat::SoundPlayer> sound = audio.TakeSound();
    for (const std::string& c : script) laterResults.push_back(mci.Send(c));
    sound->Stop();  // nothing can sound yet: no reason to open
    EXPECT_FALSE(audio.Opened());
    EXPECT_TRUE(later.empty());
    EXPECT_EQ(laterResults, directResults);

    audio.Open();
    audio.Open();
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(later, direct);
    mci.Send("stop bgm");
    EXPECT_EQ(later.back(), "stop") << "once open, commands go straight through";

    // A device whose music is not ready yet (its synth loading) gets the
    // commands once it is; a question about the music waits for it.
    for (bool ask : {false, true}) {
        std::vector<std::string> calls;
        bool ready = false;
        plat::DeferredAudio slow([&] {
            plat::AudioDevice device;
            device.music = std::make_unique<RecordingMusic>(&calls, &ready);
            device.sound = std::make_unique<RecordingSound>(&calls);
            return device;
        });
        Mci m(slow.TakeMusic());
        const std::unique_ptr<plat::SoundPlayer> s = slow.TakeSound();
        m.Send("open " + a + " alias bgm");
        slow.Open();
        s->Play("x.wav");  // a sound needs only the device
        m.Send("play bgm");
        EXPECT_TRUE(slow.Settle()) << "the music still waits";
        EXPECT_EQ(calls, (std::vector<std::string>{"sound x.wav"}));
        std::string reply;
        if (ask) {
            m.Send("status bgm mode", &reply);
            EXPECT_EQ(reply, "playing");
        } else {
            ready = true;
            EXPECT_FALSE(slow.Settle());
        }
        std::vector<std::string> expected = {"sound x.wav", "load " + a + " 14", "play"};
        if (ask) expected.push_back("playing?");
        EXPECT_EQ(calls, expected);
    }

    // A question about the music, or a sound, opens the device at once.
    for (int ask = 0; ask < 2; ++ask) {
        std::vector<std::string> calls;
        plat::DeferredAudio other([&] {
            plat::AudioDevice device;
            device.music = std::make_unique<RecordingMusic>(&calls);
            device.sound = std::make_unique<RecordingSound>(&calls);
            return device;
        });
        Mci m(other.TakeMusic());
        const std::unique_ptr<plat::SoundPlayer> s = other.TakeSound();
        m.Send("open " + a + " alias bgm");
        std::string reply;
        if (ask == 0) {
            EXPECT_EQ(m.Send("status bgm mode", &reply), 0);
            EXPECT_EQ(reply, "playing");
            EXPECT_EQ(calls, (std::vector<std::string>{"load " + a + " 14", "playing?"}));
        } else {
            s->Play("x.wav");
            EXPECT_EQ(calls, (std::vector<std::string>{"load " + a + " 14", "sound x.wav"}));
        }
        EXPECT_TRUE(other.Opened());
    }
}
