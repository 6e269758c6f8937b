#!/usr/bin/env bash
# The epilogue as a player who has won meets it: the scripted winning game,
# played headless into a copy of the program folder, writes the clear file;
# the manual started there opens item 17; Right starts the show (the music
# stops), Left aborts it back to the menu, whose music plays again.
# Usage: epilogue.sh <path to 説明書> <path to the replay tool>
. "$(dirname "$0")/lib.sh"
program="$1"
replay="$2"

text=5a321e
cream=fff0bf
white=ffffff
black=000000
half_second=88200   # bytes of 44.1 kHz 16-bit stereo output

won_game_folder "$program" "$replay"

# Item 17 of a won game: the cursor on it and the three lines of instructions
# in the cream box.
instructions() {
  local y k
  rows_near 425 0 225 576 "$text" 19%
  for k in 0 1 2; do
    for ((y = 213 + 30 * k; y <= 221 + 30 * k; y++)); do [ "${row_has[$y]:-0}" -eq 1 ] && continue 2; done
    return 1
  done
}
item_17_open() { capture && [ "$(pixel 66 507)" = "$white" ] && [ "$(pixel 400 250)" = "$cream" ] && instructions; }
menu_music() { sound_after "$audio_mark"; }

start_display
start_program "${audio_env[@]}" "$work/bin/$(basename "$program")"
wait_until "the menu" shows 66 107 "$white"
audio_mark=0
wait_until "the menu music heard" menu_music
for _ in $(seq 16); do key Down; done
wait_until "item 17 open, with its instructions" item_17_open

key Right
wait_until "the show: the blinds closed over the menu" shows_all "100 300 $black" "400 300 $black" "700 500 $black"
mark_quiet
wait_until "the menu music silent (for a second)" quiet_for 1000

key Left
wait_until "back on the menu, item 17" item_17_open
# Left's own sound is short: what sounds half a second later is the music.
audio_mark=$(($(audio_size) + half_second))
wait_until "the menu music heard again" menu_music

key Escape
wait_for_end "the end after Esc"
echo ok
