#!/usr/bin/env bash
# Without a display a program says so in one line and exits with status 1.
program="$1"
err=$(env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER SDL_AUDIODRIVER=dummy timeout 10 "$program" 2>&1 >/dev/null)
status=$?
echo "stderr: $err"
[ $status -eq 1 ] || { echo "FAIL: exit status $status"; exit 1; }
[ "$(printf '%s\n' "$err" | wc -l)" -eq 1 ] || { echo "FAIL: expected one line on stderr"; exit 1; }
printf '%s' "$err" | grep -q "display" || { echo "FAIL: the message does not name the display"; exit 1; }
echo ok
