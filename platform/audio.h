// Music and sound effects: the media-control command strings the kit sends
// for its one music alias, and the asynchronous sound-effect call.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace plat {

// A music device behind the alias. Implementations: FluidSynth's MIDI player
// rendered into the audio stream, and a silent one for tests and machines
// without a sound device.
//
// Position semantics follow a sequencer device: Stop keeps the position and
// Play resumes from it; once the piece has played to its end the position
// stays at the end, so Play does nothing until SeekStart.
class MusicPlayer {
public:
    virtual ~MusicPlayer() = default;
    // midi: the whole file at path, already read and seen to begin as MIDI.
    // false: the device cannot play it.
    virtual bool Load(const std::string& path, const std::string& midi) = 0;
    virtual void Play() = 0;                         // from the current position
    virtual void Stop() = 0;                         // keeps the position
    virtual void SeekStart() = 0;
    virtual bool Playing() const = 0;                // false once the piece has ended
    virtual void Close() = 0;
    // False while the device is still getting ready (its synth loading
    // beside the program): a command now would wait for it.
    virtual bool Ready() const { return true; }
};

// Sound effects: one at a time, a new one cuts off the one playing.
class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    // Plays the WAV at path; a path with no readable WAV plays the built-in default sound.
    virtual void Play(const std::string& path) = 0;
    virtual void Stop() = 0;
};

// What the media-control interpreter and the sound call were asked to do, in order.
// Tests read it; the real backends append to it too, keeping only the newest lines,
// as a long run sends a command every few seconds.
struct AudioLog {
    std::vector<std::string> lines;  // "mci: play bgm", "snd: /x/se/se3", "snd: stop"
    size_t keep = static_cast<size_t>(-1);  // how many of the newest lines stay
    void Add(std::string s) {
        lines.push_back(std::move(s));
        if (lines.size() > keep) lines.erase(lines.begin(), lines.end() - static_cast<std::ptrdiff_t>(keep));
    }
};

// Error numbers of Mci::Send, as the media-control interface numbers them.
enum MciError : int {
    kMciOk = 0,
    kMciUnrecognizedCommand = 261,  // unknown verb, or a verb with words it does not take
    kMciInvalidDeviceName = 263,    // the alias is not open
    kMciFileNotFound = 275,         // open: no such file
    kMciCannotLoadDriver = 266,     // open: the file is not music this device plays
    kMciMissingParameter = 273,     // open without "alias <name>" or without a path
    kMciDuplicateAlias = 289,       // open while the alias (or another one) is open
};

// A tune is at most this long (the real ones are a few tens of KB); a longer
// file is not music.
constexpr size_t kMaxMusicBytes = 1 << 20;

// Interprets media-control command strings for one alias at a time:
//   "open <path> alias <name>", "play <name>", "stop <name>",
//   "seek <name> to start", "close <name>", "status <name> mode".
// Keywords and the alias compare without regard to case. Words are separated
// by any white space (blank, tab, line feed, vertical tab, form feed, carriage
// return), all alike. The path of "open" runs from after "open" and the one
// white-space character that follows it to the white space before the last
// "alias" word, so blanks in it are fine; its "\" separators become "/".
// Only a regular file of at most kMaxMusicBytes opens; a file that does not
// open gives one line on stderr (once per file in a run).
// Returns 0 on success, a non-zero MciError otherwise; on error nothing changes
// and *reply (when given) is left empty.
class Mci {
public:
    explicit Mci(std::unique_ptr<MusicPlayer> player, AudioLog* log = nullptr);
    int Send(const std::string& command, std::string* reply = nullptr);
    bool IsOpen() const { return open_; }

private:
    int Open(const std::string& rest);  // rest: the command after "open "

    std::unique_ptr<MusicPlayer> player_;
    AudioLog* log_;
    bool open_ = false;
    std::string alias_;
};

// The asynchronous sound call: name == nullptr stops the sound that is playing.
// The name is used as given ("\" becomes "/"), with ".wav" appended to find the file
// unless it already ends in ".wav". flags are accepted for the call's shape: play is
// always asynchronous and a missing file always gives the default sound.
// Returns 1 (the call always succeeds, as the default sound stands in for a missing file).
int SndPlaySound(SoundPlayer& player, const char* name, unsigned flags, AudioLog* log = nullptr);

// True when path names a Standard MIDI File: a ".mid" or ".midi" name (any case)
// whose contents begin with a MIDI header. These checks open regular files only:
// anything else (a pipe, a folder) is no such file.
bool IsMidiFile(const std::string& path);

// True when path names a readable RIFF WAVE file.
bool IsWavFile(const std::string& path);
// True when the bytes begin a RIFF WAVE file.
bool IsWavHead(const std::string& head);

// The built-in default sound, a short soft two-tone chime, as a complete
// 16-bit mono WAV file image at the given rate.
std::vector<uint8_t> DefaultSoundWav(int rate = 44100);

// The audio of a real run. Opens the sound device; when none can be opened, prints
// one line on stderr and returns silent players. soundFont empty: the system's
// General MIDI soundfont.
struct AudioDevice {
    std::unique_ptr<MusicPlayer> music;
    std::unique_ptr<SoundPlayer> sound;
    bool silent = true;
    int rate = 0;  // frames per second of the 16-bit stereo output; 0 when silent
};
AudioDevice OpenAudioDevice(const std::string& soundFont = "");
// Silent players in place of a device, with nothing said.
AudioDevice SilentAudioDevice();
// Closes the device. Players handed out earlier go quiet and may be destroyed
// before or after this call.
void CloseAudioDevice();
// Waits for the threads that opening the device started (the synth being
// made, the audio subsystem being shut down), leaving the device as it is:
// for a program that ends without closing it.
void FinishAudioThreads();

// A sound device opened later than it is handed out: a window opens its device
// once the first frame is shown, not on the way to it. Until then the music
// commands wait, in order, and reach the device once it is open and its music
// ready (Settle); a sound effect opens it at once, and a question about the
// music opens it and waits for its music. The players handed out stay valid
// for as long as they are held.
class DeferredAudio {
public:
    explicit DeferredAudio(std::function<AudioDevice()> open);
    bool Opened() const;
    // Opens the device now, unless it is open; the waiting music commands
    // follow if its music is ready.
    void Open();
    // Hands the waiting music commands to the open device once its music is
    // ready. True while some still wait.
    bool Settle();
    // Players standing in for the device's.
    std::unique_ptr<MusicPlayer> TakeMusic();
    std::unique_ptr<SoundPlayer> TakeSound();
    // The program is quitting before the device opened: it is never opened,
    // and silent players stand in for it (the waiting commands go to them).
    void Forgo();
    // Lets the device's sound player go (its music player stays while held),
    // and drops commands still waiting: the window is closing.
    void Release();

private:
    struct State;
    class Music;
    class Sound;
    std::shared_ptr<State> state_;
};

// Silent players for the headless backend: the music "plays" on the caller's clock
// until the test declares it ended.
class SilentMusic : public MusicPlayer {
public:
    bool Load(const std::string& path, const std::string& midi) override;
    void Play() override { playing_ = loaded_ && !atEnd_; }
    void Stop() override { playing_ = false; }
    void SeekStart() override { atEnd_ = false; }
    bool Playing() const override { return playing_; }
    void Close() override { loaded_ = playing_ = atEnd_ = false; }
    // The piece reached its end.
    void EndPiece() {
        if (playing_) atEnd_ = true;
        playing_ = false;
    }
    const std::string& path() const { return path_; }

private:
    bool loaded_ = false, playing_ = false, atEnd_ = false;
    std::string path_;
};

class SilentSound : public SoundPlayer {
public:
    void Play(const std::string& path) override { last_ = path; }
    void Stop() override { last_.clear(); }
    const std::string& last() const { return last_; }  // empty: nothing playing
    // Whether the last play fell back to the default sound. Worked out when
    // asked: nobody hears it, so a play (on every key that selects) costs no
    // look at the file.
    bool usedDefault() const { return !last_.empty() && !IsWavFile(last_); }

private:
    std::string last_;
};

}  // namespace plat
