// Media files that are not what their names promise: a named pipe, a folder or
// a huge file in place of a tune or an effect. Every reader runs in a forked
// child under an alarm, so a reader that blocks fails its case instead of
// hanging the suite.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "platform/audio.h"
#include "platform/files.h"
#include "platform/quiet.h"
#include "platform/program_name.h"

namespace fs = std::filesystem;

namespace {

const std::string kMidiHeader("MThd\0\0\0\6\0\0\0\1\1\xE0", 14);

// Runs body in a forked child killed after `seconds`. body returns what went
// wrong, or empty text; so does this, for the parent's expectations.
std::string InChild(const std::function<std::string()>& body, unsigned seconds = 10) {
    int fds[2];
    if (pipe(fds) != 0) return "no pipe";
    std::fflush(nullptr);
    const pid_t pid = fork();
    if (pid < 0) return "no fork";
    if (pid == 0) {
        close(fds[0]);
        alarm(seconds);
        const std::string failure = body();
        if (!failure.empty() && write(fds[1], failure.data(), failure.size()) < 0) _exit(3);
        _exit(0);
    }
    close(fds[1]);
    std::string failure;
    char buf[256];
    for (ssize_t n; (n = read(fds[0], buf, sizeof buf)) != 0;)
        if (n > 0) failure.append(buf, static_cast<size_t>(n));
    close(fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    if (WIFSIGNALED(status))
        return WTERMSIG(status) == SIGALRM ? "blocked: still waiting after " + std::to_string(seconds) + " s"
                                           : "killed by signal " + std::to_string(WTERMSIG(status));
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return "child failed: " + failure;
    return failure;
}

// The peak resident memory of this process, in KiB.
long PeakKiB() {
    std::ifstream in("/proc/self/status");
    for (std::string line; std::getline(in, line);)
        if (line.rfind("VmHWM:", 0) == 0) return std::atol(line.c_str() + 6);
    return -1;
}

long ResidentKiB() {
    std::ifstream in("/proc/self/status");
    for (std::string line; std::getline(in, line);)
        if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
    return -1;
}

class MediaFiles : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = fs::path(::testing::TempDir()) /
                ("media files " + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) +
                 " " + std::to_string(getpid()));
        fs::create_directories(root_ / "bg");
        fs::create_directories(root_ / "se");
        plat::SetProgramFolder(root_.string());
    }
    void TearDown() override { fs::remove_all(root_); }

    std::string Path(const std::string& rel) const { return (root_ / rel).string(); }
    std::string Pipe(const std::string& rel) const {
        EXPECT_EQ(mkfifo(Path(rel).c_str(), 0644), 0) << rel;
        return Path(rel);
    }
    // The programs' form of a name: the folder, a "\" and a relative name with "\".
    std::string Win(const std::string& rel) const { return root_.string() + "\\" + rel; }

    fs::path root_;
};

// The sound device on SDL's dummy driver, so the real music loader and sound
// player run without a sound card. No soundfont: the synth loads one with
// OpenMP, whose thread pool, left by an earlier test, deadlocks a forked child.
// Closed when it goes: a child that ends leaves no thread of the device behind.
struct DummyDevice : plat::AudioDevice {
    DummyDevice() {
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        plat::QuietStderr quiet;
        static_cast<plat::AudioDevice&>(*this) = plat::OpenAudioDevice("/no soundfont here.sf2");
    }
    ~DummyDevice() {
        music.reset();
        sound.reset();
        plat::CloseAudioDevice();
    }
};

}  // namespace

TEST_F(MediaFiles, APipeInPlaceOfATuneOrAnEffectIsNoFile) {
    const std::string tune = Pipe("bg/bg1.mid"), effect = Pipe("se/se5.wav");
    fs::create_directories(root_ / "bg/bg2.mid");
    const std::string folder = Path("bg/bg2.mid");
    const std::string open = "open " + tune + " alias bgm";
    struct Case {
        const char* reader;
        std::function<std::string()> body;
    };
    const Case cases[] = {
        {"the music command's probe",
         [&] { return plat::GetShortPathName(Win("bg\\bg1.mid")).empty() ? "" : "a pipe has a short form"; }},
        {"IsMidiFile", [&] { return plat::IsMidiFile(tune) ? "a pipe is MIDI" : ""; }},
        {"IsWavFile", [&] { return plat::IsWavFile(effect) ? "a pipe is a WAV" : ""; }},
        {"the music command's open",
         [&]() -> std::string {
             plat::Mci mci(std::make_unique<plat::SilentMusic>());
             const int pipeCode = mci.Send(open), folderCode = mci.Send("open " + folder + " alias bgm");
             if (pipeCode != plat::kMciFileNotFound || folderCode != plat::kMciFileNotFound)
                 return "answered " + std::to_string(pipeCode) + " and " + std::to_string(folderCode) +
                        ", not 275 (no such file)";
             return mci.IsOpen() ? "opened" : "";
         }},
        {"the silent sound player",
         [&] {
             plat::SilentSound sound;
             plat::SndPlaySound(sound, Win("se\\se5").c_str(), 1);
             return sound.usedDefault() ? "" : "no default sound";
         }},
        {"the music loader of the sound device",
         [&]() -> std::string {
             DummyDevice device;
             plat::Mci mci(std::move(device.music));
             const int code = mci.Send(open);
             return code == plat::kMciFileNotFound ? "" : "answered " + std::to_string(code);
         }},
        {"the sound player of the sound device",
         [&]() -> std::string {
             DummyDevice device;
             if (device.silent) return "no dummy sound device";
             plat::SndPlaySound(*device.sound, Win("se\\se5").c_str(), 1);
             return "";
         }},
    };
    for (const Case& c : cases) EXPECT_EQ(InChild(c.body), "") << c.reader;
}

TEST_F(MediaFiles, AHugeTuneIsRefusedWithoutBeingRead) {
    // Sparse: 300 MB long, no disk taken.
    const std::string huge = Path("bg/bg1.mid");
    {
        std::ofstream(huge, std::ios::binary) << kMidiHeader;
        const int fd = open(huge.c_str(), O_WRONLY);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(ftruncate(fd, 300L << 20), 0);
        close(fd);
    }
    const std::string failure = InChild([&]() -> std::string {
        DummyDevice device;
        plat::Mci mci(std::move(device.music));
        // The peak from here on: reset it to what is resident now, where the kernel allows.
        std::ofstream("/proc/self/clear_refs") << "5";
        const long before = ResidentKiB();
        const int code = mci.Send("open " + huge + " alias bgm");
        const long grown = PeakKiB() - before;
        std::string why;
        if (code != plat::kMciCannotLoadDriver) why += "answered " + std::to_string(code) + ", not 266; ";
        if (before < 0 || grown > 20 * 1024) why += "peak memory grew by " + std::to_string(grown) + " KiB";
        return why;
    }, 60);
    EXPECT_EQ(failure, "");

    // The limit itself: a tune of exactly 1 MiB is still music, one byte more is not.
    const std::string edge = Path("bg/bg3.mid");
    std::ofstream(edge, std::ios::binary) << kMidiHeader << std::string(plat::kMaxMusicBytes - kMidiHeader.size(), '\0');
    plat::Mci mci(std::make_unique<plat::SilentMusic>());
    EXPECT_EQ(mci.Send("open " + edge + " alias bgm"), 0);
    mci.Send("close bgm");
    std::ofstream(edge, std::ios::binary | std::ios::app) << '\0';
    EXPECT_EQ(mci.Send("open " + edge + " alias bgm"), plat::kMciCannotLoadDriver);
}

// An effect far larger than any real one (sparse: no disk taken) is not read
// at all: the default sound plays at once, and the file gets one line a run.
TEST_F(MediaFiles, AHugeEffectPlaysTheDefaultSoundWithoutBeingRead) {
    plat::SetProgramName("tobble7");
    const std::string huge = Path("se/se5.wav");
    {
        const auto le = [](uint32_t v, int bytes) {
            std::string out;
            for (int k = 0; k < bytes; ++k) out += static_cast<char>((v >> (8 * k)) & 0xFF);
            return out;
        };
        const uint32_t data = 1572864000;  // 1.5 GB of 16-bit mono samples, as the header says
        std::ofstream(huge, std::ios::binary) << "RIFF" << le(36 + data, 4) << "WAVEfmt " << le(16, 4) << le(1, 2)
                                              << le(1, 2) << le(44100, 4) << le(88200, 4) << le(2, 2) << le(16, 2)
                                              << "data" << le(data, 4);
        ASSERT_EQ(truncate(huge.c_str(), 1500L << 20), 0);
    }
    const std::string failure = InChild([&]() -> std::string {
        DummyDevice device;
        if (device.silent) return "no dummy sound device";
        std::ofstream("/proc/self/clear_refs") << "5";
        const long before = ResidentKiB();
        ::testing::internal::CaptureStderr();
        for (int k = 0; k < 2; ++k) plat::SndPlaySound(*device.sound, Win("se\\se5").c_str(), 1);
        const std::string err = ::testing::internal::GetCapturedStderr();
        const long grown = PeakKiB() - before;
        std::string why;
        if (err != "tobble7: se/se5.wav is larger than 8 MiB; the default sound plays in its place\n")
            why += "stderr: \"" + err + "\"; ";
        if (before < 0 || grown > 20 * 1024) why += "peak memory grew by " + std::to_string(grown) + " KiB";
        return why;
    }, 30);
    EXPECT_EQ(failure, "");
}

// A soundfont that is not one: the synth never opens it (a pipe would hold
// the first piece for good, a damaged file fill the terminal with its
// libraries' complaints), and the one line says music is silent.
TEST_F(MediaFiles, ASoundfontThatIsNotOneGivesOneLineAndSilentMusic) {
    plat::SetProgramName("tobble7");
    const std::string pipe = Pipe("pipe.sf2"), garbage = Path("garbage.sf2"), cut = Path("cut.sf2");
    std::ofstream(garbage, std::ios::binary) << "RIFF\x04\0\0\0sfbk";  // says it is longer than it is
    {
        std::ifstream whole("/usr/share/sounds/sf2/TimGM6mb.sf2", std::ios::binary);
        std::string head(100000, '\0');
        whole.read(&head[0], static_cast<std::streamsize>(head.size()));
        head.resize(static_cast<size_t>(whole.gcount()));
        std::ofstream(cut, std::ios::binary) << (head.empty() ? "RIFF" : head);
    }
    for (const std::string& font : {pipe, garbage, cut}) {
        SCOPED_TRACE(font);
        const std::string failure = InChild([&]() -> std::string {
            setenv("SDL_AUDIODRIVER", "dummy", 1);
            ::testing::internal::CaptureStderr();  // the synth is made beside: its line may come at once
            plat::AudioDevice device = plat::OpenAudioDevice(font);
            plat::Mci mci(std::move(device.music));
            const int code = mci.Send("open " + std::string(SOURCE_DIR) + "/bg/bg1.mid alias bgm");
            const std::string err = ::testing::internal::GetCapturedStderr();
            std::string why;
            if (device.silent) return "no dummy sound device";
            if (code != 0) why += "answered " + std::to_string(code) + "; ";
            if (err != "tobble7: no General MIDI soundfont (" + font + "); music is silent\n")
                why += "stderr: \"" + err + "\"";
            device = {};
            plat::CloseAudioDevice();
            return why;
        });
        EXPECT_EQ(failure, "");
    }
}

TEST_F(MediaFiles, EachTuneThatDoesNotOpenGetsOneLineARun) {
    plat::SetProgramName("tobble7");
    Pipe("bg/bg2.mid");
    std::ofstream(Path("bg/bg3.mid"), std::ios::binary) << kMidiHeader << std::string(plat::kMaxMusicBytes, '\0');
    std::ofstream(Path("bg/bg0.mid"), std::ios::binary) << "not a tune";
    std::ofstream(Path("bg/bg4.mid"), std::ios::binary) << kMidiHeader;
    const struct {
        const char* file;
        const char* line;  // empty: the tune opens
    } cases[] = {
        {"bg\\bg1.mid", "tobble7: no music: bg/bg1.mid is missing\n"},
        {"bg\\bg2.mid", "tobble7: no music: bg/bg2.mid is not a regular file\n"},
        {"bg\\bg3.mid", "tobble7: no music: bg/bg3.mid is larger than 1 MiB\n"},
        {"bg\\bg0.mid", "tobble7: no music: bg/bg0.mid is not music\n"},
        {"bg\\bg4.mid", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string failure = InChild([&]() -> std::string {
            plat::Mci mci(std::make_unique<plat::SilentMusic>());
            ::testing::internal::CaptureStderr();
            // As the programs open a tune: the probe, then the command; three times over.
            for (int k = 0; k < 3; ++k) {
                mci.Send("open " + plat::GetShortPathName(Win(c.file)) + " alias bgm");
                mci.Send("close bgm");
            }
            mci.Send("open " + plat::NativePath(Win(c.file)) + " alias bgm");
            const std::string err = ::testing::internal::GetCapturedStderr();
            return err == c.line ? "" : "stderr: \"" + err + "\"";
        });
        EXPECT_EQ(failure, "");
    }
}

// A file may hold more than its size says (here one of /proc, whose size is
// 0) or grow while it is read: it is read whole all the same, up to the limit.
TEST(Files, AFileLongerThanItsSizeSaysIsReadWholeUpToTheLimit) {
    const std::string path = "/proc/self/maps";
    std::string bytes;
    ASSERT_EQ(plat::ReadRegular(path, plat::kMaxMusicBytes, &bytes), plat::FileStatus::Ok);
    std::ifstream in(path);
    const std::string expected((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // The maps may change between the reads (the heap grows): their first
    // lines, the test's own program, do not; and both end with a whole line.
    ASSERT_GT(bytes.size(), 4096u);
    EXPECT_EQ(bytes.substr(0, 200), expected.substr(0, 200));
    EXPECT_EQ(bytes.back(), '\n');
    EXPECT_EQ(plat::ReadRegular(path, 100, &bytes), plat::FileStatus::TooLarge);
    EXPECT_TRUE(bytes.empty());
}
