// The real window on SDL: borderless, 800x600, centred, black.
#include <SDL.h>
#include <SDL_image.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstring>
#include <string>

#include "host.h"
#include "quiet.h"
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
        Present(v);
    }

    void Present(const Surface& v) override {
        SDL_Surface* screen = SDL_GetWindowSurface(window_);
        if (!screen) return;
        SDL_FillRect(screen, nullptr, SDL_MapRGB(screen->format, 0, 0, 0));
        SDL_Surface* layer = SDL_CreateRGBSurfaceWithFormatFrom(
            const_cast<uint32_t*>(v.Pixels().data()), v.Width(), v.Height(), 32, v.Width() * 4,
            SDL_PIXELFORMAT_RGB888);
        if (layer) {
            SDL_Rect at = {v.Left, v.Top, v.Width(), v.Height()};
            SDL_BlitSurface(layer, nullptr, screen, &at);
            SDL_FreeSurface(layer);
        }
        SDL_UpdateWindowSurface(window_);
        lastPresent_ = SDL_GetTicks();
        shown_ = &v;
    }

    void Nap(const Surface& v, std::deque<InputEvent>& queue) override {
        Pump(queue);
        if (SDL_GetTicks() - lastPresent_ >= frameMs_) Present(v);
        SDL_Delay(1);
    }

    void Poll(std::deque<InputEvent>& queue) override { Pump(queue); }

    bool Wait(uint32_t until, bool hasDue, std::deque<InputEvent>& queue) override {
        int timeout = -1;
        if (hasDue) {
            const int32_t left = static_cast<int32_t>(until - SDL_GetTicks());
            if (left <= 0) return true;
            timeout = left;
        }
        SDL_Event e;
        if (SDL_WaitEventTimeout(&e, timeout)) {
            Take(e, queue);
            Pump(queue);
        }
        return true;
    }

    std::string ProgramFolder() override {
        char buf[PATH_MAX];
        const ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
        if (n <= 0) return ".";
        std::string p(buf, static_cast<size_t>(n));
        const size_t slash = p.rfind('/');
        if (slash == std::string::npos) return ".";
        return slash == 0 ? "/" : p.substr(0, slash);
    }

    Mci& Music() override { return mci_; }
    SoundPlayer& Sound() override { return *audio_.sound; }
    AudioLog& Log() override { return log_; }

private:
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
            // The program never redraws by itself; show the last picture again.
            if (e.window.event == SDL_WINDOWEVENT_EXPOSED && shown_) Present(*shown_);
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
        SDL_Surface* icon = IMG_Load_RW(SDL_RWFromConstMem(iconPng, static_cast<int>(iconSize)), 1);
        if (icon) {
            SDL_SetWindowIcon(w, icon);
            SDL_FreeSurface(icon);
        }
    }
    return std::unique_ptr<Host>(new WindowHost(w, OpenAudioDevice()));
}

}  // namespace plat
