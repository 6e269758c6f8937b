#!/usr/bin/env bash
# A program whose X server goes away under it ends by itself with an exit
# status: not killed by a signal (an abort, a crash), nor left hanging. Tried
# without a sound device (as on a machine with no sound card: its threads
# differ from a sound run's) at two moments of start-up, and with one.
set -u
program="$1"
. "$(dirname "$0")/virtual_display.sh"
xvfb=""
pid=""
work=$(mktemp -d)
trap '[ -n "$pid" ] && kill -KILL $pid 2>/dev/null; [ -n "$xvfb" ] && kill $xvfb 2>/dev/null; rm -rf "$work"' EXIT

failed=0
# lose_display WHAT WHEN AUDIO_ENV...: starts the program on its own virtual
# display, waits for its window, ends the server and checks how the program
# ends. WHEN: "window" (as soon as the window is seen), "failed" (1 s after
# the program said it has no sound device) or "later" (1 s after the window).
lose_display() {
  local what="$1" when="$2" status t0 ms="-"
  shift 2
  start_virtual_display || { echo "FAIL: the virtual display (Xvfb) could not be started"; exit 1; }
  env "$@" "$program" >/dev/null 2>"$work/stderr" &
  pid=$!
  if ! find_program_window; then
    echo "FAIL: $what: no window named Form1"
    kill -KILL $pid
    failed=1
  else
    if [ "$when" = failed ]; then
      for _ in $(seq 300); do grep -q "no sound device" "$work/stderr" && break; sleep 0.1; done
      grep -q "no sound device" "$work/stderr" || { echo "FAIL: $what: the sound device did not fail to open"; failed=1; }
    fi
    [ "$when" = window ] || sleep 1
    kill "$xvfb"
    t0=$(date +%s%N)
    # A busy machine (or the sanitizer build) may take its time: a generous limit.
    for _ in $(seq 300); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
    ms=$(( ($(date +%s%N) - t0) / 1000000 ))
    if kill -0 $pid 2>/dev/null; then
      echo "FAIL: $what: the program still runs 30 s after its display went away"
      kill -KILL $pid
      failed=1
    fi
  fi
  wait $pid
  status=$?
  pid=""
  wait "$xvfb" 2>/dev/null
  xvfb=""
  echo "$what: exit status $status, $ms ms after the display went away"
  sed 's/^/  stderr: /' "$work/stderr"
  if [ $status -ge 128 ]; then
    echo "FAIL: $what: the program was killed by signal $((status - 128))"
    failed=1
  fi
  if grep -q "terminate called" "$work/stderr"; then
    echo "FAIL: $what: the program called std::terminate"
    failed=1
  fi
}

# The disk driver cannot open a file in a folder that does not exist: the
# sound device fails to open on any machine.
no_device=(SDL_AUDIODRIVER=disk "SDL_DISKAUDIOFILE=$work/absent/audio.raw")
lose_display "no sound device, display gone as the window appears" window "${no_device[@]}"
lose_display "no sound device, display gone 1 s after the device failed" failed "${no_device[@]}"
lose_display "a sound device, display gone 1 s after the window" later SDL_AUDIODRIVER=dummy
[ $failed -eq 0 ] || exit 1
echo ok
