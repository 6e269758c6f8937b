#include "host.h"

namespace plat {
namespace {
// Wrap-safe "a is at or after b" on the 32-bit tick count.
bool AtOrAfter(uint32_t a, uint32_t b) { return static_cast<int32_t>(a - b) >= 0; }
}  // namespace

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

void EventLoop::Dispatch(const std::function<void()>& f) {
    f();
    host_.Present(visible_);
}

bool EventLoop::Run() {
    if (ended_) return true;
    try {
        for (;;) {
            host_.Poll(queue_);
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
                if (t && t->interval_ && (!next || !AtOrAfter(t->due_, next->due_))) {
                    next = t;
                    index = k;
                }
            }
            if (next && AtOrAfter(now, next->due_)) {
                // Fires once however late; missed ticks are not made up.
                next->due_ += static_cast<uint32_t>(next->interval_);
                if (AtOrAfter(now, next->due_)) next->due_ = now + static_cast<uint32_t>(next->interval_);
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

HeadlessHost::HeadlessHost(std::string programFolder, uint32_t startTicks)
    : folder_(std::move(programFolder)),
      now_(startTicks),
      limit_(startTicks),
      music_(new SilentMusic),
      mci_(std::unique_ptr<MusicPlayer>(music_), &log_) {}

void HeadlessHost::Deliver(std::deque<InputEvent>& queue) {
    for (auto it = scheduled_.begin(); it != scheduled_.end();) {
        if (AtOrAfter(now_, it->at)) {
            queue.push_back(it->e);
            it = scheduled_.erase(it);
        } else {
            ++it;
        }
    }
}

void HeadlessHost::Nap(const Surface&, std::deque<InputEvent>& queue) {
    ++now_;
    Deliver(queue);
}

bool HeadlessHost::Wait(uint32_t until, bool hasDue, std::deque<InputEvent>& queue) {
    Deliver(queue);
    if (!queue.empty()) return true;
    // Sleep to whichever comes first: the next due timer or the next scheduled input.
    bool have = hasDue;
    uint32_t target = until;
    for (const auto& s : scheduled_)
        if (!have || !AtOrAfter(s.at, target)) {
            target = s.at;
            have = true;
        }
    if (!have || !AtOrAfter(limit_, target)) {
        if (AtOrAfter(limit_, now_)) now_ = limit_;
        return false;
    }
    if (!AtOrAfter(now_, target)) now_ = target;
    Deliver(queue);
    return true;
}

}  // namespace plat
