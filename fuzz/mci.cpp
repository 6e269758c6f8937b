// Fuzzes the music command interpreter with sequences of command strings
// (each taken by FuzzedDataProvider: a backslash and a newline end one). Run
// in a scratch folder holding bg/bg2.mid, bg/bg3.mid and a file that is not
// music, so that "open" can succeed and fail in every way. After each command
// it checks that
//   - the result is 0 or one of the documented error numbers;
//   - on an error the reply is empty and nothing changed: open or not, the
//     alias that answers, and no request reached the player;
//   - on success the player was asked for exactly what the verb means, and
//     only "status" replies: "playing" or "stopped", as the player is.
#include <fuzzer/FuzzedDataProvider.h>
#include <fcntl.h>
#include <unistd.h>

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "platform/audio.h"

namespace {

namespace fs = std::filesystem;

// A silent player that writes down every request that can change it.
class Recorder : public plat::MusicPlayer {
public:
    explicit Recorder(std::vector<std::string>& asked) : asked_(asked) {}
    bool Load(const std::string& path, const std::string& midi) override {
        const bool ok = inner_.Load(path, midi);
        asked_.push_back(ok ? "load" : "load refused");
        return ok;
    }
    void Play() override { asked_.push_back("play"), inner_.Play(); }
    void Stop() override { asked_.push_back("stop"), inner_.Stop(); }
    void SeekStart() override { asked_.push_back("seek"), inner_.SeekStart(); }
    bool Playing() const override { return inner_.Playing(); }
    void Close() override { asked_.push_back("close"), inner_.Close(); }
    void EndPiece() { inner_.EndPiece(); }

private:
    std::vector<std::string>& asked_;
    plat::SilentMusic inner_;
};

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::vector<std::string> Words(const std::string& s) {
    std::vector<std::string> words;
    std::string w;
    for (char c : s) {
        if (std::isspace(static_cast<unsigned char>(c))) {
            if (!w.empty()) words.push_back(w), w.clear();
        } else {
            w += c;
        }
    }
    if (!w.empty()) words.push_back(w);
    return words;
}

bool Documented(int r) {
    switch (r) {
    case plat::kMciOk:
    case plat::kMciUnrecognizedCommand:
    case plat::kMciInvalidDeviceName:
    case plat::kMciFileNotFound:
    case plat::kMciCannotLoadDriver:
    case plat::kMciMissingParameter:
    case plat::kMciDuplicateAlias:
        return true;
    default:
        return false;
    }
}

[[noreturn]] void Fail(const char* what, const std::string& command, int result) {
    std::fprintf(stderr, "%s: \"%s\" gave %d\n", what, command.c_str(), result);
    std::abort();
}

// The scratch folder the commands' relative paths are taken from. The
// fuzzer itself reads and writes its corpus from the folder it was started
// in, so each run goes into the scratch folder and comes back.
class ScratchFolder {
public:
    ScratchFolder() {
        char tmpl[] = "/tmp/fuzz-mci-XXXXXX";
        if (!mkdtemp(tmpl)) std::abort();
        dir_ = tmpl;
        fs::create_directories(dir_ / "bg");
        const char midi[] = "MThd\0\0\0\6\0\0\0\1\0\x60MTrk\0\0\0\4\0\xFF\x2F\0";
        for (const char* name : {"bg2.mid", "bg3.mid"})
            std::ofstream(dir_ / "bg" / name, std::ios::binary).write(midi, sizeof midi - 1);
        std::ofstream(dir_ / "bg" / "notes.mid", std::ios::binary) << "not music";
        home_ = open(".", O_RDONLY | O_DIRECTORY);
        scratch_ = open(tmpl, O_RDONLY | O_DIRECTORY);
        if (home_ < 0 || scratch_ < 0) std::abort();
    }
    ~ScratchFolder() {
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    void Enter() const {
        if (fchdir(scratch_) != 0) std::abort();
    }
    void Leave() const {
        if (fchdir(home_) != 0) std::abort();
    }

private:
    fs::path dir_;
    int home_ = -1, scratch_ = -1;
};

void Run(FuzzedDataProvider& in);

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const ScratchFolder folder;
    FuzzedDataProvider in(data, size);
    folder.Enter();
    Run(in);
    folder.Leave();
    return 0;
}

namespace {

void Run(FuzzedDataProvider& in) {
    std::vector<std::string> asked;
    auto owned = std::make_unique<Recorder>(asked);
    Recorder& player = *owned;
    plat::Mci mci(std::move(owned));
    std::string alias;  // the alias that answers while open, in lower case

    // Whether `name` answers: a status request that changes nothing.
    const auto answers = [&](const std::string& name) {
        std::string reply;
        return mci.Send("status " + name + " mode", &reply) == plat::kMciOk;
    };

    for (int n = 0; n < 32 && in.remaining_bytes() > 0; ++n) {
        // Sometimes the piece reaches its end between commands, as it would
        // while the program waits.
        if (in.ConsumeBool()) player.EndPiece();
        const std::string command = in.ConsumeRandomLengthString(200);
        const bool wasOpen = mci.IsOpen();
        const size_t mark = asked.size();
        const bool wantReply = in.ConsumeBool();
        std::string reply = "left over";
        const int r = mci.Send(command, wantReply ? &reply : nullptr);
        if (!wantReply) reply.clear();
        const std::vector<std::string> now(asked.begin() + static_cast<std::ptrdiff_t>(mark), asked.end());

        if (!Documented(r)) Fail("an undocumented result", command, r);
        if (r != plat::kMciOk) {
            if (!reply.empty()) Fail("a reply on error", command, r);
            if (mci.IsOpen() != wasOpen) Fail("an error opened or closed the device", command, r);
            for (const std::string& a : now)
                if (a != "load refused") Fail("an error reached the player", command, r);
            if (wasOpen && !answers(alias)) Fail("after an error the alias no longer answers", command, r);
            continue;
        }

        const std::vector<std::string> words = Words(command);
        const std::string verb = Lower(words.at(0));
        std::vector<std::string> expected;
        if (verb == "open") {
            if (wasOpen) Fail("a second open succeeded", command, r);
            expected = {"load"};
            alias = Lower(words.back());
        } else if (verb == "play" || verb == "stop" || verb == "close") {
            expected = {verb};
        } else if (verb == "seek") {
            expected = {"stop", "seek"};
        } else if (verb != "status") {
            Fail("an unknown verb succeeded", command, r);
        }
        if (verb != "open" && (!wasOpen || Lower(words.at(1)) != alias))
            Fail("a command for an alias that is not open succeeded", command, r);
        if (now != expected) Fail("the player was asked for something else", command, r);
        const std::string mode = player.Playing() ? "playing" : "stopped";
        if (verb == "status" && wantReply ? reply != mode : !reply.empty()) Fail("an unexpected reply", command, r);
        if (mci.IsOpen() == (verb == "close")) Fail("open or not, wrongly", command, r);
        if (verb == "close") alias.clear();
        if (mci.IsOpen() && !answers(alias)) Fail("the alias opened does not answer", command, r);
    }
}

}  // namespace
