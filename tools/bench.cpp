// The benchmark: the real programs in build/bin measured from outside, as a
// player meets them, on a virtual display (Xvfb at 1024x768) it starts itself
// unless DISPLAY is given:
//   - start-up: from exec until the first non-black pixels of the title (or
//     the manual's menu) read back from the X server;
//   - keys: an XTest key in the battle until its changed pixel reads back;
//   - CPU (all the program's threads, from /proc) over a stretch of battle,
//     of the manual's menu with its music, and of the epilogue's opening,
//     which is nothing but an animation's waits;
//   - peak memory (VmHWM).
// With a sound device (SDL's dummy driver) and without one (the default
// driver, which finds no device here). Then the in-process figures, labelled
// headless (bench_headless.cpp). The table goes to stdout; progress to stderr.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/ipc.h>
#include <sys/prctl.h>
#include <sys/shm.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdarg>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <mutex>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "bench.h"

extern char** environ;

namespace bench {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }
void SleepMs(double ms) { std::this_thread::sleep_for(std::chrono::duration<double, std::milli>(ms)); }

// Where the programs draw: an 800x600 window centred on the screen, its
// 768x576 layer 16 and 12 pixels in.
constexpr int kWindowW = 800, kWindowH = 600, kLayerX = 16, kLayerY = 12;
// The game's selection box (its top edge, at the middle of character s's
// face) and its colour.
int CursorX(int s) { return 96 * s + 48 + 48; }
constexpr int kCursorY = 448;
constexpr unsigned long kCursorColour = 0x5A1E28;  // RGB(90, 30, 40)

std::mutex logMutex;
void Progress(const char* format, ...) __attribute__((format(printf, 1, 2)));
void Progress(const char* format, ...) {
    std::lock_guard<std::mutex> lock(logMutex);
    va_list args;
    va_start(args, format);
    std::vfprintf(stderr, format, args);
    va_end(args);
    std::fflush(stderr);
}

// ----------------------------------------------------------- the displays

// An Xvfb of its own, on a display number it picks itself.
struct VirtualDisplay {
    pid_t pid = -1;
    std::string name;

    bool Start() {
        int fds[2];
        if (pipe(fds) != 0) return false;
        const std::string fd = std::to_string(fds[1]);
        pid = fork();
        if (pid == 0) {
            prctl(PR_SET_PDEATHSIG, SIGTERM);  // gone with the bench, however it ends
            close(fds[0]);
            const int null = open("/dev/null", O_RDWR);
            dup2(null, 0), dup2(null, 1), dup2(null, 2);
            execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24", "-nolisten", "tcp",
                   static_cast<char*>(nullptr));
            _exit(127);
        }
        close(fds[1]);
        std::string number;
        pollfd p{fds[0], POLLIN, 0};
        while (pid > 0 && poll(&p, 1, 10000) > 0) {
            char c;
            if (read(fds[0], &c, 1) != 1 || c == '\n') break;
            number += c;
        }
        close(fds[0]);
        if (number.empty()) {
            Stop();
            return false;
        }
        name = ":" + number;
        return true;
    }
    void Stop() {
        if (pid > 0) {
            kill(pid, SIGTERM);
            waitpid(pid, nullptr, 0);
        }
        pid = -1;
    }
};

// A connection to a display, with the window's place on it.
class Viewer {
public:
    explicit Viewer(const std::string& display) {
        // A display busy starting programs may refuse a connection for a moment.
        for (int tries = 0; !(dpy_ = XOpenDisplay(display.c_str())) && tries < 30; ++tries) SleepMs(100);
        if (!dpy_) return;
        root_ = DefaultRootWindow(dpy_);
        const int w = DisplayWidth(dpy_, DefaultScreen(dpy_)), h = DisplayHeight(dpy_, DefaultScreen(dpy_));
        x_ = (w - kWindowW) / 2;
        y_ = (h - kWindowH) / 2;
        int major, minor;
        Bool pixmaps;
        if (XShmQueryExtension(dpy_) && XShmQueryVersion(dpy_, &major, &minor, &pixmaps)) {
            shm_.shmid = -1;
            image_ = XShmCreateImage(dpy_, DefaultVisual(dpy_, DefaultScreen(dpy_)),
                                     DefaultDepth(dpy_, DefaultScreen(dpy_)), ZPixmap, nullptr, &shm_, kWindowW,
                                     kWindowH);
            if (image_) shm_.shmid = shmget(IPC_PRIVATE, image_->bytes_per_line * image_->height, IPC_CREAT | 0600);
            if (shm_.shmid >= 0) {
                shm_.shmaddr = image_->data = static_cast<char*>(shmat(shm_.shmid, nullptr, 0));
                shm_.readOnly = False;
                if (XShmAttach(dpy_, &shm_)) {
                    XSync(dpy_, False);
                    shmctl(shm_.shmid, IPC_RMID, nullptr);  // gone once both sides detach
                } else {
                    Detach();
                }
            } else if (image_) {
                XDestroyImage(image_);
                image_ = nullptr;
            }
        }
    }
    ~Viewer() {
        if (!dpy_) return;
        Detach();
        XCloseDisplay(dpy_);
    }
    Viewer(const Viewer&) = delete;
    Viewer& operator=(const Viewer&) = delete;

    bool ok() const { return dpy_ != nullptr; }

    // The whole window's area, 0xRRGGBB per pixel.
    void Grab(std::vector<uint32_t>& out) {
        out.resize(kWindowW * kWindowH);
        XImage* img = image_;
        if (image_) {
            XShmGetImage(dpy_, root_, image_, x_, y_, AllPlanes);
        } else {
            img = XGetImage(dpy_, root_, x_, y_, kWindowW, kWindowH, AllPlanes, ZPixmap);
        }
        if (!img) return;
        if (img->bits_per_pixel == 32) {
            for (int y = 0; y < kWindowH; ++y) {
                const auto* row = reinterpret_cast<const uint32_t*>(img->data + y * img->bytes_per_line);
                for (int x = 0; x < kWindowW; ++x) out[y * kWindowW + x] = row[x] & 0xFFFFFF;
            }
        } else {
            for (int y = 0; y < kWindowH; ++y)
                for (int x = 0; x < kWindowW; ++x) out[y * kWindowW + x] = XGetPixel(img, x, y) & 0xFFFFFF;
        }
        if (img != image_) XDestroyImage(img);
    }
    // One pixel of the layer, 0xRRGGBB.
    unsigned long Pixel(int layerX, int layerY) {
        XImage* img = XGetImage(dpy_, root_, x_ + kLayerX + layerX, y_ + kLayerY + layerY, 1, 1, AllPlanes, ZPixmap);
        if (!img) return 0;
        const unsigned long p = XGetPixel(img, 0, 0) & 0xFFFFFF;
        XDestroyImage(img);
        return p;
    }
    // Waits until the layer's pixel has the colour; false after the timeout.
    bool WaitPixel(int layerX, int layerY, unsigned long colour, double timeoutMs) {
        const auto start = Clock::now();
        while (Pixel(layerX, layerY) != colour)
            if (Ms(Clock::now() - start) > timeoutMs) return false;
        return true;
    }
    // Starts noting windows mapped on the screen from now on.
    void WatchMaps() {
        XSelectInput(dpy_, root_, SubstructureNotifyMask);
        XSync(dpy_, True);
    }
    // Whether a window was mapped since WatchMaps, as far as the replies read
    // so far tell (every grab reads one).
    bool Mapped() {
        bool any = false;
        while (XPending(dpy_)) {
            XEvent e;
            XNextEvent(dpy_, &e);
            any = any || e.type == MapNotify;
        }
        return any;
    }
    // Gives the keyboard to the program's window, as a window manager would.
    void Focus() {
        XSetInputFocus(dpy_, FindWindow(root_, "Form1"), RevertToPointerRoot, CurrentTime);
        XSync(dpy_, False);
    }
    void Key(KeySym key) {
        const KeyCode code = XKeysymToKeycode(dpy_, key);
        XTestFakeKeyEvent(dpy_, code, True, CurrentTime);
        XTestFakeKeyEvent(dpy_, code, False, CurrentTime);
        XFlush(dpy_);
    }

private:
    void Detach() {
        if (image_ && shm_.shmid >= 0) {
            XShmDetach(dpy_, &shm_);
            XSync(dpy_, False);
            shmdt(shm_.shmaddr);
            image_->data = nullptr;
        }
        if (image_) XDestroyImage(image_);
        image_ = nullptr;
    }
    Window FindWindow(Window w, const char* name) {
        char* n = nullptr;
        if (XFetchName(dpy_, w, &n) && n) {
            const bool match = std::strcmp(n, name) == 0;
            XFree(n);
            if (match) return w;
        }
        Window rootReturn, parent, *children = nullptr;
        unsigned count = 0;
        Window found = PointerRoot;
        if (XQueryTree(dpy_, w, &rootReturn, &parent, &children, &count)) {
            for (unsigned i = count; i-- > 0 && found == PointerRoot;) found = FindWindow(children[i], name);
            if (children) XFree(children);
        }
        return found;
    }

    Display* dpy_ = nullptr;
    Window root_ = 0;
    int x_ = 0, y_ = 0;
    XImage* image_ = nullptr;
    XShmSegmentInfo shm_{};
};

// ----------------------------------------------------------- the programs

enum class Sound { Silent, Device };
const char* SoundName(Sound s) { return s == Sound::Silent ? "no sound device" : "with a sound device"; }

struct Program {
    pid_t pid = -1;
    std::string errFile;

    // Starts the program on the display; with a sound device SDL runs its
    // dummy driver, without one its default, which finds no device here.
    bool Start(const std::string& path, const std::string& display, Sound sound) {
        std::vector<std::string> env;
        for (char** e = environ; *e; ++e)
            if (std::strncmp(*e, "DISPLAY=", 8) != 0 && std::strncmp(*e, "SDL_AUDIODRIVER=", 16) != 0)
                env.push_back(*e);
        env.push_back("DISPLAY=" + display);
        if (sound == Sound::Device) env.push_back("SDL_AUDIODRIVER=dummy");
        std::vector<char*> envp;
        for (auto& e : env) envp.push_back(e.data());
        envp.push_back(nullptr);
        char name[] = "/tmp/bench-stderr-XXXXXX";
        const int fd = mkstemp(name);
        if (fd < 0) return false;
        close(fd);
        errFile = name;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 2, name, O_WRONLY | O_TRUNC, 0);
        char* argv[] = {const_cast<char*>(path.c_str()), nullptr};
        const int rc = posix_spawn(&pid, path.c_str(), &actions, nullptr, argv, envp.data());
        posix_spawn_file_actions_destroy(&actions);
        if (rc != 0) pid = -1;
        return rc == 0;
    }
    bool Alive() {
        if (pid > 0 && waitpid(pid, nullptr, WNOHANG) == pid) pid = -1;  // reaped: its number may come back
        return pid > 0;
    }
    // The first line the program wrote on stderr.
    std::string FirstError() const {
        std::ifstream f(errFile);
        std::string line;
        std::getline(f, line);
        return line;
    }
    // CPU seconds of all its threads so far: the scheduler's nanosecond
    // counts; /proc's utime and stime count in 10 ms ticks, too coarse for a
    // tenth of a percent over 20 s.
    double Cpu() const {
        double ns = 0;
        bool any = false;
        const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
        if (DIR* d = opendir(tasks.c_str())) {
            while (dirent* e = readdir(d)) {
                if (e->d_name[0] == '.') continue;
                std::ifstream f(tasks + "/" + e->d_name + "/schedstat");
                double run = 0;
                if (f >> run) ns += run, any = true;
            }
            closedir(d);
        }
        if (any) return ns / 1e9;
        std::ifstream f("/proc/" + std::to_string(pid) + "/stat");
        std::string stat((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
        std::istringstream rest(stat.substr(stat.rfind(')') + 2));
        std::string field;
        double utime = 0, stime = 0;
        for (int i = 3; i <= 15 && rest >> field; ++i) {
            if (i == 14) utime = std::atof(field.c_str());
            if (i == 15) stime = std::atof(field.c_str());
        }
        return (utime + stime) / sysconf(_SC_CLK_TCK);
    }
    // Peak resident memory so far, in MB.
    double PeakMb() const {
        std::ifstream f("/proc/" + std::to_string(pid) + "/status");
        std::string line;
        while (std::getline(f, line))
            if (line.rfind("VmHWM:", 0) == 0) return std::atof(line.c_str() + 6) / 1024;
        return 0;
    }
    void Stop() {
        if (pid > 0) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
        pid = -1;
        if (!errFile.empty()) std::remove(errFile.c_str());
        errFile.clear();
    }
    ~Program() { Stop(); }
};

// Waits until the window's area shows a non-black pixel that was not there
// before; returns the time from start, or a negative number after 10 s.
// When mapped is given, it gets the time the window was mapped (still black
// on its first present), or stays negative.
double UntilFirstPicture(Viewer& screen, const std::vector<uint32_t>& before, Clock::time_point start,
                         double pauseMs = 0, double* mapped = nullptr) {
    std::vector<uint32_t> now;
    if (mapped) *mapped = -1;
    for (;;) {
        screen.Grab(now);
        const auto seen = Clock::now();
        if (mapped && *mapped < 0 && screen.Mapped()) *mapped = Ms(seen - start);
        for (size_t i = 0; i < now.size(); ++i)
            if (now[i] != 0 && now[i] != before[i]) return Ms(seen - start);
        if (Ms(seen - start) > 10000) return -1;
        if (pauseMs > 0) SleepMs(pauseMs);
    }
}

struct Setup {
    std::string gamePath, manualPath, display;
    std::vector<std::string> cpuDisplays;  // one per program measured at the same time
    int runs = 10, keys = 60;
    double cpuSeconds = 20;
    std::vector<Row> rows;
    std::vector<std::string> notes;
};

void Note(Setup& s, const std::string& text) {
    if (std::find(s.notes.begin(), s.notes.end(), text) == s.notes.end()) s.notes.push_back(text);
}

// What a run "without a sound device" heard from the program: it must say it
// runs silently, or the figure is not what it claims.
void CheckSilent(Setup& s, const Program& p, Sound sound, const char* which) {
    if (sound != Sound::Silent) return;
    // The line may come after the first picture, from a device opened on the side.
    std::string said;
    for (int wait = 0; wait < 100 && (said = p.FirstError()).find("without sound") == std::string::npos; ++wait)
        SleepMs(10);
    if (said.find("without sound") == std::string::npos)
        Note(s, std::string("WARNING: ") + which + " did not report running without sound (it said: \"" + said +
                    "\"), so its \"no sound device\" figures had one");
}

// ------------------------------------------------------------- start-up

void StartUp(Setup& s) {
    Viewer screen(s.display);
    const struct Case {
        const std::string* path;
        const char* what;
        Sound sound;
        const char* goal;
    } cases[] = {
        {&s.gamePath, "game: exec to the first title frame, no sound device", Sound::Silent, "at most 60 ms, every run"},
        {&s.gamePath, "game: exec to the first title frame, with a sound device", Sound::Device,
         "at most 80 ms, every run"},
        {&s.manualPath, "manual: exec to its menu, no sound device", Sound::Silent, ""},
        {&s.manualPath, "manual: exec to its menu, with a sound device", Sound::Device, "at most 80 ms, every run"},
    };
    std::vector<uint32_t> before;
    for (const Case& c : cases) {
        Row row{c.what, {}, "ms", c.goal, 1};
        Row black{std::string(c.what) + ": until its window was mapped (black)", {}, "ms", "", 1};
        for (int run = 0; run < s.runs; ++run) {
            screen.Grab(before);
            screen.WatchMaps();
            Program p;
            const auto start = Clock::now();
            if (!p.Start(*c.path, s.display, c.sound)) break;
            double mapped;
            const double ms = UntilFirstPicture(screen, before, start, 0, &mapped);
            CheckSilent(s, p, c.sound, fs::path(*c.path).filename().c_str());
            p.Stop();
            SleepMs(100);  // let the X server forget the window
            if (ms < 0) {
                Note(s, std::string(c.what) + ": nothing showed within 10 s in a run");
                continue;
            }
            row.samples.push_back(ms);
            if (mapped >= 0) black.samples.push_back(mapped);
        }
        Progress("  %s: %zu runs\n", c.what, row.samples.size());
        s.rows.push_back(row);
        s.rows.push_back(black);
    }
}

// -------------------------------------------------------------- the keys

// Waits for the battle: the selection box on the middle character.
bool UntilBattle(Viewer& screen, Program& p) {
    const auto start = Clock::now();
    while (screen.Pixel(CursorX(3), kCursorY) != kCursorColour) {
        if (Ms(Clock::now() - start) > 15000 || !p.Alive()) return false;
        SleepMs(5);
    }
    return true;
}

// Right and Left in turn move the selection box between two characters; each
// key is timed until the new box's top edge reads back in its colour. The
// battle's first attack comes after about 11 s, so the keys meet none.
void Keys(Setup& s) {
    Viewer screen(s.display);
    std::mt19937 random(12345);
    for (Sound sound : {Sound::Silent, Sound::Device}) {
        Row mean{std::string("game: key to changed pixel in the battle, mean of ") + std::to_string(s.keys) + ", " +
                     SoundName(sound),
                 {}, "ms", "at most 0.5 ms", 2};
        Row worst{std::string("game: key to changed pixel in the battle, max of ") + std::to_string(s.keys) + ", " +
                      SoundName(sound),
                  {}, "ms", "at most 2 ms", 2};
        for (int run = 0; run < s.runs; ++run) {
            Program p;
            if (!p.Start(s.gamePath, s.display, sound)) break;
            if (!UntilBattle(screen, p)) {
                Note(s, "keys: the battle did not show within 15 s in a run");
                continue;
            }
            CheckSilent(s, p, sound, "tobble7");
            screen.Focus();
            SleepMs(200);
            std::vector<double> times;
            for (int k = 0; k < s.keys; ++k) {
                const int to = k % 2 == 0 ? 4 : 3;
                if (screen.Pixel(CursorX(to), kCursorY) == kCursorColour) break;  // not where it should be
                const auto t0 = Clock::now();
                screen.Key(k % 2 == 0 ? XK_Right : XK_Left);
                if (!screen.WaitPixel(CursorX(to), kCursorY, kCursorColour, 2000)) break;
                times.push_back(Ms(Clock::now() - t0));
                SleepMs(std::uniform_real_distribution<double>(20, 60)(random));  // meet the frames at any phase
            }
            p.Stop();
            if (static_cast<int>(times.size()) != s.keys) {
                Note(s, "keys: a run lost track of the selection and was left out");
                continue;
            }
            double sum = 0;
            for (double t : times) sum += t;
            mean.samples.push_back(sum / times.size());
            worst.samples.push_back(*std::max_element(times.begin(), times.end()));
        }
        Progress("  keys, %s: %zu runs\n", SoundName(sound), mean.samples.size());
        s.rows.push_back(mean);
        s.rows.push_back(worst);
    }
}

// ------------------------------------------------------------ CPU, memory

struct CpuFigure {
    double cpuPercent = -1, peakMb = -1;
    double stillPercent = -1;  // the epilogue's opening: its 2 s wait alone
};

// A program folder for the epilogue: the manual beside the music and sound
// effects, with the clear file a won game writes.
std::string EpilogueFolder(const Setup& s) {
    char name[] = "/tmp/bench-epilogue-XXXXXX";
    if (!mkdtemp(name)) return "";
    const fs::path folder(name), bin = fs::path(s.manualPath).parent_path();
    std::error_code ec;
    fs::copy_file(s.manualPath, folder / fs::path(s.manualPath).filename(), ec);
    fs::create_directory_symlink(fs::absolute(bin / "bg"), folder / "bg", ec);
    fs::create_directory(folder / "se", ec);
    for (const auto& e : fs::directory_iterator(bin / "se", ec))
        if (e.path().extension() == ".wav") fs::create_symlink(fs::absolute(e.path()), folder / "se" / e.path().filename(), ec);
    std::ofstream(folder / "se" / "da.txt", std::ios::binary) << "KOLTEV\r\n";
    return folder.string();
}

enum class Stretch { Battle, ManualMenu, EpilogueOpening };

CpuFigure MeasureCpu(const Setup& s, Stretch what, Sound sound, const std::string& display,
                     const std::string& epilogueFolder, std::string& problem) {
    CpuFigure fig;
    Viewer screen(display);
    if (!screen.ok()) {
        std::error_code ec;
        problem = "cannot open display " + display +
                  (fs::exists("/tmp/.X11-unix/X" + display.substr(1), ec) ? "" : " (its socket is gone)");
        return fig;
    }
    Program p;
    const std::string path = what == Stretch::Battle ? s.gamePath
                             : what == Stretch::ManualMenu
                                 ? s.manualPath
                                 : (fs::path(epilogueFolder) / fs::path(s.manualPath).filename()).string();
    std::vector<uint32_t> black(kWindowW * kWindowH, 0);
    const auto start = Clock::now();
    if (!p.Start(path, display, sound)) {
        problem = "cannot start " + path;
        return fig;
    }
    if (what == Stretch::Battle) {
        if (!UntilBattle(screen, p)) {
            problem = "the battle did not show";
            return fig;
        }
        SleepMs(200);
    } else {
        if (UntilFirstPicture(screen, black, start, 5) < 0) {
            problem = "the manual's menu did not show";
            return fig;
        }
        SleepMs(500);
    }
    if (what == Stretch::EpilogueOpening) {
        // Down to the epilogue, then Right starts its show, whose opening
        // (blinds, the word faded in and out) is 5.2 s of waits.
        screen.Focus();
        for (int k = 0; k < 16; ++k) {
            screen.Key(XK_Down);
            SleepMs(30);
        }
        SleepMs(500);
        screen.Key(XK_Right);
        const auto shown = Clock::now();
        SleepMs(200);
        // The word stands still from about 2.42 s to 4.42 s after the key.
        const auto at = [&](double ms) { SleepMs(ms - Ms(Clock::now() - shown)); };
        const double c0 = p.Cpu();
        const auto w0 = Clock::now();
        at(2600);
        const auto s0 = Clock::now();
        const double still0 = p.Cpu();
        at(4300);
        const double still1 = p.Cpu();
        const double stillWall = Ms(Clock::now() - s0) / 1000;
        at(5000);
        const double c1 = p.Cpu();
        const double wall = Ms(Clock::now() - w0) / 1000;
        if (!p.Alive()) {
            problem = "the program ended early";
            return fig;
        }
        // The blinds have left the page black by now; the menu's tiles are not.
        if (screen.Pixel(100, 300) != 0) {
            problem = "the epilogue's show did not start";
            return fig;
        }
        fig.cpuPercent = 100 * (c1 - c0) / wall;
        fig.stillPercent = 100 * (still1 - still0) / stillWall;
        return fig;
    }
    const double c0 = p.Cpu();
    const auto w0 = Clock::now();
    SleepMs(s.cpuSeconds * 1000);
    const double c1 = p.Cpu();
    const double wall = Ms(Clock::now() - w0) / 1000;
    if (!p.Alive()) {
        problem = "the program ended early";
        return fig;
    }
    fig.cpuPercent = 100 * (c1 - c0) / wall;
    fig.peakMb = p.PeakMb();
    return fig;
}

void CpuAndMemory(Setup& s) {
    struct Job {
        Stretch what;
        Sound sound;
        CpuFigure fig;
        std::string problem;
    };
    std::vector<Job> jobs;
    for (int run = 0; run < s.runs; ++run) {
        jobs.push_back({Stretch::Battle, Sound::Silent, {}, ""});
        jobs.push_back({Stretch::Battle, Sound::Device, {}, ""});
        jobs.push_back({Stretch::ManualMenu, Sound::Device, {}, ""});
        jobs.push_back({Stretch::EpilogueOpening, Sound::Silent, {}, ""});
    }
    const std::string epilogue = EpilogueFolder(s);
    // As many programs at once as there are displays; each waits mostly.
    std::atomic<size_t> next{0};
    std::vector<std::thread> workers;
    for (const std::string& display : s.cpuDisplays) {
        workers.emplace_back([&, display] {
            for (size_t j; (j = next++) < jobs.size();)
                jobs[j].fig = MeasureCpu(s, jobs[j].what, jobs[j].sound, display, epilogue, jobs[j].problem);
        });
    }
    for (auto& w : workers) w.join();
    std::error_code ec;
    if (!epilogue.empty()) fs::remove_all(epilogue, ec);

    char over[64];
    std::snprintf(over, sizeof over, "over %.0f s", s.cpuSeconds);
    const struct {
        Stretch what;
        Sound sound;
        std::string figure, goal;
    } rows[] = {
        {Stretch::Battle, Sound::Silent, std::string("game: battle CPU (frames, attacks, all), no sound device, ") + over,
         "at most 0.25 %"},
        {Stretch::Battle, Sound::Device, std::string("game: battle CPU, with a sound device, ") + over, ""},
        {Stretch::ManualMenu, Sound::Device, std::string("manual: its menu with its music rendered, ") + over,
         "at most 1.5 %"},
        {Stretch::EpilogueOpening, Sound::Silent,
         "manual: CPU during an animation (the epilogue's opening: blinds, fades and waits, 4.8 s), no sound "
         "device",
         ""},
    };
    for (const auto& r : rows) {
        Row row{r.figure, {}, "% of a core", r.goal, 2};
        for (const Job& j : jobs) {
            if (j.what != r.what || j.sound != r.sound) continue;
            if (!j.problem.empty()) Note(s, r.figure + ": a run was left out: " + j.problem);
            else row.samples.push_back(j.fig.cpuPercent);
        }
        s.rows.push_back(row);
    }
    Row still{"manual: CPU during a wait alone (the 2 s the epilogue's word stands, 1.7 s of it), no sound device",
              {}, "% of a core", "at most 1 %", 2};
    for (const Job& j : jobs)
        if (j.what == Stretch::EpilogueOpening && j.problem.empty()) still.samples.push_back(j.fig.stillPercent);
    s.rows.push_back(still);
    const struct {
        Stretch what;
        Sound sound;
        const char* figure;
    } memory[] = {
        {Stretch::Battle, Sound::Silent, "game: peak memory (VmHWM) after the battle stretch, no sound device"},
        {Stretch::Battle, Sound::Device, "game: peak memory after the battle stretch, with a sound device"},
        {Stretch::ManualMenu, Sound::Device, "manual: peak memory after its menu with music"},
    };
    for (const auto& m : memory) {
        Row row{m.figure, {}, "MB", "at most 64 MB", 1};
        for (const Job& j : jobs)
            if (j.what == m.what && j.sound == m.sound && j.problem.empty()) row.samples.push_back(j.fig.peakMb);
        s.rows.push_back(row);
    }
    Progress("  CPU and memory: %zu programs measured\n", jobs.size());
}

// ------------------------------------------------------------- the table

std::string Machine() {
    std::string model = "?";
    std::ifstream cpu("/proc/cpuinfo");
    for (std::string line; std::getline(cpu, line);)
        if (line.rfind("model name", 0) == 0) {
            model = line.substr(line.find(':') + 2);
            break;
        }
    double memGb = 0;
    std::ifstream mem("/proc/meminfo");
    for (std::string line; std::getline(mem, line);)
        if (line.rfind("MemTotal:", 0) == 0) memGb = std::atof(line.c_str() + 9) / 1024 / 1024;
    std::string os = "?";
    std::ifstream release("/etc/os-release");
    for (std::string line; std::getline(release, line);)
        if (line.rfind("PRETTY_NAME=", 0) == 0) {
            os = line.substr(12);
            os.erase(std::remove(os.begin(), os.end(), '"'), os.end());
        }
    char text[256];
    std::snprintf(text, sizeof text, "%ld cores (%s), %.0f GB, %s", sysconf(_SC_NPROCESSORS_ONLN), model.c_str(),
                  memGb, os.c_str());
    return text;
}

void Usage() {
    std::fprintf(stderr,
                 "usage: bench [--runs N] [--only startup,keys,cpu,headless] [--keys N] [--seconds S]\n"
                 "  Measures build/bin/tobble7 and build/bin/説明書 from outside on a virtual display (its own\n"
                 "  Xvfb unless DISPLAY is set), then the in-process headless figures. Prints a Markdown table.\n"
                 "  --runs N     runs of each figure (10)\n"
                 "  --only LIST  only these groups: startup, keys, cpu (CPU and peak memory), headless\n"
                 "  --keys N     keys per run in the battle (60)\n"
                 "  --seconds S  length of the battle and menu CPU stretches (20)\n");
}

}  // namespace

void PrintTable(const std::string& heading, const std::vector<Row>& rows) {
    std::printf("\n%s\n\n| figure | min | median | max | goal |\n|---|---|---|---|---|\n", heading.c_str());
    for (const Row& r : rows) {
        std::vector<double> v = r.samples;
        std::sort(v.begin(), v.end());
        std::string cells[3] = {"-", "-", "-"};
        if (!v.empty()) {
            const double median = v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
            const double values[3] = {v.front(), median, v.back()};
            for (int i = 0; i < 3; ++i) {
                char cell[48];
                std::snprintf(cell, sizeof cell, "%.*f %s", r.decimals, values[i], r.unit.c_str());
                cells[i] = cell;
            }
        }
        std::printf("| %s (n=%zu) | %s | %s | %s | %s |\n", r.figure.c_str(), v.size(), cells[0].c_str(),
                    cells[1].c_str(), cells[2].c_str(), r.goal.c_str());
    }
    std::fflush(stdout);
}

}  // namespace bench

int main(int argc, char** argv) {
    using namespace bench;
    Setup s;
    std::string only = "startup,keys,cpu,headless";
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const bool hasValue = i + 1 < argc;
        if (a == "--runs" && hasValue) s.runs = std::max(1, std::atoi(argv[++i]));
        else if (a == "--only" && hasValue) only = argv[++i];
        else if (a == "--keys" && hasValue) s.keys = std::max(2, std::atoi(argv[++i]));
        else if (a == "--seconds" && hasValue) s.cpuSeconds = std::max(1.0, std::atof(argv[++i]));
        else {
            Usage();
            return a == "--help" || a == "-h" ? 0 : 2;
        }
    }
    const auto wants = [&](const char* group) { return ("," + only + ",").find(std::string(",") + group + ",") != std::string::npos; };
    XInitThreads();
    // A request on a window that has just gone (a program stopped) is no reason to end.
    XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    signal(SIGPIPE, SIG_IGN);

    // The programs: build/bin beside this tool.
    char self[4096];
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    const fs::path bin = fs::path(std::string(self, n > 0 ? n : 0)).parent_path() / "bin";
    s.gamePath = (bin / "tobble7").string();
    s.manualPath = (bin / "説明書").string();
    const bool outside = wants("startup") || wants("keys") || wants("cpu");
    if (outside && (access(s.gamePath.c_str(), X_OK) != 0 || access(s.manualPath.c_str(), X_OK) != 0)) {
        std::fprintf(stderr, "bench: the programs are not in %s; build them first\n", bin.c_str());
        return 1;
    }

    const auto began = Clock::now();
    std::vector<VirtualDisplay> displays;
    const char* given = std::getenv("DISPLAY");
    std::string where;
    if (outside) {
        if (given && *given) {
            // On a display of one's own choosing, one program at a time.
            s.display = given;
            s.cpuDisplays = {given};
            where = std::string("the given display ") + given;
        } else {
            // One display for the timed runs, and one for each program whose
            // CPU is measured at the same time.
            const size_t cpuAtOnce = wants("cpu") ? std::min<size_t>(20, 4 * s.runs) : 0;
            for (size_t k = 0; k < 1 + cpuAtOnce; ++k) {
                displays.emplace_back();
                if (!displays.back().Start()) {
                    std::fprintf(stderr, "bench: the virtual display (Xvfb) could not be started\n");
                    for (auto& d : displays) d.Stop();
                    return 1;
                }
            }
            s.display = displays[0].name;
            for (size_t k = 1; k < displays.size(); ++k) s.cpuDisplays.push_back(displays[k].name);
            where = "Xvfb 1024x768x24 of its own";
        }
    }

    std::printf("# build/bench\n\nmachine: %s; %s; runs of each figure: %d\n", Machine().c_str(),
                outside ? where.c_str() : "no display", s.runs);
    if (outside) {
        if (wants("startup")) {
            Progress("bench: start-up...\n");
            StartUp(s);
        }
        if (wants("keys")) {
            Progress("bench: keys...\n");
            Keys(s);
        }
        if (wants("cpu")) {
            Progress("bench: CPU and memory, %zu programs at a time, about %.0f s...\n", s.cpuDisplays.size(),
                     (s.cpuSeconds + 4) * ((4 * s.runs + s.cpuDisplays.size() - 1) / s.cpuDisplays.size()));
            CpuAndMemory(s);
        }
        for (auto& d : displays) d.Stop();
        PrintTable("## The real programs, measured from outside", s.rows);
        for (const std::string& note : s.notes) std::printf("\n- %s\n", note.c_str());
    }
    if (wants("headless")) {
        Progress("bench: headless figures...\n");
        PrintTable("## Headless (in-process, no window; the virtual clock where the game runs)", HeadlessFigures(s.runs));
    }
    std::printf("\nbench took %.0f s\n", Ms(Clock::now() - began) / 1000);
    return 0;
}
