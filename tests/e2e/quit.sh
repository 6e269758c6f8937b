#!/usr/bin/env bash
# A quit from outside (SIGTERM, as when the session ends) ends the manual at
# once with exit status 0: in the epilogue's opening, whose waits last
# seconds, and early in start-up, where a quit that comes before the first
# frame must not open the sound device (nor load the soundfont) first.
# E2E_QUIT_LIMIT_MS (200 by default) is how soon after the signal the program
# must have ended; a sanitizer build is given more (CMakeLists.txt).
# Usage: quit.sh <path to 説明書> <path to the replay tool>
. "$(dirname "$0")/lib.sh"
program="$1"
replay="$2"
quit_limit="${E2E_QUIT_LIMIT_MS:-200}"

white=ffffff
cream=fff0bf
black=000000

# Microseconds on the wall clock, read by the shell itself: no process is
# started between the signal and the readings.
now_us() { local t=$EPOCHREALTIME; now=${t/[.,]/}; }

# quit_and_time: sends SIGTERM (a stopped program goes on at once to take
# it) and polls every 10 ms for the end; sets quit_ms and quit_status.
quit_and_time() {
  local t0
  now_us
  t0=$now
  kill -TERM "$pid"
  kill -CONT "$pid"
  while kill -0 "$pid" 2>/dev/null; do
    now_us
    [ $((now - t0)) -gt $((limit * 1000000)) ] && fail "the program still runs $limit s after SIGTERM"
    sleep 0.01
  done
  now_us
  quit_ms=$(((now - t0) / 1000))
  quit_status=0
  wait "$pid" || quit_status=$?
  pid=""
}

# check_quit WHAT: the program ended within the limit, with status 0.
check_quit() {
  echo "  $1: ended $quit_ms ms after SIGTERM (limit $quit_limit ms), exit status $quit_status"
  [ "$quit_ms" -le "$quit_limit" ] || fail "$1: the program ended $quit_ms ms after SIGTERM, not within $quit_limit ms"
  [ "$quit_status" -eq 0 ] || fail "$1: exit status $quit_status"
}

won_game_folder "$program" "$replay"
manual="$work/bin/$(basename "$program")"
start_display

# --- Early: the program is stopped (SIGSTOP) as soon as the display reports
# its window made or shown, so what it had done by then can be checked before
# it takes the SIGTERM. xev reports those windows as they come.
xev_pid=""
trap '[ -n "$xev_pid" ] && kill "$xev_pid" 2>/dev/null; cleanup' EXIT
exec {xev_fd}< <(exec stdbuf -oL xev -root -event substructure -event property)
xev_pid=$!
# xev listens once a change of the root window's properties reaches it.
ready=""
for _ in $(seq $((limit * 5))); do
  xprop -root -format _E2E_READY 8s -set _E2E_READY 1
  while read -r -t 0.2 -u "$xev_fd" line; do
    case "$line" in *"(_E2E_READY)"*) ready=1 && break ;; esac
  done
  [ -n "$ready" ] && break
done
[ -n "$ready" ] || fail "xev does not report on the display"

# next_window_event EVENT [ID]: reads xev's reports up to the next EVENT
# (CreateNotify, MapNotify) of a window (of window ID, if given); sets window.
next_window_event() {
  local line
  window=""
  while [ -z "$window" ]; do
    read -r -t "$limit" -u "$xev_fd" line || fail "no $1 of the program's window within $limit s"
    case "$line" in "$1 "*) ;; *) continue ;; esac
    # The window is named on the report's next line.
    read -r -t "$limit" -u "$xev_fd" line || fail "xev's report of $1 ends early"
    [[ "$line" =~ window\ (0x[0-9a-f]+) ]] || continue
    [ $# -lt 2 ] || [ "${BASH_REMATCH[1]}" = "$2" ] || continue
    window=${BASH_REMATCH[1]}
  done
}

# stop_program: stops it (SIGSTOP); returns once every thread has stopped and
# the server has taken what the program sent before, so what the display and
# the files show is what the program had done.
stop_program() {
  kill -STOP "$pid"
  local t0=$SECONDS
  until [ "$(sed 's/.*) //' "/proc/$pid/stat" | cut -d' ' -f1)" = T ]; do
    [ $((SECONDS - t0)) -gt "$limit" ] && fail "the program does not stop"
    sleep 0.01
  done
  sleep 0.2
}

# early_quit EVENT [DELAY]: starts the program with its sound going to
# early_audio, stops it at its window's EVENT (DELAY seconds after it) and
# quits it there. Sets moment to what it had done by then: "unshown" (its
# window not shown, so no frame yet), "shown" (the window shown, the sound
# device not yet being opened) or "late" (the device open or opening: the
# mixer library is loaded only for it).
early_audio="$work/early.raw"
early_quit() {
  # Reports of the last attempt's window are of no interest.
  while read -r -t 0.2 -u "$xev_fd" _; do :; done
  rm -f "$early_audio"
  env SDL_AUDIODRIVER=disk "SDL_DISKAUDIOFILE=$early_audio" "$manual" >"$work/stdout" 2>"$work/stderr" &
  pid=$!
  next_window_event CreateNotify
  [ "$1" = MapNotify ] && next_window_event MapNotify "$window"
  [ -n "${2:-}" ] && sleep "$2"
  stop_program
  if xwininfo -id "$window" 2>/dev/null | grep -q "Map State: IsUnMapped"; then
    moment=unshown
  elif [ -e "$early_audio" ] || grep -q libSDL2_mixer "/proc/$pid/maps"; then
    moment=late
  else
    moment=shown
  fi
  quit_and_time
}

# A quit before the first frame: the program ends without ever opening the
# sound device (the disk driver creates its file when the device opens).
for _ in 1 2 3 4 5; do
  early_quit CreateNotify
  [ "$moment" = unshown ] && break
done
[ "$moment" = unshown ] || fail "the program was never stopped before its window was shown (5 tries)"
check_quit "SIGTERM before the first frame"
[ -e "$early_audio" ] && fail "a quit before the first frame opened the sound device"
echo "  the sound device was never opened"

# A quit as the window is shown and in the few ms after, while the first
# frame is drawn and before the sound device is opened: the program must not
# open it now, nor load the soundfont, only to close them again.
checked=0
for delay in 0 0 0.005 0.005 0.01 0.01; do
  early_quit MapNotify "$delay"
  if [ "$moment" = late ]; then
    echo "  (stopped $delay s after the window was shown, the sound device was opening already: not counted)"
    continue
  fi
  [ -e "$early_audio" ] && echo "  (the sound device was opened after the SIGTERM)"
  check_quit "SIGTERM $delay s after the window was shown"
  checked=$((checked + 1))
done
[ "$checked" -gt 0 ] || fail "the sound device was always opening already when the window was shown"
kill "$xev_pid" 2>/dev/null
xev_pid=""

# --- In the epilogue's opening: blinds close over the menu for 0.64 s, then
# the title fades in and out, one step of the show lasting some 5 s. A quit
# 0.5 s after Right must not wait for the step's end.
start_program "${audio_env[@]}" "$manual"
wait_until "the menu" shows 66 107 "$white"
for _ in $(seq 16); do key Down; done
wait_until "item 17 open" shows_all "66 507 $white" "400 250 $cream"
now_us
right_at=$now
key Right
# Column x = 400 of the blinds is black from their first pass.
wait_until "the show: the blinds closing over the menu" shows_all "400 300 $black"
now_us
left=$((500000 - (now - right_at)))
[ "$left" -gt 0 ] && sleep "$(printf '0.%06d' "$left")"
now_us
at_ms=$(((now - right_at) / 1000))
# A program that waits for the step's end ends 5.2 s after Right at the
# soonest: the signal must come early enough for the limit to tell.
[ "$at_ms" -le $((5000 - quit_limit)) ] || fail "the show was seen only $at_ms ms after Right: too late in its opening to tell"
quit_and_time
check_quit "SIGTERM $at_ms ms after Right, in the epilogue's opening"
echo ok
