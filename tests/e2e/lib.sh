# Sourced by the player tests: a program in a real window on a virtual display,
# keys and clicks from xdotool, and what the player sees and hears read back.
#
# Every wait polls a condition with a generous limit (E2E_LIMIT seconds, 60 by
# default) and says how long it took, so a busy machine makes a test slower
# but does not fail it. Coordinates are those of the program's layers (the
# 768 by 576 picture inside the window's black margin).

set -u
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source_dir="$(cd "$here/../.." && pwd)"
. "$here/../virtual_display.sh"

limit="${E2E_LIMIT:-60}"
xvfb=""
pid=""
win=""
work=$(mktemp -d)

cleanup() {
  # The program first, so it does not lose its display under it.
  if [ -n "$pid" ]; then kill -CONT "$pid" 2>/dev/null; kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null; fi
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# On a failure the last picture taken is kept for a look.
fail() {
  echo "FAIL: $*"
  # What the program said, when it says why it ended.
  if [ -s "$work/stderr" ]; then
    echo "its stderr, last lines:"
    tail -n 20 "$work/stderr"
  fi
  if [ -s "${screen:-}" ]; then
    local keep
    keep="${TMPDIR:-/tmp}/e2e-$(basename "$0" .sh)-$$.png"
    convert "xwd:$screen" "$keep" 2>/dev/null && echo "the screen as last seen: $keep"
  fi
  exit 1
}

ms_since() { echo $(( ($(date +%s%N) - $1) / 1000000 )); }

# wait_until WHAT COMMAND...: polls COMMAND until it succeeds.
wait_until() {
  local what="$1" t0
  shift
  t0=$(date +%s%N)
  while ! "$@"; do
    [ "$(ms_since "$t0")" -gt $((limit * 1000)) ] && fail "$what: not within $limit s"
    sleep 0.05
  done
  echo "  $what: $(ms_since "$t0") ms"
}

start_display() {
  start_virtual_display || fail "the virtual display (Xvfb) could not be started"
}

# start_program [VAR=value...] PROGRAM: starts it in the background (pid) and
# waits for its window (win); the layers' origin on the screen goes to ox, oy.
start_program() {
  env "$@" >"$work/stdout" 2>"$work/stderr" &
  pid=$!
  local t0
  t0=$(date +%s%N)
  find_program_window || fail "no window named Form1"
  echo "  the window: $(ms_since "$t0") ms"
  locate_window
  # Keys go to the focused window; the pointer stays off it.
  xdotool mousemove 1020 764
  xdotool windowfocus --sync "$win" 2>/dev/null || true
}

# locate_window: the layers' origin on the screen (ox, oy), from win's place.
locate_window() {
  local geo
  geo=$(xdotool getwindowgeometry "$win" 2>/dev/null | sed -n 's/.*Position: \([0-9]*\),\([0-9]*\).*/\1 \2/p')
  [ -n "$geo" ] || return 1
  read -r ox oy <<<"$geo"
  ox=$((ox + 16))
  oy=$((oy + 12))
}

# won_game_folder PROGRAM REPLAY: a copy of the program folder in $work/bin
# where the scripted winning game has been played headless, leaving the
# clear file that opens the manual's epilogue.
won_game_folder() {
  mkdir -p "$work/bin/se"
  cp "$1" "$work/bin/"
  cp -r "$(dirname "$1")/bg" "$work/bin/"
  cp "$(dirname "$1")"/se/*.wav "$work/bin/se/" 2>/dev/null
  "$2" "$source_dir/tests/replays/win.txt" "$work/bin" || fail "the winning game did not play"
  [ -s "$work/bin/se/da.txt" ] || fail "the winning game wrote no clear file"
}

program_ended() { ! kill -0 "$pid" 2>/dev/null; }

# wait_for_end: waits for the program's end and checks its exit status 0.
wait_for_end() {
  local what="the program's end"
  [ $# -gt 0 ] && what="$1"
  wait_until "$what" program_ended
  local status=0
  wait "$pid" || status=$?
  pid=""
  [ "$status" -eq 0 ] || fail "exit status $status"
}

key() { xdotool key "$1"; }

# click X Y: a click on the layers at (X, Y).
click() { xdotool mousemove $((ox + $1)) $((oy + $2)) click 1; }

# capture: takes the screen into $work/screen.xwd, read by the checks below.
# The checks read the picture's bytes straight from the file, which is fast
# enough to poll with: 3 or 4 bytes a pixel, their order given in the header.
screen="$work/screen.xwd"
capture() {
  xwd -root -silent >"$screen" || return 1
  local header
  header=($(od -An -v -tu1 -N 100 "$screen"))
  be() { echo $(( (${header[$1]} << 24) + (${header[$1 + 1]} << 16) + (${header[$1 + 2]} << 8) + ${header[$1 + 3]} )); }
  # header size, byte order, bits per pixel, bytes per line (lines may be
  # padded), colour map entries
  xwd_data=$(( $(be 0) + $(be 76) * 12 ))
  xwd_lsb=$(( $(be 28) == 0 ))
  xwd_line=$(be 48)
  xwd_bytes=$(( $(be 44) / 8 ))
  case "$xwd_bytes" in 3|4) ;; *) fail "the screen has $xwd_bytes bytes a pixel";; esac
}

# rgb: turns the bytes of a pixel, "b g r [x]" (LSB first) or "[x] r g b", into rrggbb.
rgb_awk='function rgb() { return lsb ? $3 $2 $1 : (NF == 4 ? $2 $3 $4 : $1 $2 $3) }'

# pixel X Y: the colour of the layers at (X, Y) as rrggbb.
pixel() {
  od -An -v -tx1 -j $((xwd_data + (oy + $2) * xwd_line + (ox + $1) * xwd_bytes)) -N "$xwd_bytes" "$screen" |
    awk -v lsb="$xwd_lsb" "$rgb_awk"' { print rgb() }'
}

# rows_near X Y W H rrggbb FUZZ: for each row of the rectangle, from Y down,
# whether some of its pixels are near that colour (within FUZZ, e.g. 19%):
# sets the array row_has[Y...] to 1 or 0, in one pass over the picture.
rows_near() {
  local line y=$2
  row_has=()
  # Each row shrinks to one grey pixel, "0,ROW: (LEVEL...": 0 where none is near.
  while read -r line; do
    case "$line" in
    \#*) continue ;;
    *": (0,"* | *": (0)"*) row_has[$y]=0 ;;
    *) row_has[$y]=1 ;;
    esac
    y=$((y + 1))
  done < <(convert "xwd:$screen" -crop "$3x$4+$((ox + $1))+$((oy + $2))" +repage -fuzz "$6" \
    -fill black +opaque "#$5" -fill white -opaque "#$5" -colorspace gray -scale "1x$4!" -depth 16 txt:-)
}

# art_pixel FILE X Y: the colour of a picture the program carries, as rrggbb.
art_pixel() { convert "$source_dir/art/$1" -format "%[hex:p{$2,$3}]" info: | cut -c1-6 | tr A-F a-f; }

# near A B [TOLERANCE]: two RRGGBB colours differ by at most TOLERANCE (8) in
# each channel. The sprites are combined with the scenery through a mask,
# which may leave the scenery's low bits in them.
near() {
  local a="$1" b="$2" tol="${3:-8}" k d
  for k in 0 2 4; do
    d=$(( 16#${a:$k:2} - 16#${b:$k:2} ))
    [ "${d#-}" -le "$tol" ] || return 1
  done
}

# Conditions for wait_until: each captures the screen afresh.
shows() { capture && [ "$(pixel "$1" "$2")" = "$3" ]; }
shows_near() { capture && near "$(pixel "$1" "$2")" "$3" "${4:-8}"; }
# shows_all "X Y RRGGBB" ...: all of them in one picture.
shows_all() {
  capture || return 1
  local spec x y c
  for spec in "$@"; do
    read -r x y c <<<"$spec"
    [ "$(pixel "$x" "$y")" = "$c" ] || return 1
  done
}

# look_held NOT_SEEN INTERVAL CHECK [ARGS...]: looks at the program (pid) while
# it is held. Every INTERVAL seconds it stops the program (SIGSTOP), finds its
# window (win, when not yet known) and its place, takes the screen and runs
# CHECK on it, then lets the program go on (SIGCONT); until CHECK succeeds. A
# held program neither draws nor plays, so what CHECK reads of the screen and
# of the sound written belongs to one moment, and a click it makes answers
# what it saw. Fails with "NOT_SEEN within <limit> s" after the time limit.
look_held() {
  local not_seen="$1" interval="$2" t0 seen
  shift 2
  t0=$(date +%s%N)
  while :; do
    [ "$(ms_since "$t0")" -gt $((limit * 1000)) ] && fail "$not_seen within $limit s"
    sleep "$interval"
    kill -STOP "$pid" 2>/dev/null || fail "the program ended by itself"
    [ -n "$win" ] || win=$(xdotool search --name '^Form1$' 2>/dev/null | head -1)
    seen=""
    if [ -n "$win" ] && locate_window && capture && "$@"; then seen=yes; fi
    kill -CONT "$pid"
    [ -z "$seen" ] || return 0
  done
}

# --- Sound as heard, through SDL's disk audio driver: the program's output
# goes to a file in real time (SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=FILE).
# Silence is zero bytes: the program plays signed samples, whose silence is 0.
audio="$work/audio.raw"
audio_env=(SDL_AUDIODRIVER=disk "SDL_DISKAUDIOFILE=$audio")
audio_size() { stat -c %s "$audio" 2>/dev/null || echo 0; }

# nonzero_bytes FROM [LENGTH]: the non-zero bytes among those written from FROM.
# A sound device opened anew starts its file again: FROM then counts from 0.
nonzero_bytes() {
  local from="$1"
  [ "$(audio_size)" -lt "$from" ] && from=0
  if [ $# -ge 2 ]; then
    tail -c +$((from + 1)) "$audio" 2>/dev/null | head -c "$2" | tr -d '\000' | wc -c
  else
    tail -c +$((from + 1)) "$audio" 2>/dev/null | tr -d '\000' | wc -c
  fi
}
# sound_after FROM: something was heard after byte FROM.
sound_after() { [ "$(nonzero_bytes "$1")" -gt 0 ]; }
# quiet_for MS: nothing but silence has been written for MS milliseconds of
# wall time. It counts from mark_quiet, and starts again at each sound; a
# device that writes nothing while all is silent is quiet too.
mark_quiet() {
  audio_mark=$(audio_size)
  quiet_since=$(date +%s%N)
}
quiet_for() {
  if sound_after "$audio_mark"; then
    mark_quiet
    return 1
  fi
  [ "$(ms_since "$quiet_since")" -ge "$1" ]
}
