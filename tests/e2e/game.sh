#!/usr/bin/env bash
# The game as a player meets it: the title, the battle, a selection and a move
# seen on the screen, Esc to quit; then a click during the title's animation,
# which ends the program once the animation is over. Usage: game.sh <tobble7>
. "$(dirname "$0")/lib.sh"
program="$1"

cursor=5a1e28   # the frame of the selected face and the selection ring
# The title: a piece of the signboard, and of the logo's top rows, which only
# its last step of rising puts at their place.
signboard=$(art_pixel kanban.png 20 48)   # shown at (224, 182) + (20, 48)
logo_top=$(art_pixel rogo.png 30 4)       # the risen logo stands at (352, 310)
# An idle member's orb: orange at Short, blue at Long, the same in both frames.
short_orb=$(art_pixel tiles-game.png 16 48)
long_orb=$(art_pixel tiles-game.png 16 112)

# Member c stands at x 224 + 48c; a row's top is 170 + 55 × position
# (Short 1, Long 2); the orb's pixel lies 16 right of and 16 below that.
orb_at() { shows_near $((224 + 48 * $1 + 16)) $((170 + 55 * $2 + 16)) "$3"; }
# The frame of the selected face: the middle of its top side, above face c.
framed() { [ "$(pixel $((95 + 96 * $1)) 448)" = "$cursor" ]; }
selected() { capture && framed "$1" && ! framed "$2"; }

start_display
start_program SDL_AUDIODRIVER=dummy "$program"
# The title lasts about 2.4 s; a machine too busy to look in that time meets
# the battle first (the second run below sees the title for sure).
seen=""
title_or_battle() {
  capture || return 1
  if [ "$(pixel 244 230)" = "$signboard" ] && [ "$(pixel 382 314)" = "$logo_top" ]; then seen=title; fi
  [ -n "$seen" ] || ! framed 3 || seen="the battle (the title passed unseen)"
  [ -n "$seen" ]
}
wait_until "the signboard and the risen logo" title_or_battle
[ "$seen" = title ] || echo "  seen first: $seen"
wait_until "the battle, member 3 selected" selected 3 2
wait_until "member 2 idle at Long" orb_at 2 2 "$long_orb"
orb_at 2 1 "$short_orb" && fail "an orange orb at Short before the move"
key Left
wait_until "member 2 selected" selected 2 3
key Up
wait_until "member 2 arrived at Short" orb_at 2 1 "$short_orb"
key Escape
wait_for_end "the end after Esc"

# A look: the logo risen or the battle is too late; the signboard alone is
# the animation, clicked at once.
click_in_title() {
  if [ "$(pixel 382 314)" = "$logo_top" ] || framed 3; then
    state=late
  elif [ "$(pixel 244 230)" = "$signboard" ]; then
    state=caught
    click 384 100
  else
    return 1
  fi
}

# Again, and a click while the title's animation waits. The program is held
# (SIGSTOP) from its start whenever the screen is read, so that a look falls
# between the signboard and the last step of the logo, and the click with it;
# a run whose title passed between two looks is tried again.
for attempt in 1 2 3 4 5; do
  env SDL_AUDIODRIVER=dummy "$program" &
  pid=$!
  win=""
  state=""
  t0=$(date +%s%N)
  look_held "no title" 0.02 click_in_title
  [ "$state" = caught ] && break
  echo "  attempt $attempt: the logo had risen between two looks; again"
  kill -KILL "$pid"
  wait "$pid" 2>/dev/null
  pid=""
done
[ "$state" = caught ] || fail "no look at the screen fell inside the title's animation"
echo "  clicked $(ms_since "$t0") ms after the start, while the logo was still rising"
wait_for_end "the end after the click"
echo ok
