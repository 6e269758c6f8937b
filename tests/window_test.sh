#!/usr/bin/env bash
# Starts a program in a real window on a virtual display, checks the window
# (borderless 800x600, centred, black with its layers) and ends it with a click.
set -u
program="$1"
shot="${2:-}"
# Xvfb picks a free display itself and writes its number once it accepts clients.
dispfile=$(mktemp)
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$dispfile" >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; [ -n "${pid:-}" ] && kill $pid 2>/dev/null; rm -f "$dispfile"' EXIT
number=""
for _ in $(seq 100); do
  number=$(tr -dc 0-9 <"$dispfile")
  [ -n "$number" ] && break
  kill -0 $xvfb 2>/dev/null || break
  sleep 0.1
done
[ -n "$number" ] || { echo "FAIL: the virtual display (Xvfb) could not be started"; exit 1; }
export DISPLAY=":$number"

SDL_AUDIODRIVER=dummy "$program" &
pid=$!
win=""

for _ in $(seq 100); do
  win=$(xdotool search --name '^Form1$' 2>/dev/null | head -1)
  [ -n "$win" ] && break
  sleep 0.1
done
[ -n "$win" ] || { echo "FAIL: no window named Form1"; exit 1; }
sleep 0.5
geometry=$(xdotool getwindowgeometry "$win")
echo "$geometry"
echo "$geometry" | grep -q "Position: 112,84" || { echo "FAIL: window not centred"; exit 1; }
echo "$geometry" | grep -q "Geometry: 800x600" || { echo "FAIL: window not 800x600"; exit 1; }

png=$(mktemp --suffix=.png)
xwd -root -silent | convert xwd:- "$png"
[ -n "$shot" ] && cp "$png" "$shot"
# The window's margin is black.
margin=$(convert "$png" -format '%[pixel:p{120,90}]' info:)
echo "margin pixel: $margin"
case "$margin" in *"black"*|*"(0,0,0)"*|"srgb(0,0,0)"|"gray(0)") ;; *) echo "FAIL: margin is not black"; exit 1;; esac

# A click on the black margin does nothing; one on the layer ends the program.
xdotool mousemove 118 88 click 1
sleep 0.5
kill -0 $pid 2>/dev/null || { echo "FAIL: a click on the margin ended the program"; exit 1; }
xdotool mousemove 512 384 click 1
for _ in $(seq 50); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
if kill -0 $pid 2>/dev/null; then echo "FAIL: the click did not end the program"; exit 1; fi
wait $pid
status=$?
pid=""
[ $status -eq 0 ] || { echo "FAIL: exit status $status"; exit 1; }
echo "ok"
