// The media-control interpreter, the sound call and the silent players.
// Nothing here touches a sound device, so tests run it headless.
#include "audio.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "files.h"

namespace plat {

namespace {

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

bool EndsWithNoCase(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && Lower(s.substr(s.size() - tail.size())) == tail;
}

// Every white-space character of the C locale separates words, all alike.
bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

std::vector<std::string> Words(const std::string& s) {
    std::vector<std::string> words;
    for (size_t k = 0; k < s.size();) {
        if (IsBlank(s[k])) {
            ++k;
            continue;
        }
        const size_t from = k;
        while (k < s.size() && !IsBlank(s[k])) ++k;
        words.push_back(s.substr(from, k - from));
    }
    return words;
}

bool AllBlank(const std::string& s) { return std::all_of(s.begin(), s.end(), IsBlank); }

// Where the white space before the last "alias" word of lower stands, or npos.
size_t LastAlias(const std::string& lower) {
    for (size_t at = lower.rfind("alias"); at != std::string::npos && at > 0;
         at = lower.rfind("alias", at - 1)) {
        if (IsBlank(lower[at - 1]) && at + 5 < lower.size() && IsBlank(lower[at + 5])) return at - 1;
    }
    return std::string::npos;
}

bool IsMidiName(const std::string& path) {
    return EndsWithNoCase(path, ".mid") || EndsWithNoCase(path, ".midi");
}

bool IsMidiHead(const std::string& head) { return head.compare(0, 4, "MThd") == 0; }

void PutLe(std::vector<uint8_t>& out, uint32_t v, int bytes) {
    for (int k = 0; k < bytes; ++k) out.push_back(static_cast<uint8_t>(v >> (8 * k)));
}

}  // namespace

bool IsMidiFile(const std::string& path) { return IsMidiName(path) && IsMidiHead(ReadHead(path, 4)); }

bool IsWavFile(const std::string& path) { return IsWavHead(ReadHead(path, 12)); }

bool IsWavHead(const std::string& head) {
    return head.size() >= 12 && head.compare(0, 4, "RIFF") == 0 && head.compare(8, 4, "WAVE") == 0;
}

std::vector<uint8_t> DefaultSoundWav(int rate) {
    // Two soft bell tones a major third apart, the second entering as the
    // first fades: a quiet "ding" that reads as a notice, not an alarm.
    struct Tone {
        double start, freq, amp;
    };
    const Tone tones[] = {{0.0, 1318.51, 0.30}, {0.11, 1046.50, 0.26}};
    const double length = 0.8;
    const int frames = static_cast<int>(length * rate);
    const double pi = 3.14159265358979323846;

    std::vector<int16_t> pcm(frames);
    for (int n = 0; n < frames; ++n) {
        const double t = static_cast<double>(n) / rate;
        double v = 0;
        for (const Tone& tone : tones) {
            const double u = t - tone.start;
            if (u < 0) continue;
            const double attack = std::min(1.0, u / 0.004);
            // Fundamental with a faint octave and a quickly fading inharmonic
            // partial, which gives the strike its metallic edge.
            v += tone.amp * attack *
                 (std::exp(-u / 0.16) * std::sin(2 * pi * tone.freq * u) +
                  0.18 * std::exp(-u / 0.08) * std::sin(2 * pi * tone.freq * 2 * u) +
                  0.10 * std::exp(-u / 0.03) * std::sin(2 * pi * tone.freq * 2.76 * u));
        }
        const double tail = std::min(1.0, (length - t) / 0.12);  // no click at the cut
        pcm[n] = static_cast<int16_t>(std::lround(std::clamp(v * tail, -1.0, 1.0) * 32767));
    }

    std::vector<uint8_t> wav;
    const uint32_t dataBytes = static_cast<uint32_t>(pcm.size() * 2);
    for (char c : std::string("RIFF")) wav.push_back(static_cast<uint8_t>(c));
    PutLe(wav, 36 + dataBytes, 4);
    for (char c : std::string("WAVEfmt ")) wav.push_back(static_cast<uint8_t>(c));
    PutLe(wav, 16, 4);
    PutLe(wav, 1, 2);  // PCM
    PutLe(wav, 1, 2);  // mono
    PutLe(wav, static_cast<uint32_t>(rate), 4);
    PutLe(wav, static_cast<uint32_t>(rate * 2), 4);
    PutLe(wav, 2, 2);
    PutLe(wav, 16, 2);
    for (char c : std::string("data")) wav.push_back(static_cast<uint8_t>(c));
    PutLe(wav, dataBytes, 4);
    for (int16_t s : pcm) PutLe(wav, static_cast<uint16_t>(s), 2);
    return wav;
}

Mci::Mci(std::unique_ptr<MusicPlayer> player, AudioLog* log)
    : player_(std::move(player)), log_(log) {}

int Mci::Open(const std::string& rest) {
    // The path may hold blanks, so it ends at the last "alias" word rather than
    // at the next blank.
    const size_t at = LastAlias(Lower(rest));
    if (at == std::string::npos) return kMciMissingParameter;
    const std::vector<std::string> alias = Words(rest.substr(at + 7));
    if (alias.size() != 1) return alias.empty() ? kMciMissingParameter : kMciUnrecognizedCommand;
    const std::string path = NativePath(rest.substr(0, at));
    if (AllBlank(path)) return kMciMissingParameter;
    if (open_) return kMciDuplicateAlias;

    // Read once, here: what the player gets is what was checked, and a pipe
    // or a huge file in place of a tune never reaches it.
    std::string midi;
    const FileStatus status = ReadRegular(path, kMaxMusicBytes, &midi);
    if (status != FileStatus::Ok) {
        ReportNoMusic(path, Why(status, kMaxMusicBytes));
        return status == FileStatus::TooLarge ? kMciCannotLoadDriver : kMciFileNotFound;
    }
    if (!IsMidiName(path) || !IsMidiHead(midi) || !player_->Load(path, midi)) {
        ReportNoMusic(path, "is not music");
        return kMciCannotLoadDriver;
    }
    open_ = true;
    alias_ = Lower(alias[0]);
    return kMciOk;
}

int Mci::Send(const std::string& command, std::string* reply) {
    if (log_) log_->Add("mci: " + command);
    if (reply) reply->clear();

    const std::vector<std::string> words = Words(command);
    if (words.empty()) return kMciUnrecognizedCommand;
    const std::string verb = Lower(words[0]);
    if (verb == "open") {
        // Everything after "open" and the one white-space character that follows it.
        const size_t path = static_cast<size_t>(std::find_if_not(command.begin(), command.end(), IsBlank) -
                                                command.begin()) + 5;
        return path < command.size() ? Open(command.substr(path)) : kMciMissingParameter;
    }

    static const char* const kVerbs[] = {"play", "stop", "seek", "close", "status"};
    if (std::none_of(std::begin(kVerbs), std::end(kVerbs),
                     [&](const char* v) { return verb == v; }))
        return kMciUnrecognizedCommand;
    if (words.size() < 2 || !open_ || Lower(words[1]) != alias_) return kMciInvalidDeviceName;

    std::vector<std::string> tail;
    for (size_t k = 2; k < words.size(); ++k) tail.push_back(Lower(words[k]));
    const auto takes = [&](std::vector<std::string> expected) { return tail == expected; };

    if (verb == "play" && takes({})) {
        player_->Play();
    } else if (verb == "stop" && takes({})) {
        player_->Stop();
    } else if (verb == "seek" && takes({"to", "start"})) {
        // The device stops at the new position, as a sequencer does.
        player_->Stop();
        player_->SeekStart();
    } else if (verb == "close" && takes({})) {
        player_->Close();
        open_ = false;
        alias_.clear();
    } else if (verb == "status" && takes({"mode"})) {
        if (reply) *reply = player_->Playing() ? "playing" : "stopped";
    } else {
        return kMciUnrecognizedCommand;
    }
    return kMciOk;
}

int SndPlaySound(SoundPlayer& player, const char* name, unsigned flags, AudioLog* log) {
    (void)flags;
    if (name == nullptr) {
        if (log) log->Add("snd: stop");
        player.Stop();
        return 1;
    }
    const std::string path = NativePath(name);
    if (log) log->Add("snd: " + path);
    player.Play(EndsWithNoCase(path, ".wav") ? path : path + ".wav");
    return 1;
}

struct DeferredAudio::State {
    std::function<AudioDevice()> open;
    AudioDevice device;
    bool opened = false;
    bool settled = false;  // music commands go straight to the device
    std::vector<std::function<void(MusicPlayer&)>> waiting;  // music commands, in order

    void Open() {
        if (opened) return;
        opened = true;
        device = open();
        open = nullptr;
        Settle(false);
    }

    // `wait`: hand them over even if the device's music is not ready (its
    // first command then waits for it).
    void Settle(bool wait) {
        if (!opened || settled) return;
        if (!wait && device.music && !device.music->Ready()) return;
        settled = true;
        for (auto& command : waiting)
            if (device.music) command(*device.music);
        waiting.clear();
    }
};

class DeferredAudio::Music : public MusicPlayer {
public:
    explicit Music(std::shared_ptr<State> state) : state_(std::move(state)) {}
    // A piece waiting for the device is taken as loaded: the synth takes any
    // piece that reads as MIDI, which the interpreter has already checked.
    bool Load(const std::string& path, const std::string& midi) override {
        if (!state_->settled) {
            state_->waiting.push_back([path, midi](MusicPlayer& m) { m.Load(path, midi); });
            return true;
        }
        return state_->device.music && state_->device.music->Load(path, midi);
    }
    void Play() override { Do([](MusicPlayer& m) { m.Play(); }); }
    void Stop() override { Do([](MusicPlayer& m) { m.Stop(); }); }
    void SeekStart() override { Do([](MusicPlayer& m) { m.SeekStart(); }); }
    void Close() override { Do([](MusicPlayer& m) { m.Close(); }); }
    bool Playing() const override {
        state_->Open();
        state_->Settle(true);
        return state_->device.music && state_->device.music->Playing();
    }

private:
    void Do(std::function<void(MusicPlayer&)> command) {
        if (!state_->settled)
            state_->waiting.push_back(std::move(command));
        else if (state_->device.music)
            command(*state_->device.music);
    }
    std::shared_ptr<State> state_;
};

class DeferredAudio::Sound : public SoundPlayer {
public:
    explicit Sound(std::shared_ptr<State> state) : state_(std::move(state)) {}
    void Play(const std::string& path) override {
        state_->Open();
        if (state_->device.sound) state_->device.sound->Play(path);
    }
    // Nothing has sounded before the device opened, so there is nothing to stop.
    void Stop() override {
        if (state_->opened && state_->device.sound) state_->device.sound->Stop();
    }

private:
    std::shared_ptr<State> state_;
};

DeferredAudio::DeferredAudio(std::function<AudioDevice()> open) : state_(std::make_shared<State>()) {
    state_->open = std::move(open);
}

bool DeferredAudio::Opened() const { return state_->opened; }

void DeferredAudio::Open() { state_->Open(); }

bool DeferredAudio::Settle() {
    state_->Settle(false);
    return !state_->settled;
}

std::unique_ptr<MusicPlayer> DeferredAudio::TakeMusic() { return std::make_unique<Music>(state_); }

std::unique_ptr<SoundPlayer> DeferredAudio::TakeSound() { return std::make_unique<Sound>(state_); }

void DeferredAudio::Forgo() {
    if (state_->opened) return;
    state_->opened = state_->settled = true;
    state_->open = nullptr;
    state_->device = SilentAudioDevice();
    for (auto& command : state_->waiting) command(*state_->device.music);
    state_->waiting.clear();
}

void DeferredAudio::Release() {
    state_->device.sound.reset();
    state_->waiting.clear();
    state_->opened = state_->settled = true;  // nothing opens it any more
    state_->open = nullptr;
}

AudioDevice SilentAudioDevice() {
    AudioDevice device;
    device.music = std::make_unique<SilentMusic>();
    device.sound = std::make_unique<SilentSound>();
    return device;
}

bool SilentMusic::Load(const std::string& path, const std::string& midi) {
    (void)midi;
    path_ = path;
    loaded_ = true;
    playing_ = atEnd_ = false;
    return true;
}

}  // namespace plat
