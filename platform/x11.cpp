#include "x11.h"

#include <SDL_syswm.h>

namespace plat {

#if defined(SDL_VIDEO_DRIVER_X11)

namespace {

::Display* DisplayOf(SDL_Window* w, ::Window* window = nullptr) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!w || !SDL_GetWindowWMInfo(w, &info) || info.subsystem != SDL_SYSWM_X11) return nullptr;
    if (window) *window = info.info.x11.window;
    return info.info.x11.display;
}

void (*g_lost)(const char*) = nullptr;

int OnConnectionLost(::Display* display) {
    g_lost(DisplayString(display));
    return 0;  // not reached: g_lost ends the process
}

}  // namespace

X11Connection::X11Connection(SDL_Window* w) : display_(DisplayOf(w)) {}

int X11Connection::Fd() const { return display_ ? ConnectionNumber(static_cast<::Display*>(display_)) : -1; }

bool X11Connection::Pending() const { return display_ && XPending(static_cast<::Display*>(display_)) > 0; }

bool PaintedBlack(SDL_Window* w) {
    ::Window window;
    ::Display* display = DisplayOf(w, &window);
    if (!display) return false;
    XSetWindowBackground(display, window, BlackPixel(display, DefaultScreen(display)));
    return true;
}

void WhenDisplayLost(SDL_Window* w, void (*lost)(const char*)) {
    if (!lost || !DisplayOf(w)) return;
    g_lost = lost;
    XSetIOErrorHandler(OnConnectionLost);
}

#else

X11Connection::X11Connection(SDL_Window*) {}
int X11Connection::Fd() const { return -1; }
bool X11Connection::Pending() const { return false; }
bool PaintedBlack(SDL_Window*) { return false; }
void WhenDisplayLost(SDL_Window*, void (*)(const char*)) {}

#endif

}  // namespace plat
