// What the window does on X itself, beside SDL: everything X-specific is
// here, behind SDL's X11 guard. On any other video driver each does nothing.
#pragma once

#include <SDL.h>

namespace plat {

// The X display connection a window is shown through.
class X11Connection {
public:
    // None unless SDL shows the window on X.
    explicit X11Connection(SDL_Window* w);
    // Readable when something has come from the display; -1 with no connection.
    int Fd() const;
    // Sends what is buffered and takes in what has come: true when events
    // wait to be read, so that a sleep on Fd would not see them.
    bool Pending() const;

private:
    void* display_ = nullptr;
};

// Has the server paint the window black wherever it is shown before the
// program draws there: SDL leaves an X window without a background, which
// shows whatever was on the screen. False where that could not be done.
bool PaintedBlack(SDL_Window* w);

// When the display's connection is lost (the server died, the session ended)
// Xlib ends the process; `lost` runs first, with the display's name, and does
// not return.
void WhenDisplayLost(SDL_Window* w, void (*lost)(const char* display));

}  // namespace plat
