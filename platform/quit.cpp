#include "quit.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <initializer_list>

namespace plat {
namespace {

// Written from a signal handler, read anywhere: lock-free, so both are safe.
std::atomic<bool> g_quit{false};
static_assert(std::atomic<bool>::is_always_lock_free);
// A signal may land on any thread; a byte down this pipe wakes the one that
// sleeps on input, whichever thread took the signal.
int g_wake[2] = {-1, -1};

void OnQuitSignal(int) {
    const int saved = errno;
    g_quit.store(true);
    if (g_wake[1] >= 0) (void)!write(g_wake[1], "q", 1);
    errno = saved;
}

}  // namespace

void CatchQuitSignals() {
    if (g_wake[0] >= 0 || pipe2(g_wake, O_CLOEXEC | O_NONBLOCK) != 0) return;
    for (int sig : {SIGTERM, SIGINT}) {
        struct sigaction old = {};
        if (sigaction(sig, nullptr, &old) != 0 || old.sa_handler == SIG_IGN) continue;
        struct sigaction action = {};
        action.sa_handler = OnQuitSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        sigaction(sig, &action, nullptr);
    }
}

void RequestQuit() { g_quit.store(true); }

bool QuitRequested() { return g_quit.load(); }

int QuitWakeFd() { return g_wake[0]; }

}  // namespace plat
