#!/usr/bin/env bash
# Takes screenshots of the game's real window on a virtual display: the title
# and the battle screen. Usage: tools/screenshots.sh build/bin/tobble7 [out-folder]
set -u
program="$1"
out="${2:-.}"
mkdir -p "$out"
. "$(dirname "$0")/../tests/virtual_display.sh"
xvfb=""
pid=""
trap '[ -n "$pid" ] && kill $pid 2>/dev/null; [ -n "$xvfb" ] && kill $xvfb 2>/dev/null' EXIT
start_virtual_display || { echo "the virtual display (Xvfb) could not be started" >&2; exit 1; }

SDL_AUDIODRIVER=dummy "$program" &
pid=$!
find_program_window || { echo "no game window appeared" >&2; exit 1; }
start=$(date +%s.%N)

# Waits until the given number of seconds after the window appeared, then
# takes the window's 800x600 from the screen.
shot() {
  local at="$1" name="$2"
  sleep "$(awk -v at="$at" -v start="$start" -v now="$(date +%s.%N)" 'BEGIN { d = at - (now - start); print (d > 0 ? d : 0) }')"
  local geo x y
  geo=$(xdotool getwindowgeometry "$win" | sed -n 's/.*Position: \([0-9]*\),\([0-9]*\).*/\1 \2/p')
  read -r x y <<<"$geo"
  xwd -root -silent | convert xwd:- -crop "800x600+${x}+${y}" +repage "$out/$name.png"
  echo "$out/$name.png"
}
shot 1.2 title
shot 3.6 battle
xdotool mousemove 512 384 click 1
for _ in $(seq 30); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
