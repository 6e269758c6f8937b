// The real window on SDL: borderless, 800x600, centred, black.
#include <SDL.h>
#include <SDL_image.h>

#include <cstdio>
#include <cstring>
#include <string>
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

class WindowHost : public Host {
public:
    WindowHost(SDL_Window* w, AudioDevice audio)
        : window_(w), audio_(std::move(audio)), mci_(std::move(audio_.music), &log_) {
        log_.keep = 64;  // nobody reads a real run's log; the tail helps when debugging
        // Inside a wait, present no more often than the display refreshes.
        SDL_DisplayMode mode;
        if (SDL_GetCurrentDisplayMode(SDL_GetWindowDisplayIndex(w), &mode) == 0 && mode.refresh_rate > 0)
            frameMs_ = static_cast<uint32_t>(1000 / mode.refresh_rate);
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
        SDL_Surface* screen = SDL_GetWindowSurface(window_);
        if (!screen) return;
        // The margins are drawn again only when the layer has moved or the
        // window surface is new or was uncovered; otherwise only what was drawn.
        const bool whole = whole_ || screen != screen_ || &v != shown_ || v.Left != left_ || v.Top != top_ ||
                           v.Width() != width_ || v.Height() != height_;
        const std::vector<Rect> dirty = v.TakeDirty();
        shown_ = &v;
        if (!whole && dirty.empty()) return;
        const SdlSurfacePtr layer(SDL_CreateRGBSurfaceWithFormatFrom(
            const_cast<uint32_t*>(v.Pixels().data()), v.Width(), v.Height(), 32, v.Width() * 4,
            SDL_PIXELFORMAT_RGB888));
        if (!layer) return;
        if (whole) {
            SDL_FillRect(screen, nullptr, SDL_MapRGB(screen->format, 0, 0, 0));
            SDL_Rect at = {v.Left, v.Top, v.Width(), v.Height()};
            SDL_BlitSurface(layer.get(), nullptr, screen, &at);
            SDL_UpdateWindowSurface(window_);
        } else {
            std::vector<SDL_Rect> shown;
            for (const Rect& d : dirty) {
                SDL_Rect from = {d.x, d.y, d.w, d.h};
                SDL_Rect at = {v.Left + d.x, v.Top + d.y, d.w, d.h};
                SDL_BlitSurface(layer.get(), &from, screen, &at);  // clips `at` to the window
                if (at.w > 0 && at.h > 0) shown.push_back(at);
            }
            if (!shown.empty()) SDL_UpdateWindowSurfaceRects(window_, shown.data(), static_cast<int>(shown.size()));
        }
        screen_ = screen;
        left_ = v.Left, top_ = v.Top, width_ = v.Width(), height_ = v.Height();
        whole_ = false;
        lastPresent_ = SDL_GetTicks();
    }

    void Nap(const Surface& v, std::deque<InputEvent>& queue, uint32_t until) override {
        Pump(queue);
        uint32_t now = SDL_GetTicks();
        if (Pending(v) && TicksAtOrAfter(now, lastPresent_ + frameMs_)) {
            Present(v);
            now = SDL_GetTicks();
        }
        if (TicksAtOrAfter(now, until)) return;
        // Nothing draws while a wait lasts: sleep to the wait's end, or to the
        // next frame when there is something left to show, waking for input.
        uint32_t wake = until;
        if (Pending(v) && TicksAtOrAfter(until, lastPresent_ + frameMs_)) wake = lastPresent_ + frameMs_;
        const int32_t timeout = static_cast<int32_t>(wake - now);
        SDL_Event e;
        if (timeout > 0 && SDL_WaitEventTimeout(&e, timeout)) {
            Take(e, queue);
            Pump(queue);
        }
    }

    void Poll(std::deque<InputEvent>& queue) override { Pump(queue); }

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
        SDL_Event e;
        if (SDL_WaitEventTimeout(&e, timeout)) {
            Take(e, queue);
            Pump(queue);
        }
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
    // Whether the window shows less than the layer holds.
    bool Pending(const Surface& v) const {
        return whole_ || v.IsDirty() || v.Left != left_ || v.Top != top_;
    }

    void Pump(std::deque<InputEvent>& queue) {
        SDL_Event e;
        while (SDL_PollEvent(&e)) Take(e, queue);
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
