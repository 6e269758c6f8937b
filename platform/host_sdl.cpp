// The real window on SDL: borderless, 800x600, centred, black.
#include <SDL.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "host.h"
#include "pictures.h"
#include "program_name.h"
#include "quiet.h"
#include "quit.h"
#include "sdl_ptr.h"
#include "text.h"
#include "x11.h"

namespace plat {
namespace {

constexpr int kWindowW = 800, kWindowH = 600;

int VirtualKey(const SDL_Keysym& k) {
    switch (k.sym) {
    case SDLK_RETURN: case SDLK_KP_ENTER: return VK_RETURN;
    case SDLK_ESCAPE: return VK_ESCAPE;
    case SDLK_SPACE: return VK_SPACE;
    case SDLK_LEFT: return VK_LEFT;
    case SDLK_UP: return VK_UP;
    case SDLK_RIGHT: return VK_RIGHT;
    case SDLK_DOWN: return VK_DOWN;
    default: break;
    }
    if (k.sym >= SDLK_a && k.sym <= SDLK_z) return 'A' + (k.sym - SDLK_a);
    if (k.sym >= SDLK_0 && k.sym <= SDLK_9) return '0' + (k.sym - SDLK_0);
    return 0;
}

// Rows are compared a block at a time, then pixel by pixel inside the block
// that differs.
constexpr int kCompareBlock = 16;

// The first column in [a, b) where the two rows differ, or b.
int FirstDiff(const uint32_t* s, const uint32_t* d, int a, int b) {
    while (b - a >= kCompareBlock && std::memcmp(s + a, d + a, kCompareBlock * 4) == 0) a += kCompareBlock;
    while (a < b && s[a] == d[a]) ++a;
    return a;
}

// One past the last column in [a, b) where the two rows differ, or a.
int LastDiff(const uint32_t* s, const uint32_t* d, int a, int b) {
    while (b - a >= kCompareBlock && std::memcmp(s + b - kCompareBlock, d + b - kCompareBlock, kCompareBlock * 4) == 0)
        b -= kCompareBlock;
    while (b > a && s[b - 1] == d[b - 1]) --b;
    return b;
}

class WindowHost;
// The one window whose display is watched for its loss (DisplayLost).
WindowHost* g_window = nullptr;

class WindowHost : public Host {
public:
    WindowHost(SDL_Window* w, bool blackWindow)
        : window_(w), x11_(w), audio_([] { return OpenAudio(); }),
          sound_(audio_.TakeSound()),
          mci_(audio_.TakeMusic(), &log_) {
        g_window = this;
        blackWindow_ = blackWindow;
        log_.keep = 64;  // nobody reads a real run's log; the tail helps when debugging
        // Inside a wait, present no more often than the display refreshes.
        SDL_DisplayMode mode;
        if (SDL_GetCurrentDisplayMode(SDL_GetWindowDisplayIndex(w), &mode) == 0 && mode.refresh_rate > 0)
            frameMs_ = static_cast<uint32_t>(1000 / mode.refresh_rate);
    }
    ~WindowHost() override {
        g_window = nullptr;
        sound_.reset();
        audio_.Release();
        CloseAudioDevice();  // joins the synth's maker before the device goes
        FinishPreparingText();
        SDL_DestroyWindow(window_);
        SDL_Quit();
    }

    // The display is gone and the process ends where it stands: the threads
    // started beside the program are waited for, with nothing torn down.
    void FinishThreads() {
        FinishPreparingText();
        FinishAudioThreads();
    }

    uint32_t Ticks() override { return SDL_GetTicks(); }

    void Show(const Surface& v) override {
        SDL_ShowWindow(window_);
        SDL_RaiseWindow(window_);
        // Nothing is presented yet: the first present carries what the first
        // handler drew, rather than a black frame a moment before it.
        shown_ = &v;
        whole_ = true;
        lastPresent_ = SDL_GetTicks() - frameMs_;
    }

    void Present(const Surface& v) override {
        justWaited_ = false;
        SDL_Surface* screen = SDL_GetWindowSurface(window_);
        if (!screen) return;
        // The margins are drawn again only when the layer has moved or the
        // window surface is new or was uncovered; otherwise only what was drawn.
        const bool whole = whole_ || screen != screen_ || &v != shown_ || v.Left != left_ || v.Top != top_ ||
                           v.Width() != width_ || v.Height() != height_;
        const std::vector<Rect> dirty = v.TakeDirty();
        shown_ = &v;
        if (!whole && dirty.empty()) return;
        if (whole && !screen_ && blackWindow_) {
            // The first frame: the window system has just painted the new
            // window black, so only what is not black has to travel now. The
            // whole window follows at the next present, as after an uncovering.
            // It brings the first title frame about 3 ms sooner (27 ms against
            // 30, medians of 60 runs each, build/bench back to back).
            SDL_Rect at = Copy(v, {0, 0, v.Width(), v.Height()}, screen, true, true);
            if (at.w > 0 && at.h > 0) SDL_UpdateWindowSurfaceRects(window_, &at, 1);
            screen_ = screen;
            presented_ = true;
            lastPresent_ = SDL_GetTicks();
            return;
        }
        if (whole) {
            SDL_FillRect(screen, nullptr, SDL_MapRGB(screen->format, 0, 0, 0));
            Copy(v, {0, 0, v.Width(), v.Height()}, screen, false);
            SDL_UpdateWindowSurface(window_);
        } else {
            std::vector<SDL_Rect> shown;
            for (const Rect& d : dirty) {
                const SDL_Rect at = Copy(v, d, screen, true);
                if (at.w > 0 && at.h > 0) shown.push_back(at);
            }
            if (shown.empty()) return;  // drawn over with the same pixels
            SDL_UpdateWindowSurfaceRects(window_, shown.data(), static_cast<int>(shown.size()));
        }
        screen_ = screen;
        left_ = v.Left, top_ = v.Top, width_ = v.Width(), height_ = v.Height();
        whole_ = false;
        presented_ = true;
        lastPresent_ = SDL_GetTicks();
    }

    void Nap(const Surface& v, std::deque<InputEvent>& queue, uint32_t until) override {
        // Input is taken while sleeping below; the short naps of a wait's last
        // ms leave it to the loop, which takes it once the handler returns.
        uint32_t now = SDL_GetTicks();
        if (Pending(v) && TicksAtOrAfter(now, lastPresent_ + frameMs_)) {
            Present(v);
            now = SDL_GetTicks();
        }
        if (TicksAtOrAfter(now, until) || quitQueued_) return;
        if (OpenAudioWhileIdle(static_cast<int32_t>(until - now), queue)) return;
        const bool musicWaits = audio_.Settle();
        // Nothing draws while a wait lasts: sleep to the wait's end, or to the
        // next frame when there is something left to show, waking for input.
        const uint32_t frameAt = lastPresent_ + frameMs_;
        const bool frame = Pending(v) && !TicksAtOrAfter(now, frameAt) && !TicksAtOrAfter(frameAt, until);
        int32_t timeout = static_cast<int32_t>((frame ? frameAt : until) - now);
        if (musicWaits) timeout = std::min(timeout, static_cast<int32_t>(frameMs_));  // look again soon
        // A sleep in whole ms may end most of a ms late on the tick count, so
        // the wait's last ms passes in short naps: the wait returns close to
        // its first reading past its length, as when it napped 1 ms at a time.
        if (!frame) --timeout;
        if (timeout <= 0) {
            std::this_thread::sleep_for(std::chrono::microseconds(200));
            return;
        }
        WaitInput(timeout, queue);
        // A sleep for a frame shows it once it is due, even when the sleep ran
        // past the wait's end: the wait may return now, and its last frame
        // would otherwise wait for whatever comes next.
        if (frame && Pending(v) && TicksAtOrAfter(SDL_GetTicks(), frameAt)) Present(v);
    }

    void Poll(std::deque<InputEvent>& queue) override {
        // Right after a wait, input has just been looked for.
        if (justWaited_) {
            justWaited_ = false;
            return;
        }
        Pump(queue);
    }

    bool Wait(uint32_t until, bool hasDue, std::deque<InputEvent>& queue) override {
        int timeout = -1;
        if (hasDue) {
            const int32_t left = static_cast<int32_t>(until - SDL_GetTicks());
            if (left <= 0) return true;
            timeout = left;
        }
        // An uncovered window is shown again before sleeping, unless a timer
        // is due within a frame: its handler's present carries it then.
        if (whole_ && shown_ && (!hasDue || timeout > static_cast<int>(frameMs_))) {
            Present(*shown_);
            if (!whole_) return true;
        }
        if (OpenAudioWhileIdle(timeout, queue)) return true;
        // Music commands waiting for the synth: look again within a frame.
        if (audio_.Settle() && (timeout < 0 || timeout > static_cast<int>(frameMs_)))
            timeout = static_cast<int>(frameMs_);
        WaitInput(timeout, queue);
        justWaited_ = true;
        return true;
    }

    std::string ProgramFolder() override {
        char* base = SDL_GetBasePath();
        if (!base) return ".";
        std::string p(base);
        SDL_free(base);
        while (p.size() > 1 && p.back() == '/') p.pop_back();
        return p.empty() ? "." : p;
    }

    Mci& Music() override { return mci_; }
    SoundPlayer& Sound() override { return *sound_; }
    AudioLog& Log() override { return log_; }

private:
    // Copies a rectangle of the layer to its place on the window surface and
    // returns the part of the window to update. With `changedOnly`, the
    // window surface, which holds what was shown last, is compared first and
    // only the rows and columns that differ are copied: handlers often draw
    // the same pixels again. With `shownBlack` as well, the window is known to
    // show black there, and the surface is not read.
    static SDL_Rect Copy(const Surface& v, const Rect& r, SDL_Surface* screen, bool changedOnly,
                         bool shownBlack = false) {
        // Clip to the window.
        int x0 = v.Left + r.x, y0 = v.Top + r.y, x1 = x0 + r.w, y1 = y0 + r.h;
        x0 = std::max(x0, 0), y0 = std::max(y0, 0);
        x1 = std::min(x1, screen->w), y1 = std::min(y1, screen->h);
        if (x0 >= x1 || y0 >= y1) return {0, 0, 0, 0};
        if (screen->format->format != SDL_PIXELFORMAT_RGB888 || SDL_MUSTLOCK(screen)) {
            // Any other window format: let SDL convert.
            const SdlSurfacePtr layer(SDL_CreateRGBSurfaceWithFormatFrom(
                const_cast<uint32_t*>(v.Pixels().data()), v.Width(), v.Height(), 32, v.Width() * 4,
                SDL_PIXELFORMAT_RGB888));
            SDL_Rect from = {x0 - v.Left, y0 - v.Top, x1 - x0, y1 - y0};
            SDL_Rect at = {x0, y0, x1 - x0, y1 - y0};
            if (layer) SDL_BlitSurface(layer.get(), &from, screen, &at);
            return at;
        }
        const auto src = [&](int y) { return v.Pixels().data() + static_cast<size_t>(y - v.Top) * v.Width() - v.Left; };
        const auto dst = [&](int y) {
            return reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(screen->pixels) + static_cast<size_t>(y) * screen->pitch);
        };
        if (changedOnly) {
            const auto same = [&](int y, int a, int b) {
                if (shownBlack) return std::all_of(src(y) + a, src(y) + b, [](uint32_t p) { return p == 0; });
                return std::memcmp(src(y) + a, dst(y) + a, static_cast<size_t>(b - a) * 4) == 0;
            };
            // What the window shows where it is known to be black.
            const std::vector<uint32_t> black(shownBlack ? static_cast<size_t>(x1) : 0, 0u);
            while (y0 < y1 && same(y0, x0, x1)) ++y0;
            while (y1 > y0 && same(y1 - 1, x0, x1)) --y1;
            if (y0 == y1) return {0, 0, 0, 0};
            // Each row is compared only outside the columns found so far.
            int left = x1, right = x0;
            for (int y = y0; y < y1; ++y) {
                const uint32_t* s = src(y);
                const uint32_t* d = shownBlack ? black.data() : dst(y);
                const int a = FirstDiff(s, d, x0, left);
                const int b = LastDiff(s, d, std::max(right, a), x1);
                left = std::min(left, a);
                right = std::max(right, b);
            }
            x0 = left, x1 = right;
        }
        for (int y = y0; y < y1; ++y) std::memcpy(dst(y) + x0, src(y) + x0, static_cast<size_t>(x1 - x0) * 4);
        return {x0, y0, x1 - x0, y1 - y0};
    }

    // Opening the sound device takes some milliseconds: it waits until the
    // first frame is shown and the program has that long with nothing to do.
    // (Until then the music commands wait for it; a sound opens it at once.)
    // `idle`: how long until something is due, negative for nothing. A quit
    // that has come meanwhile is taken first: a program that is ending opens
    // no device.
    bool OpenAudioWhileIdle(int32_t idle, std::deque<InputEvent>& queue) {
        constexpr int32_t kOpeningMs = 50;
        if (audio_.Opened() || !presented_ || (idle >= 0 && idle < kOpeningMs)) return false;
        Pump(queue);
        if (!audio_.Opened()) audio_.Open();
        return true;
    }

    // The device, unless a quit has been asked for (by a signal, which may
    // come while a handler runs and opens the device for a sound).
    static AudioDevice OpenAudio() { return QuitRequested() ? SilentAudioDevice() : OpenAudioDevice(); }

    // Queues a quit asked from outside, once: the loop then ends the program
    // as a click would, and every wait until then returns at once.
    void TakeQuit(std::deque<InputEvent>& queue) {
        if (quitQueued_ || !QuitRequested()) return;
        quitQueued_ = true;
        queue.push_back({InputEvent::Quit, 0, 0, 0});
        audio_.Forgo();  // when it is not open yet, it never will be
    }

    // Whether the window shows less than the layer holds.
    bool Pending(const Surface& v) const {
        return whole_ || v.IsDirty() || v.Left != left_ || v.Top != top_;
    }

    // Sleeps until input may have come or `timeout` ms have passed (-1: no
    // limit), then queues what came. A quit asked by a signal ends the sleep:
    // on X the display's connection and the quit's pipe are watched together,
    // so a signal taken by any thread wakes it (SDL's own wait sleeps on
    // through a signal that queues no event of its own).
    void WaitInput(int timeout, std::deque<InputEvent>& queue) {
        if (x11_.Fd() < 0) {
            // Only SDL's queue to wait on: the quit is looked for at least
            // every kQuitLookMs.
            const int limit = timeout < 0 ? kQuitLookMs : std::min(timeout, kQuitLookMs);
            SDL_Event e;
            if (SDL_WaitEventTimeout(&e, limit)) Take(e, queue);
            Pump(queue);
            return;
        }
        if (!x11_.Pending() && !QuitRequested()) {
            pollfd p[2] = {{x11_.Fd(), POLLIN, 0}, {QuitWakeFd(), POLLIN, 0}};
            poll(p, p[1].fd >= 0 ? 2 : 1, timeout);
        }
        Pump(queue);
    }

    // Asks SDL once for what has come and queues it.
    void Pump(std::deque<InputEvent>& queue) {
        SDL_PumpEvents();
        SDL_Event e;
        while (SDL_PeepEvents(&e, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0) Take(e, queue);
        TakeQuit(queue);
    }

    void Take(const SDL_Event& e, std::deque<InputEvent>& queue) {
        switch (e.type) {
        case SDL_KEYDOWN: {
            const int vk = VirtualKey(e.key.keysym);
            if (vk) queue.push_back({InputEvent::Key, vk, 0, 0});
            break;
        }
        case SDL_MOUSEBUTTONDOWN:
            if (e.button.button == SDL_BUTTON_LEFT) queue.push_back({InputEvent::Click, 0, e.button.x, e.button.y});
            break;
        case SDL_QUIT:  // the window system's close
            RequestQuit();
            TakeQuit(queue);
            break;
        case SDL_WINDOWEVENT:
            // The program never redraws by itself; show the last picture again,
            // whole, at the next present (Wait makes one before sleeping).
            if (e.window.event == SDL_WINDOWEVENT_EXPOSED || e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED)
                whole_ = true;
            break;
        default:
            break;
        }
    }

    SDL_Window* window_;
    X11Connection x11_;  // the display's connection, when the window is on X
    DeferredAudio audio_;
    std::unique_ptr<SoundPlayer> sound_;
    AudioLog log_;
    Mci mci_;
    uint32_t lastPresent_ = 0;
    uint32_t frameMs_ = 16;
    const Surface* shown_ = nullptr;
    // What the window surface holds: the layer's place and size at the last
    // present, and whether it must be drawn whole (first show, uncovered).
    SDL_Surface* screen_ = nullptr;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    bool whole_ = true;
    bool justWaited_ = false;
    bool presented_ = false;  // the first frame has been shown
    bool quitQueued_ = false;  // a quit from outside waits in the queue
    bool blackWindow_ = false;  // the window system paints the window black when it is shown
    static constexpr int kQuitLookMs = 100;
};

// The display went away (its server died, the session ended) and Xlib ends
// the process. The threads beside the program are waited for, and it ends
// here with status 1: the exit's teardown of what the program holds would run
// under SDL's own threads, still playing.
[[noreturn]] void DisplayLost(const char* display) {
    std::fprintf(stderr, "%s: the display %s went away\n", ProgramName().c_str(), display);
    if (g_window) g_window->FinishThreads();
    std::fflush(nullptr);
    _exit(1);
}

// Why no window could be opened on the display asked for, in one line.
void NoDisplay(const char* name) {
    const char* x = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    if (x && *x)
        std::fprintf(stderr, "%s: cannot open a window: no display answers at DISPLAY=%s\n", name, x);
    else if (wayland && *wayland)
        std::fprintf(stderr, "%s: cannot open a window: no display answers at WAYLAND_DISPLAY=%s\n", name, wayland);
    else
        std::fprintf(stderr, "%s: cannot open a window: no display (set DISPLAY or run under a desktop)\n", name);
}

}  // namespace

void SetUpProcess() {
    // Spares SDL's video set-up two costs the programs, which take keys and
    // never text, gain nothing from. Each is set only where the user has not
    // chosen. The input method's table of compose sequences for the locale:
    // parsing it takes longer than the rest of the window system's set-up,
    // and it only ever turns key sequences into text.
    setenv("XCOMPOSEFILE", "/dev/null", 0);
    // Without a session bus to reach, the D-Bus library would start one (a
    // fork and an exec) for SDL's desktop services: inhibiting a screensaver
    // and input methods, neither of which a bus started here could serve.
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    struct stat bus;
    if (!std::getenv("DBUS_SESSION_BUS_ADDRESS") &&
        !(runtime && stat((std::string(runtime) + "/bus").c_str(), &bus) == 0 && S_ISSOCK(bus.st_mode)))
        setenv("DBUS_SESSION_BUS_ADDRESS", "disabled:", 0);
    // SIGTERM and SIGINT are the program's own, so that a quit from outside
    // ends the waits at once (quit.h); SDL would only queue a quit.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    CatchQuitSignals();
}

// Start-up, and the threads it runs beside the program. Each has one owner,
// which joins it before anything the thread touches is torn down; none is
// detached. When the display goes away, DisplayLost waits for those still
// running before the process ends.
//
//   thread             touches                          owner: joined
//   picture decoders   the pictures' bytes, the pool    Pictures (main's): at the last take, or
//   (up to 8)                                           its destruction
//   text set-up        the text libraries, the font     the text module: at the first text, or
//                      cache                            FinishPreparingText (~WindowHost)
//   synth maker        FluidSynth, SDL's audio          the sound device: at the first piece, and
//                      device list                      by CloseAudioDevice before the device closes
//   audio quit         SDL's audio subsystem            the sound device: before a reopen, and by
//                                                       CloseAudioDevice (~WindowHost)
std::unique_ptr<Host> OpenWindowHost(const char* name, Pictures* pictures, const char* icon) {
    SetProgramName(name);
    SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
    // Draw through the window system's own framebuffer: no GL context, and the
    // window is not recreated when its surface is first asked for.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    const auto fail = [] { return std::unique_ptr<Host>(); };
    int videoFailed;
    {
        QuietStderr quiet;
        videoFailed = SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
    }
    if (videoFailed != 0) {
        NoDisplay(name);
        return fail();
    }
    // Without a display SDL falls back to drivers that show nothing; a window
    // nobody can see is no window, unless one of them was asked for by name.
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0) &&
        !SDL_getenv("SDL_VIDEODRIVER")) {
        NoDisplay(name);
        SDL_Quit();
        return fail();
    }
    // Loading the text libraries beside SDL's own set-up would only slow it:
    // both load libraries, one at a time.
    PrepareText();
    SDL_Window* w = SDL_CreateWindow("Form1", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, kWindowW, kWindowH,
                                     SDL_WINDOW_BORDERLESS | SDL_WINDOW_SKIP_TASKBAR | SDL_WINDOW_HIDDEN);
    if (!w) {
        std::fprintf(stderr, "%s: cannot open a window: %s\n", name, SDL_GetError());
        FinishPreparingText();
        SDL_Quit();
        return fail();
    }
    WhenDisplayLost(w, DisplayLost);
    if (pictures && icon) {
        const Surface picture = pictures->Take(icon);
        const SdlSurfacePtr image(SDL_CreateRGBSurfaceWithFormatFrom(
            const_cast<uint32_t*>(picture.Pixels().data()), picture.Width(), picture.Height(), 32,
            picture.Width() * 4, SDL_PIXELFORMAT_RGB888));
        if (image && picture.Width() > 0) SDL_SetWindowIcon(w, image.get());
    }
    const bool black = PaintedBlack(w);
    return std::unique_ptr<Host>(new WindowHost(w, black));
}

}  // namespace plat
