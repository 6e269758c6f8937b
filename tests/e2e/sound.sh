#!/usr/bin/env bash
# The game as heard, through SDL's disk audio driver: the title's sound effect
# reaches the output before any music, the battle's music sounds on and on,
# and Esc ends the program and its sound. Usage: sound.sh <tobble7>
. "$(dirname "$0")/lib.sh"
program="$1"

cursor=5a1e28
signboard=$(art_pixel kanban.png 20 48)
quarter_second=44100   # bytes of 44.1 kHz 16-bit stereo output

framed() { [ "$(pixel $((95 + 96 * $1)) 448)" = "$cursor" ]; }

start_display

# The title. The program is held (SIGSTOP), its sound with it, whenever the
# screen and the output are read, so what has been written at a look that
# still shows the title was written before the battle's music could start.
env "${audio_env[@]}" "$program" >"$work/stdout" 2>"$work/stderr" &
pid=$!
title_heard() {
  framed 3 && fail "the battle began before the title's sound effect was heard"
  [ "$(pixel 244 230)" = "$signboard" ] && sound_after 0
}
t0=$(date +%s%N)
look_held "no sound at the title" 0.1 title_heard
echo "  the title's sound effect, before any music: $(ms_since "$t0") ms"

# The battle: its music sounds in every quarter of a second of a stretch
# longer than any sound effect (the longest lasts 1.8 s).
battle() { capture && framed 3; }
wait_until "the battle" battle
audio_mark=$(audio_size)
sounding() {
  local size from
  size=$(audio_size)
  [ $((size - audio_mark)) -ge $((12 * quarter_second)) ] || return 1
  for ((from = audio_mark; from < audio_mark + 12 * quarter_second; from += quarter_second)); do
    [ "$(nonzero_bytes "$from" "$quarter_second")" -gt 0 ] || fail "silence in the battle's music"
  done
}
wait_until "three seconds of the battle's music, without a pause" sounding

# Esc ends the program, and with it its output.
key Escape
wait_for_end "the end after Esc"
echo ok
