#include "headless.h"

namespace plat {

HeadlessHost::HeadlessHost(std::string programFolder, uint32_t startTicks)
    : folder_(std::move(programFolder)),
      now_(startTicks),
      limit_(startTicks),
      music_(new SilentMusic),
      mci_(std::unique_ptr<MusicPlayer>(music_), &log_) {}

void HeadlessHost::Deliver(std::deque<InputEvent>& queue) {
    for (auto it = scheduled_.begin(); it != scheduled_.end();) {
        if (TicksAtOrAfter(now_, it->at)) {
            queue.push_back(it->e);
            it = scheduled_.erase(it);
        } else {
            ++it;
        }
    }
}

void HeadlessHost::Nap(const Surface&, std::deque<InputEvent>& queue, uint32_t) {
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
        if (!have || !TicksAtOrAfter(s.at, target)) {
            target = s.at;
            have = true;
        }
    if (!have || !TicksAtOrAfter(limit_, target)) {
        if (TicksAtOrAfter(limit_, now_)) now_ = limit_;
        return false;
    }
    if (!TicksAtOrAfter(now_, target)) now_ = target;
    Deliver(queue);
    return true;
}

}  // namespace plat
