// The real sound device: SDL_mixer owns the output and plays the sound
// effects; FluidSynth renders the music into the same stream through the
// mixer's music hook, and its MIDI player runs on the synth's sample clock,
// so the music's timing is exactly that of the samples heard.
#include <SDL.h>
#include <SDL_mixer.h>
#include <fluidsynth.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <mutex>
#include <set>
#include <system_error>
#include <thread>

#include "audio.h"
#include "files.h"
#include "library.h"
#include "program_name.h"
#include "quiet.h"
#include "quit.h"

namespace plat {

namespace {

// The mixer and the synth, with the decoders and sound servers they bring,
// are most of the libraries a program would load at start. They are loaded
// when the device is opened instead, after the first frame.
struct MixerLibrary : Library {
    MixerLibrary() : Library("libSDL2_mixer-2.0.so.0") {}
    PLAT_FUNCTION(Mix_OpenAudioDevice)
    PLAT_FUNCTION(Mix_QuerySpec)
    PLAT_FUNCTION(Mix_HookMusic)
    PLAT_FUNCTION(Mix_Volume)
    PLAT_FUNCTION(Mix_SetPostMix)
    PLAT_FUNCTION(Mix_LoadWAV_RW)
    PLAT_FUNCTION(Mix_PlayChannel)
    PLAT_FUNCTION(Mix_HaltChannel)
    PLAT_FUNCTION(Mix_FreeChunk)
    PLAT_FUNCTION(Mix_CloseAudio)
};
const MixerLibrary& Mixer() { return Loaded<MixerLibrary>(); }

struct SynthLibrary : Library {
    SynthLibrary() : Library("libfluidsynth.so.3") {}
    PLAT_FUNCTION(fluid_set_log_function)
    PLAT_FUNCTION(new_fluid_settings)
    PLAT_FUNCTION(delete_fluid_settings)
    PLAT_FUNCTION(fluid_settings_setnum)
    PLAT_FUNCTION(fluid_settings_setstr)
    PLAT_FUNCTION(new_fluid_synth)
    PLAT_FUNCTION(delete_fluid_synth)
    PLAT_FUNCTION(fluid_synth_sfload)
    PLAT_FUNCTION(fluid_synth_get_active_voice_count)
    PLAT_FUNCTION(fluid_synth_write_float)
    PLAT_FUNCTION(fluid_synth_cc)
    PLAT_FUNCTION(fluid_synth_all_notes_off)
    PLAT_FUNCTION(new_fluid_player)
    PLAT_FUNCTION(delete_fluid_player)
    PLAT_FUNCTION(fluid_player_add_mem)
    PLAT_FUNCTION(fluid_player_play)
    PLAT_FUNCTION(fluid_player_stop)
    PLAT_FUNCTION(fluid_player_get_status)
    PLAT_FUNCTION(fluid_player_get_total_ticks)
    PLAT_FUNCTION(fluid_player_set_tick_callback)
};
const SynthLibrary& Synth() { return Loaded<SynthLibrary>(); }

const int kRate = 44100;
const int kBufferFrames = 1024;  // about 23 ms: sound effects feel immediate
const int kEffectChannel = 0;    // one effect at a time, so one mixer channel
const int kTailSeconds = 2;      // the synth's reverb is silent well within this
// Music and effects are mixed at half their level, so that an effect landing on
// loud music never saturates the mixer's sum; the output stage doubles the sum
// back and only turns it down, briefly, where it would pass the ceiling.
const float kSynthGain = 0.25f;           // half of what the pieces were balanced at
const int kEffectVolume = MIX_MAX_VOLUME / 2;
const float kMakeUp = 2.0f;
const float kCeiling = 29204.0f;          // -1 dBFS, as loud as an effect alone peaks
const float kFullScale = 32768.0f;        // the synth's 1.0 in 16-bit steps
const float kGainBack = 0.99999f;         // within 0.0001 dB of 1: the limiter has let go
const float kReleaseSeconds = 0.05f;      // the limiter lets go over about this long
// TimGM6mb first: small, complete and what the pieces were voiced against.
const char* const kSoundFonts[] = {"/usr/share/sounds/sf2/TimGM6mb.sf2",
                                   "/usr/share/sounds/sf2/default-GM.sf2"};
// An effect is at most this long (the real ones are under 200 KB): the mixer
// reads a file whole on the program's thread, and a huge one would hold the
// window for seconds and then exhaust memory.
constexpr size_t kMaxEffectBytes = size_t{8} << 20;

// Whether path is a regular file that is a whole soundfont by its header: its
// RIFF chunk of form "sfbk" as long as the file. The synth opens the path
// itself, and would wait for good on a pipe, or fill the terminal with its
// libraries' complaints about a file that is no soundfont or is cut short.
bool IsSoundFont(const std::string& path) {
    const int fd = OpenRegular(path);
    if (fd < 0) return false;
    unsigned char head[12];
    struct stat info;
    const bool whole = pread(fd, head, sizeof head, 0) == static_cast<ssize_t>(sizeof head) && fstat(fd, &info) == 0 &&
                       std::memcmp(head, "RIFF", 4) == 0 && std::memcmp(head + 8, "sfbk", 4) == 0 &&
                       8 + (uint32_t{head[4]} | uint32_t{head[5]} << 8 | uint32_t{head[6]} << 16 |
                            uint32_t{head[7]} << 24) == static_cast<unsigned long long>(info.st_size);
    close(fd);
    return whole;
}

// Lives while the device is open and while any player handed out still exists,
// so players and the device may be torn down in either order.
struct Engine {
    std::mutex mu;  // the synth and every MIDI player; taken by the audio thread too
    fluid_settings_t* settings = nullptr;
    fluid_synth_t* synth = nullptr;
    bool deviceOpen = false;
    int rate = 0;
    Mix_Chunk* ding = nullptr;
    std::map<std::string, Mix_Chunk*> chunks;  // loaded effects, by path
    std::set<fluid_player_t*> players;         // every MIDI player on the synth
    long quietFrames = 0;                      // frames rendered since the synth fell quiet
    // Audio thread only: the music of the buffer being mixed, as the synth
    // rendered it (interleaved, 1.0 = full scale), which the output stage adds
    // to the effects; the mixed buffer at full level; the output stage's gain.
    std::vector<float> music;
    int musicSamples = 0;  // how many of `music` belong to this buffer: 0 while the synth rests
    std::vector<float> mixed;
    float limit = 1.0f;
    float release = 0.0f;  // how far the gain comes back per frame, from the rate
    // The synth and its soundfont are made beside start-up; settings and synth
    // are written by that thread alone until it has finished.
    std::thread maker;
    std::atomic<bool> made{false};  // for the audio thread: the synth (or its absence) is final

    // The synth is made and its soundfont in before any piece is handed to
    // it, and before the device closes: the maker asks SDL for its devices.
    void WaitForSynth() {
        if (maker.joinable()) maker.join();
    }

    // A piece plays or a note still sounds.
    bool Busy() const {
        for (fluid_player_t* p : players)
            if (Synth().fluid_player_get_status(p) == FLUID_PLAYER_PLAYING) return true;
        return Synth().fluid_synth_get_active_voice_count(synth) > 0;
    }

    ~Engine() {
        WaitForSynth();
        if (synth) Synth().delete_fluid_synth(synth);
        if (settings) Synth().delete_fluid_settings(settings);
    }
};

// The sound device of the run. Never destroyed: SDL's audio thread may still
// be playing through the engine while the process exits.
struct Device {
    std::shared_ptr<Engine> engine;
    // After a device failed to open, the audio subsystem is shut down on a
    // thread of its own: shutting it down waits for the driver's device-watch
    // thread (about 100 ms with ALSA), which would hold up the program, and
    // left up, that thread wakes ten times a second and rescans the sound
    // cards every few seconds for the whole run. Joined before audio is
    // opened again, and when the device is closed.
    std::thread subsystemQuit;

    void JoinSubsystemQuit() {
        if (subsystemQuit.joinable()) subsystemQuit.join();
    }
};

Device& TheDevice() {
    static Device& device = *new Device;
    return device;
}

// The mixer calls this for the music part of every buffer, before it mixes
// the effects on top. The synth renders in floating point into a buffer of its
// own, which the output stage adds to the mix: one rounding to 16 bits at the
// end instead of one here (with the synth's dither) and one there. The
// stream's music part stays silent. With no piece playing and no note
// sounding the synth would only render silence, at a steady cost: once its
// reverb has had time to die away it is left alone until the next play, which
// starts it again from the next buffer.
void RenderMusic(void* data, Uint8* stream, int len) {
    auto* engine = static_cast<Engine*>(data);
    std::memset(stream, 0, static_cast<size_t>(len));
    engine->musicSamples = 0;
    if (!engine->made.load(std::memory_order_acquire) || !engine->synth) return;
    const int frames = len / 4;
    std::lock_guard<std::mutex> lock(engine->mu);
    if (engine->Busy()) {
        engine->quietFrames = 0;
    } else if (engine->quietFrames >= static_cast<long>(engine->rate) * kTailSeconds) {
        return;
    } else {
        engine->quietFrames += frames;
    }
    if (engine->music.size() < static_cast<size_t>(frames) * 2) engine->music.resize(static_cast<size_t>(frames) * 2);
    float* music = engine->music.data();
    Synth().fluid_synth_write_float(engine->synth, frames, music, 0, 2, music, 1, 2);
    engine->musicSamples = frames * 2;
}

// Nearest integer, ties to even, as lrintf rounds, without a call into the
// maths library for every sample: adding 1.5 * 2^23 leaves a float no bits
// below the unit. Good for |x| < 2^22, far beyond a doubled 16-bit sum.
inline Sint16 Round16(float x) {
    const float magic = 12582912.0f;
    return static_cast<Sint16>(static_cast<int>((x + magic) - magic));
}

// The output stage: effects and music at their full level again, held under
// the ceiling by a gain that drops at once where a frame would pass it and
// comes back smoothly, so music and effects keep their balance and nothing
// clips. Where no frame comes near the ceiling and the gain is back, the
// buffer is only rounded.
void LimitMix(void* data, Uint8* stream, int len) {
    auto* engine = static_cast<Engine*>(data);
    auto* samples = reinterpret_cast<Sint16*>(stream);
    const int count = len / 4 * 2;
    if (engine->mixed.size() < static_cast<size_t>(count)) engine->mixed.resize(static_cast<size_t>(count));
    float* mixed = engine->mixed.data();
    float peak = 0.0f;
    if (engine->musicSamples == count) {
        const float* music = engine->music.data();
        for (int i = 0; i < count; ++i) {
            mixed[i] = (samples[i] + music[i] * kFullScale) * kMakeUp;
            peak = std::max(peak, std::fabs(mixed[i]));
        }
    } else {
        for (int i = 0; i < count; ++i) {
            mixed[i] = samples[i] * kMakeUp;
            peak = std::max(peak, std::fabs(mixed[i]));
        }
    }
    float gain = engine->limit;
    if (gain == 1.0f && peak <= kCeiling) {
        for (int i = 0; i < count; ++i) samples[i] = Round16(mixed[i]);
        return;
    }
    const float release = engine->release;
    for (int i = 0; i < count; i += 2) {
        const float left = mixed[i], right = mixed[i + 1];
        const float framePeak = std::max(std::fabs(left), std::fabs(right));
        const float target = framePeak > kCeiling ? kCeiling / framePeak : 1.0f;
        gain = target < gain ? target : gain + (target - gain) * release;
        samples[i] = Round16(left * gain);
        samples[i + 1] = Round16(right * gain);
    }
    // The last step back is below a float's resolution near 1: close it, so
    // the next quiet buffer takes the short way.
    engine->limit = gain > kGainBack ? 1.0f : gain;
}

// FluidSynth's player keeps reporting "playing" for some seconds after the last
// event while notes die away, and a play after that restarts the file. The
// device must read "stopped" at the end and stay at the end until a seek, so
// the end is taken from the tick clock, and a seek builds a fresh player.
class FluidMusic : public MusicPlayer {
public:
    explicit FluidMusic(std::shared_ptr<Engine> engine) : engine_(std::move(engine)) {}
    ~FluidMusic() override {
        std::lock_guard<std::mutex> lock(engine_->mu);
        Drop();
    }

    // The synth plays from memory: it never opens the file itself.
    bool Load(const std::string& path, const std::string& midi) override {
        engine_->WaitForSynth();
        standIn_ = !engine_->synth;
        if (standIn_) return silent_.Load(path, midi);
        if (midi.empty()) return false;
        std::lock_guard<std::mutex> lock(engine_->mu);
        midi_.assign(midi.begin(), midi.end());
        return Build();
    }

    void Play() override {
        if (standIn_) return silent_.Play();
        std::lock_guard<std::mutex> lock(engine_->mu);
        if (player_ && !ended_) Synth().fluid_player_play(player_);
    }

    void Stop() override {
        if (standIn_) return silent_.Stop();
        std::lock_guard<std::mutex> lock(engine_->mu);
        if (player_ && !ended_ && Synth().fluid_player_get_status(player_) == FLUID_PLAYER_PLAYING)
            Synth().fluid_player_stop(player_);  // keeps the position; sounding notes are released
    }

    void SeekStart() override {
        if (standIn_) return silent_.SeekStart();
        std::lock_guard<std::mutex> lock(engine_->mu);
        if (player_) Build();
    }

    bool Ready() const override { return engine_->made.load(std::memory_order_acquire); }

    bool Playing() const override {
        if (standIn_) return silent_.Playing();
        std::lock_guard<std::mutex> lock(engine_->mu);
        return player_ && !ended_ && Synth().fluid_player_get_status(player_) == FLUID_PLAYER_PLAYING;
    }

    void Close() override {
        if (standIn_) return silent_.Close();
        std::lock_guard<std::mutex> lock(engine_->mu);
        Drop();
        midi_.clear();
    }

private:
    // Called on the audio thread, under the engine's lock, as the player's clock advances.
    // The piece's length is looked up once: the synth counts it anew on every call.
    static int OnTick(void* data, int tick) {
        auto* self = static_cast<FluidMusic*>(data);
        if (self->total_ <= 0) self->total_ = Synth().fluid_player_get_total_ticks(self->player_);
        if (self->total_ > 0 && tick >= self->total_) self->ended_ = true;
        return FLUID_OK;
    }

    bool Build() {
        Drop();
        player_ = Synth().new_fluid_player(engine_->synth);
        if (!player_) return false;
        if (Synth().fluid_player_add_mem(player_, midi_.data(), midi_.size()) != FLUID_OK) {
            Drop();
            return false;
        }
        Synth().fluid_player_set_tick_callback(player_, &FluidMusic::OnTick, this);
        engine_->players.insert(player_);
        ended_ = false;
        total_ = 0;
        return true;
    }

    void Drop() {
        if (!player_) return;
        engine_->players.erase(player_);
        Synth().delete_fluid_player(player_);
        player_ = nullptr;
        // Release what the old player left sounding, sustain pedals included.
        for (int ch = 0; ch < 16; ++ch) Synth().fluid_synth_cc(engine_->synth, ch, 64, 0);
        Synth().fluid_synth_all_notes_off(engine_->synth, -1);
    }

    std::shared_ptr<Engine> engine_;
    std::vector<char> midi_;
    fluid_player_t* player_ = nullptr;
    bool ended_ = false;
    int total_ = 0;  // ticks in the piece, once the player has read it
    SilentMusic silent_;  // stands in where the synth could not be made
    bool standIn_ = false;
};

class MixerSound : public SoundPlayer {
public:
    explicit MixerSound(std::shared_ptr<Engine> engine) : engine_(std::move(engine)) {}

    void Play(const std::string& path) override {
        if (!engine_->deviceOpen) return;
        Mix_Chunk* chunk = Find(path);
        if (!chunk) chunk = engine_->ding;
        if (chunk) Mixer().Mix_PlayChannel(kEffectChannel, chunk, 0);  // cuts off the one playing
    }

    void Stop() override {
        if (engine_->deviceOpen) Mixer().Mix_HaltChannel(kEffectChannel);
    }

private:
    // Missing files are not remembered, so a file that appears later plays.
    // The mixer reads from a descriptor already checked to be a regular file:
    // given the name, it would open a pipe put there and wait on it for good.
    Mix_Chunk* Find(const std::string& path) {
        auto it = engine_->chunks.find(path);
        if (it != engine_->chunks.end()) return it->second;
        const int fd = OpenRegular(path);
        if (fd < 0) return nullptr;
        struct stat info;
        if (fstat(fd, &info) != 0 || static_cast<unsigned long long>(info.st_size) > kMaxEffectBytes) {
            close(fd);
            ReportDefaultSound(path, Why(FileStatus::TooLarge, kMaxEffectBytes));
            return nullptr;
        }
        char head[12];
        std::FILE* file = pread(fd, head, sizeof head, 0) == static_cast<ssize_t>(sizeof head) &&
                                  IsWavHead(std::string(head, sizeof head))
                              ? fdopen(fd, "rb")
                              : nullptr;
        if (!file) {
            close(fd);
            return nullptr;
        }
        SDL_RWops* rw = SDL_RWFromFP(file, SDL_TRUE);
        if (!rw) {
            std::fclose(file);
            return nullptr;
        }
        Mix_Chunk* chunk = Mixer().Mix_LoadWAV_RW(rw, 1);
        if (chunk) engine_->chunks[path] = chunk;
        return chunk;
    }

    std::shared_ptr<Engine> engine_;
};

AudioDevice Silent(const std::string& why) {
    std::fprintf(stderr, "%s: %s; running without sound\n", ProgramName().c_str(), why.c_str());
    return SilentAudioDevice();
}

}  // namespace

AudioDevice OpenAudioDevice(const std::string& soundFont) {
    Device& d = TheDevice();
    if (!d.engine) {
        d.JoinSubsystemQuit();
        if (!Mixer().Error().empty()) return Silent("the sound library could not be loaded (" + Mixer().Error() + ")");
        std::string why;
        {
            QuietStderr quiet;
            if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
                why = std::string("no sound device (") + SDL_GetError() + ")";
            } else if (Mixer().Mix_OpenAudioDevice(kRate, AUDIO_S16SYS, 2, kBufferFrames, nullptr,
                                                   SDL_AUDIO_ALLOW_FREQUENCY_CHANGE) != 0) {
                // The music hook writes 16-bit stereo, so only the rate may differ.
                why = std::string("no sound device (") + Mix_GetError() + ")";
                try {
                    d.subsystemQuit = std::thread([] { SDL_QuitSubSystem(SDL_INIT_AUDIO); });
                } catch (const std::system_error&) {
                    SDL_QuitSubSystem(SDL_INIT_AUDIO);
                }
            }
        }
        if (!why.empty()) return Silent(why);
        int rate = kRate, channels = 2;
        Uint16 format = AUDIO_S16SYS;
        Mixer().Mix_QuerySpec(&rate, &format, &channels);

        auto engine = std::make_shared<Engine>();
        engine->deviceOpen = true;
        engine->rate = rate;
        engine->quietFrames = static_cast<long>(rate) * kTailSeconds;  // nothing to let die away yet
        engine->release = 1.0f - std::exp(-1.0f / (kReleaseSeconds * static_cast<float>(rate)));
        engine->music.resize(kBufferFrames * 2);  // the audio thread grows them only for larger buffers
        engine->mixed.resize(kBufferFrames * 2);

        // Loading the synth and reading the soundfont take tens of milliseconds:
        // they run beside the program, and the first piece waits for them.
        // The synth is not made, nor a soundfont read, for a program that is
        // quitting: it would only hold up the end.
        const auto make = [engine = engine.get(), rate, soundFont, program = ProgramName()] {
            if (QuitRequested()) return;
            if (!Synth().Error().empty()) {
                std::fprintf(stderr, "%s: the synthesizer could not be set up (%s); music is silent\n", program.c_str(),
                             Synth().Error().c_str());
                return;
            }
            // FluidSynth's own messages (missing presets, parse notes) stay off
            // the terminal: a missing soundfont is reported below in one line.
            for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG})
                Synth().fluid_set_log_function(level, nullptr, nullptr);
            engine->settings = Synth().new_fluid_settings();
            if (engine->settings) {
                Synth().fluid_settings_setnum(engine->settings, "synth.sample-rate", rate);
                Synth().fluid_settings_setstr(engine->settings, "player.timing-source", "sample");
                Synth().fluid_settings_setnum(engine->settings, "synth.gain", kSynthGain);
                engine->synth = Synth().new_fluid_synth(engine->settings);
            }
            if (!engine->synth) {
                std::fprintf(stderr, "%s: the synthesizer could not be set up; music is silent\n", program.c_str());
                return;
            }
            if (QuitRequested()) return;
            bool loaded = false;
            if (!soundFont.empty()) {
                loaded = IsSoundFont(soundFont) && Synth().fluid_synth_sfload(engine->synth, soundFont.c_str(), 1) != FLUID_FAILED;
            } else {
                for (const char* font : kSoundFonts)
                    if (!loaded && IsSoundFont(font))
                        loaded = Synth().fluid_synth_sfload(engine->synth, font, 1) != FLUID_FAILED;
            }
            if (!loaded)
                std::fprintf(stderr, "%s: no General MIDI soundfont (%s); music is silent\n", program.c_str(),
                             soundFont.empty() ? kSoundFonts[0] : soundFont.c_str());
        };
        try {
            engine->maker = std::thread([engine = engine.get(), make] {
                make();
                engine->made.store(true, std::memory_order_release);
            });
        } catch (const std::system_error&) {
            make();
            engine->made.store(true, std::memory_order_release);
        }
        Mixer().Mix_HookMusic(&RenderMusic, engine.get());
        Mixer().Mix_Volume(kEffectChannel, kEffectVolume);
        Mixer().Mix_SetPostMix(&LimitMix, engine.get());

        const std::vector<uint8_t> ding = DefaultSoundWav(rate);
        engine->ding = Mixer().Mix_LoadWAV_RW(SDL_RWFromConstMem(ding.data(), static_cast<int>(ding.size())), 1);
        d.engine = engine;
    }

    AudioDevice device;
    device.silent = false;
    device.rate = d.engine->rate;
    device.music = std::make_unique<FluidMusic>(d.engine);
    device.sound = std::make_unique<MixerSound>(d.engine);
    return device;
}

void CloseAudioDevice() {
    Device& d = TheDevice();
    d.JoinSubsystemQuit();
    if (!d.engine) return;
    // Nothing is shut down while the synth is still being made: it calls into
    // SDL's audio, whose device list the shutdown frees.
    d.engine->WaitForSynth();
    // Once the hook is gone the audio thread no longer touches the synth, which
    // outlives the device for as long as some music player still holds it.
    Mixer().Mix_HookMusic(nullptr, nullptr);
    Mixer().Mix_SetPostMix(nullptr, nullptr);
    Mixer().Mix_HaltChannel(-1);
    for (auto& entry : d.engine->chunks) Mixer().Mix_FreeChunk(entry.second);
    d.engine->chunks.clear();
    if (d.engine->ding) Mixer().Mix_FreeChunk(d.engine->ding);
    d.engine->ding = nullptr;
    Mixer().Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    d.engine->deviceOpen = false;
    d.engine.reset();
}

void FinishAudioThreads() {
    Device& d = TheDevice();
    d.JoinSubsystemQuit();
    if (d.engine) d.engine->WaitForSynth();
}

}  // namespace plat
