// The window, its clock and its event loop. Two backends: a real SDL window,
// and a headless one with a virtual clock for tests (headless.h).
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "audio.h"
#include "surface.h"

namespace plat {

class Pictures;

// Wrap-safe "a is at or after b" on the 32-bit tick count.
inline bool TicksAtOrAfter(uint32_t a, uint32_t b) { return static_cast<int32_t>(a - b) >= 0; }

// Windows virtual key codes, as the programs' key handlers expect them.
enum VKey : int {
    VK_RETURN = 13, VK_ESCAPE = 27, VK_SPACE = 32,
    VK_LEFT = 37, VK_UP = 38, VK_RIGHT = 39, VK_DOWN = 40,
};

struct InputEvent {
    enum Kind { Key, Click, Quit } kind = Key;
    int key = 0;       // Key: virtual key code
    int x = 0, y = 0;  // Click: window coordinates
};

// Thrown by End(): the program ends at once, whatever handler is running.
struct EndProgram {};

class Timer {
public:
    // A period in ms; 0 stops the timer. Setting a period restarts the count.
    void SetInterval(int ms);
    int Interval() const { return interval_; }

private:
    friend class EventLoop;
    int interval_ = 0;
    uint32_t due_ = 0;
    class EventLoop* loop_ = nullptr;
};

// What a program's window offers the loop.
class Handlers {
public:
    virtual ~Handlers() = default;
    virtual void OnTimer(int index) = 0;      // 1..4
    virtual void OnKeyDown(int key) = 0;
    virtual void OnLayerClick() = 0;          // a click on the visible layer
};

// The backend: a real window or the headless stand-in.
class Host {
public:
    virtual ~Host() = default;
    // The 32-bit millisecond tick count.
    virtual uint32_t Ticks() = 0;
    // Shows the window for the first time, once the program has loaded.
    virtual void Show(const Surface& visible) = 0;
    // Shows the visible layer at its Left/Top inside the black window: what
    // was drawn on it since the last present.
    virtual void Present(const Surface& visible) = 0;
    // Inside a wait that ends when the tick count reaches `until`: sleeps at
    // most until then, queues any input that arrived, and presents what was
    // drawn once a frame is due, so an animation is seen frame by frame.
    virtual void Nap(const Surface& visible, std::deque<InputEvent>& queue, uint32_t until) = 0;
    // Between handlers: sleeps until input arrives (appended to queue) or the
    // tick count reaches `until`. Returns false when the run should stop
    // (headless: the test's time is up).
    virtual bool Wait(uint32_t until, bool hasDue, std::deque<InputEvent>& queue) = 0;
    // Queues any input that has arrived, without waiting. The loop asks
    // before it runs an overdue timer, so input that came during a handler
    // runs first.
    virtual void Poll(std::deque<InputEvent>& queue) { (void)queue; }
    // The folder holding the running program, with no trailing separator
    // unless it is the root.
    virtual std::string ProgramFolder() = 0;
    // Music and sound for this run.
    virtual Mci& Music() = 0;
    virtual SoundPlayer& Sound() = 0;
    virtual AudioLog& Log() = 0;
};

// Runs handlers one at a time: input first, in arrival order (also input that
// arrived during the last handler), then overdue timers in order of their due
// time, each once.
class EventLoop {
public:
    EventLoop(Host& host, Handlers& handlers, Surface& visible);
    void Attach(Timer& t, int index);
    // Runs until the program ends or the host says stop. Returns true when the
    // program has ended.
    bool Run();
    bool Ended() const { return ended_; }
    // Whether a quit from outside waits in the queue.
    bool QuitQueued() const;
    Host& host() { return host_; }
    std::deque<InputEvent>& Queue() { return queue_; }

private:
    friend class Timer;
    void Dispatch(const std::function<void()>& f);
    Host& host_;
    Handlers& handlers_;
    Surface& visible_;
    Timer* timers_[5] = {};
    std::deque<InputEvent> queue_;
    bool ended_ = false;
};

// Settings for the whole process, which a program makes first, before any
// thread starts: the environment the window system's libraries read, and the
// quit signals caught (quit.h).
void SetUpProcess();

// The real window: borderless 800x600, centred, black. Returns nullptr with a
// message on stderr when there is no display. `icon` names the window's icon
// among `pictures`, which decode beside the window system's set-up.
std::unique_ptr<Host> OpenWindowHost(const char* name, Pictures* pictures = nullptr, const char* icon = nullptr);

}  // namespace plat
