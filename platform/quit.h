// A quit asked from outside the program: SIGTERM or SIGINT, or the window
// system's close. It is not kept waiting for an animation: once one is asked
// for, waits end at once and no sound device is opened any more.
#pragma once

namespace plat {

// Catches SIGTERM and SIGINT, each where it is not ignored (a job started in
// the background ignores SIGINT), from here on for the whole run.
void CatchQuitSignals();
// Records a quit asked through the window system.
void RequestQuit();
// Whether a quit has been asked for, by either way.
bool QuitRequested();
// A descriptor that becomes readable once a quit is asked for, to wake a
// sleep on it; -1 when signals are not caught. Never read it.
int QuitWakeFd();

}  // namespace plat
