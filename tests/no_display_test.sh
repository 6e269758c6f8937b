#!/usr/bin/env bash
# Without a display a program says so in one line and exits with status 1:
# with no display set, and with one set that no server answers, which the
# line names (a mistyped or stale DISPLAY is then plain to see).
program="$1"
failed=0

# no_display WHAT WORD ENV...: runs the program with the environment changed
# so, and checks its one line on stderr holds WORD.
no_display() {
  local what="$1" word="$2" err status
  shift 2
  err=$(env -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER "$@" SDL_AUDIODRIVER=dummy timeout 10 "$program" 2>&1 >/dev/null)
  status=$?
  echo "$what: exit status $status, stderr: $err"
  [ $status -eq 1 ] || { echo "FAIL: $what: exit status $status"; failed=1; }
  [ "$(printf '%s\n' "$err" | wc -l)" -eq 1 ] || { echo "FAIL: $what: expected one line on stderr"; failed=1; }
  printf '%s' "$err" | grep -qF -- "$word" || { echo "FAIL: $what: the message does not name $word"; failed=1; }
}

# A display number no server holds here: neither its lock file nor its
# sockets (in the file system, or abstract) exist.
dead=""
for n in $(seq 93 999); do
  { [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; } && continue
  grep -q "@/tmp/.X11-unix/X$n\$" /proc/net/unix 2>/dev/null && continue
  dead=":$n"
  break
done
[ -n "$dead" ] || { echo "FAIL: no free display number"; exit 1; }

no_display "no DISPLAY" display -u DISPLAY
no_display "DISPLAY=$dead, which no server answers" "$dead" DISPLAY="$dead"
[ $failed -eq 0 ] || exit 1
echo ok
