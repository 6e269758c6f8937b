#!/usr/bin/env bash
# Screenshots of the manual in a real window on a virtual display: every menu
# page, every prologue page and some moments of the epilogue show.
#
#   tools/manual-shots.sh <path to 説明書> <output folder> [--full]
#
# The program runs from a scratch copy of its folder with a clear file, so the
# epilogue item is open. --full also waits for the show's end (about 7.5 min)
# and takes the closing word.
set -u
program="$1"
out="$2"
full="${3:-}"
mkdir -p "$out"

work=$(mktemp -d)
xvfb=""
pid=""
cleanup() {
  # The program first, so it does not lose its display under it.
  [ -n "$pid" ] && kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

folder=$(dirname "$program")
cp "$program" "$work/"
cp -r "$folder/bg" "$work/bg"
mkdir -p "$work/se"
cp "$folder"/se/*.wav "$work/se/" 2>/dev/null
printf 'KOLTEV\n' >"$work/se/da.txt"

. "$(dirname "$0")/../tests/virtual_display.sh"
start_virtual_display || { echo "the virtual display (Xvfb) could not be started" >&2; exit 1; }

SDL_AUDIODRIVER=dummy "$work/$(basename "$program")" &
pid=$!
find_program_window || { echo "no window" >&2; exit 1; }
xdotool mousemove 1020 764  # keep the pointer off the window
xdotool windowfocus --sync "$win" 2>/dev/null
sleep 1

shot() {  # the 800x600 window
  xwd -root -silent | convert xwd:- -crop 800x600+112+84 +repage "$out/$1.png"
  echo "$out/$1.png"
}
key() {
  xdotool key --window "$win" "$1" 2>/dev/null || xdotool key "$1"
  sleep "${2:-0.4}"
}

shot menu-01
for item in $(seq 2 16); do
  key Down
  shot "$(printf 'menu-%02d' "$item")"
done
for page in $(seq 2 14); do
  key Right
  shot "$(printf 'prologue-%02d' "$page")"
done
key Down
shot menu-17

# The show: the blinds, the title, the first lines and pictures.
key Right 0.3
start=$(date +%s.%N)
at() {  # waits until t seconds after the Right key, then shoots
  local wait
  wait=$(awk -v s="$start" -v t="$1" -v now="$(date +%s.%N)" 'BEGIN { w = s + t - now; if (w > 0) printf "%.3f", w }')
  [ -n "$wait" ] && sleep "$wait"
  shot "$2"
}
at 0.05 show-00-blinds
at 3.0 show-01-title
at 12 show-02-first-lines
at 45 show-03-page1-picture
at 70 show-04-page2
if [ "$full" = "--full" ]; then
  at 180 show-05-page3
  at 430 show-06-thanks
  at 444 show-07-oshimai
  for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.2; done
  if kill -0 "$pid" 2>/dev/null; then
    echo "the show did not end the program"
    exit 1
  fi
else
  # Left aborts back to the menu.
  key Left 1.0
  shot show-08-aborted
fi
exit 0
