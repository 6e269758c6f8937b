// The real window on SDL: borderless, 800x600, centred, black.
#include <SDL.h>
#include <SDL_image.h>
#include <SDL_syswm.h>
#include <poll.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "host.h"
#include "quiet.h"
#include "sdl_ptr.h"
#include "text.h"

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

class WindowHost : public Host {
public:
    WindowHost(SDL_Window* w, AudioDevice audio)
        : window_(w), audio_(std::move(audio)), mci_(std::move(audio_.music), &log_) {
        log_.keep = 64;  // nobody reads a real run's log; the tail helps when debugging
        // Inside a wait, present no more often than the display refreshes.
        SDL_DisplayMode mode;
        if (SDL_GetCurrentDisplayMode(SDL_GetWindowDisplayIndex(w), &mode) == 0 && mode.refresh_rate > 0)
            frameMs_ = static_cast<uint32_t>(1000 / mode.refresh_rate);
        SDL_SysWMinfo info;
        SDL_VERSION(&info.version);
        if (SDL_GetWindowWMInfo(w, &info) && info.subsystem == SDL_SYSWM_X11) x11_ = info.info.x11.display;
    }
    ~WindowHost() override {
        audio_.sound.reset();
        CloseAudioDevice();
        SDL_DestroyWindow(window_);
        SDL_Quit();
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
        if (TicksAtOrAfter(now, until)) return;
        // Nothing draws while a wait lasts: sleep to the wait's end, or to the
        // next frame when there is something left to show, waking for input.
        const uint32_t frameAt = lastPresent_ + frameMs_;
        const bool frame = Pending(v) && !TicksAtOrAfter(now, frameAt) && !TicksAtOrAfter(frameAt, until);
        int32_t timeout = static_cast<int32_t>((frame ? frameAt : until) - now);
        // A sleep in whole ms may end most of a ms late on the tick count, so
        // the wait's last ms passes in short naps: the wait returns close to
        // its first reading past its length, as when it napped 1 ms at a time.
        if (!frame) --timeout;
        if (timeout <= 0) {
            std::this_thread::sleep_for(std::chrono::microseconds(200));
            return;
        }
        WaitInput(timeout, queue);
    }

    void Poll(std::deque<InputEvent>& queue) override {
        // Right after a wait, input has just been looked for.
        if (justWaited_) {
            justWaited_ = false;
            return;
        }
        if (!x11_ || XPending(x11_) > 0 || PumpDue()) Pump(queue);
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
    SoundPlayer& Sound() override { return *audio_.sound; }
    AudioLog& Log() override { return log_; }

private:
    // Copies a rectangle of the layer to its place on the window surface and
    // returns the part of the window to update. With `changedOnly`, the
    // window surface, which holds what was shown last, is compared first and
    // only the rows and columns that differ are copied: handlers often draw
    // the same pixels again.
    static SDL_Rect Copy(const Surface& v, const Rect& r, SDL_Surface* screen, bool changedOnly) {
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
                return std::memcmp(src(y) + a, dst(y) + a, static_cast<size_t>(b - a) * 4) == 0;
            };
            while (y0 < y1 && same(y0, x0, x1)) ++y0;
            while (y1 > y0 && same(y1 - 1, x0, x1)) --y1;
            if (y0 == y1) return {0, 0, 0, 0};
            // Each row is compared only outside the columns found so far.
            int left = x1, right = x0;
            for (int y = y0; y < y1; ++y) {
                const uint32_t *s = src(y), *d = dst(y);
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

    // Whether the window shows less than the layer holds.
    bool Pending(const Surface& v) const {
        return whole_ || v.IsDirty() || v.Left != left_ || v.Top != top_;
    }

    // Sleeps until input may have come or `timeout` ms have passed (-1: no
    // limit), then queues what came.
    void WaitInput(int timeout, std::deque<InputEvent>& queue) {
        if (!x11_) {
            SDL_Event e;
            if (SDL_WaitEventTimeout(&e, timeout)) {
                Take(e, queue);
                Pump(queue);
            }
            return;
        }
        // On X, SDL's own wait looks for events several times over, each look
        // a handful of system calls, on every timer tick. Here the display's
        // connection is watched directly and SDL is asked only once something
        // has come: XPending sends what is buffered and takes in what has
        // arrived, so nothing waits unseen in the library while this sleeps.
        if (XPending(x11_) == 0) {
            // SDL also does things on its own time when asked for events (the
            // screen saver, focus changes, a signal to quit): while timers
            // run it is asked at least every kPumpMs. With none running, the
            // sleep lasts until input comes, as SDL's own wait does.
            const int32_t untilPump = static_cast<int32_t>(lastPump_ + kPumpMs - SDL_GetTicks());
            if (timeout < 0 || untilPump > 0) {
                pollfd p = {ConnectionNumber(x11_), POLLIN, 0};
                const int limit = timeout < 0 ? -1 : std::min(timeout, static_cast<int>(untilPump));
                // A signal ends the sleep early: SDL then turns it into a quit.
                if (poll(&p, 1, limit) == 0 && limit == timeout) return;
            }
        }
        Pump(queue);
    }

    bool PumpDue() const { return TicksAtOrAfter(SDL_GetTicks(), lastPump_ + kPumpMs); }

    // Asks SDL once for what has come and queues it.
    void Pump(std::deque<InputEvent>& queue) {
        SDL_PumpEvents();
        lastPump_ = SDL_GetTicks();
        SDL_Event e;
        while (SDL_PeepEvents(&e, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0) Take(e, queue);
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
        case SDL_QUIT:
            queue.push_back({InputEvent::Quit, 0, 0, 0});
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
    AudioDevice audio_;
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
    // The display's connection when the window is on X, else null.
    Display* x11_ = nullptr;
    static constexpr uint32_t kPumpMs = 250;
    uint32_t lastPump_ = 0;
};

}  // namespace

std::unique_ptr<Host> OpenWindowHost(const char* name, const unsigned char* iconPng, size_t iconSize) {
    SetProgramName(name);
    SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
    // Draw through the window system's own framebuffer: no GL context, and the
    // window is not recreated when its surface is first asked for.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    int videoFailed;
    {
        QuietStderr quiet;
        videoFailed = SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
    }
    if (videoFailed != 0) {
        std::fprintf(stderr, "%s: cannot open a window (is a display available?): %s\n", name, SDL_GetError());
        return nullptr;
    }
    // Without a display SDL falls back to drivers that show nothing; a window
    // nobody can see is no window, unless one of them was asked for by name.
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0) &&
        !SDL_getenv("SDL_VIDEODRIVER")) {
        std::fprintf(stderr, "%s: cannot open a window: no display (set DISPLAY or run under a desktop)\n", name);
        SDL_Quit();
        return nullptr;
    }
    SDL_Window* w = SDL_CreateWindow("Form1", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, kWindowW, kWindowH,
                                     SDL_WINDOW_BORDERLESS | SDL_WINDOW_SKIP_TASKBAR | SDL_WINDOW_HIDDEN);
    if (!w) {
        std::fprintf(stderr, "%s: cannot open a window: %s\n", name, SDL_GetError());
        SDL_Quit();
        return nullptr;
    }
    if (iconPng && iconSize) {
        const SdlSurfacePtr icon(IMG_Load_RW(SDL_RWFromConstMem(iconPng, static_cast<int>(iconSize)), 1));
        if (icon) SDL_SetWindowIcon(w, icon.get());
    }
    return std::unique_ptr<Host>(new WindowHost(w, OpenAudioDevice()));
}

}  // namespace plat
