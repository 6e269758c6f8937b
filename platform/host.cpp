#include "host.h"

namespace plat {

void Timer::SetInterval(int ms) {
    interval_ = ms > 0 ? ms : 0;
    if (loop_ && interval_) due_ = loop_->host().Ticks() + static_cast<uint32_t>(interval_);
}

EventLoop::EventLoop(Host& host, Handlers& handlers, Surface& visible)
    : host_(host), handlers_(handlers), visible_(visible) {}

void EventLoop::Attach(Timer& t, int index) {
    t.loop_ = this;
    timers_[index] = &t;
}

bool EventLoop::QuitQueued() const {
    for (const InputEvent& e : queue_)
        if (e.kind == InputEvent::Quit) return true;
    return false;
}

void EventLoop::Dispatch(const std::function<void()>& f) {
    f();
    host_.Present(visible_);
}

bool EventLoop::Run() {
    if (ended_) return true;
    try {
        for (;;) {
            if (!queue_.empty()) {
                const InputEvent e = queue_.front();
                queue_.pop_front();
                switch (e.kind) {
                case InputEvent::Key:
                    Dispatch([&] { handlers_.OnKeyDown(e.key); });
                    break;
                case InputEvent::Click:
                    // Only the visible layer has a click handler; the margin has none.
                    if (e.x >= visible_.Left && e.x < visible_.Left + visible_.Width() && e.y >= visible_.Top &&
                        e.y < visible_.Top + visible_.Height())
                        Dispatch([&] { handlers_.OnLayerClick(); });
                    break;
                case InputEvent::Quit:
                    Dispatch([&] { handlers_.OnLayerClick(); });
                    break;
                }
                continue;
            }
            const uint32_t now = host_.Ticks();
            Timer* next = nullptr;
            int index = 0;
            for (int k = 1; k <= 4; ++k) {
                Timer* t = timers_[k];
                if (t && t->interval_ && (!next || !TicksAtOrAfter(t->due_, next->due_))) {
                    next = t;
                    index = k;
                }
            }
            if (next && TicksAtOrAfter(now, next->due_)) {
                // Input that came during the last handler runs first. (A wait
                // looks for input itself, so only an overdue timer needs this.)
                host_.Poll(queue_);
                if (!queue_.empty()) continue;
                // Fires once however late; missed ticks are not made up.
                next->due_ += static_cast<uint32_t>(next->interval_);
                if (TicksAtOrAfter(now, next->due_)) next->due_ = now + static_cast<uint32_t>(next->interval_);
                Dispatch([&] { handlers_.OnTimer(index); });
                continue;
            }
            if (!host_.Wait(next ? next->due_ : 0, next != nullptr, queue_)) return false;
        }
    } catch (const EndProgram&) {
        ended_ = true;
        host_.Present(visible_);
        return true;
    }
}

}  // namespace plat
