# Sourced by the scripts that run a program in a real window on a virtual
# display. Xvfb picks a free display itself, so runs side by side never meet.

# Starts Xvfb, sets DISPLAY and xvfb (its pid). Returns 1 when it cannot start.
start_virtual_display() {
  local numberfile number=""
  numberfile=$(mktemp)
  # -noreset: by default the server resets whenever its last client leaves
  # (a probe like xdotool, or SDL's own test connection), and hangs up on a
  # client that connects meanwhile: the program would find no display.
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$numberfile" >/dev/null 2>&1 &
  xvfb=$!
  for _ in $(seq 100); do
    number=$(tr -dc 0-9 <"$numberfile")
    [ -n "$number" ] && break
    kill -0 "$xvfb" 2>/dev/null || break
    sleep 0.1
  done
  rm -f "$numberfile"
  [ -n "$number" ] || return 1
  export DISPLAY=":$number"
}

# Waits up to 30 s (a sanitizer build on a busy machine starts slowly) for the
# program's window; sets win. Returns 1 without one.
find_program_window() {
  win=""
  for _ in $(seq 300); do
    win=$(xdotool search --name '^Form1$' 2>/dev/null | head -1)
    [ -n "$win" ] && return 0
    sleep 0.1
  done
  return 1
}
