#!/usr/bin/env bash
# The manual as a reader meets it: Down through all seventeen items, then the
# fourteen pages of the prologue, each screen proved by a few of its pixels;
# Esc ends the program. Usage: manual.sh <path to 説明書>
. "$(dirname "$0")/lib.sh"
program="$1"

text=5a321e   # the text of the menu and of every page
cream=fff0bf
white=ffffff
red=ff0000

# A copy of the program folder without a clear file: item 17 stays closed.
mkdir -p "$work/bin/se"
cp "$program" "$work/bin/"
cp -r "$(dirname "$program")/bg" "$work/bin/"
cp "$(dirname "$program")"/se/*.wav "$work/bin/se/" 2>/dev/null

# Conditions on the captured screen. A text line of a page stands in the band
# 3 to 11 pixels below its top; a blank line leaves that band without text.
# Thin text is mostly its smoothed edge: near the text colour counts.
dot() { [ "$(pixel 66 $((82 + 25 * $1)))" = "$white" ]; }   # the cursor on item k
at() { [ "$(pixel "$1" "$2")" = "$3" ]; }
has_text() {
  local y
  for ((y = $1 + 3; y <= $1 + 11; y++)); do [ "${row_has[$y]:-0}" -eq 1 ] && return 0; done
  return 1
}
# text Y0 DY N "BLANKS": N lines from Y0, DY apart, with text in all of them
# but the blank ones: the page's shape, different from page to page.
text() {
  local i
  rows_near 285 0 460 576 "$text" 19%
  for ((i = 0; i < $3; i++)); do
    if [[ " $4 " == *" $i "* ]]; then
      has_text $(($1 + $2 * i)) && return 1
    else
      has_text $(($1 + $2 * i)) || return 1
    fi
  done
  return 0
}
# A frame of the highlight box: red, white, red, two pixels apart from x.
frame() { at $(($1 - 2)) "$2" $red && at "$1" "$2" $white && at $(($1 + 2)) "$2" $red; }
# Pixels of the pictures the manual carries, where the pages put them.
gamen=$(art_pixel gamen.png 17 90)
jin3=$(art_pixel jin-3.png 85 100)
jin4=$(art_pixel jin-4.png 60 130)
jin1=$(art_pixel jin-1.png 65 130)

# The page of item k.
page() {
  case "$1" in
  1) text 70 30 15 "3 8 11" ;;
  2) text 80 30 15 "2 6 11" ;;
  3) at 317 130 "$gamen" && text 375 30 6 "5" ;;   # the picture without a frame
  4) frame 317 130 && text 360 30 6 "" ;;
  5) frame 604 130 && text 375 30 6 "5" ;;
  6) frame 325 290 && text 360 30 6 "" ;;
  7) frame 405 206 && text 365 30 6 "" ;;
  8) text 56 25 19 "4 8 13" ;;
  9) text 40 21 24 "3 8 12 16 19" ;;
  10) text 56 25 13 "2 6 11 12" ;;   # eleven lines, nothing below them
  11) text 42 25 20 "2 5 9 14" ;;
  12) text 70 45 10 "" ;;
  13) at 530 200 $cream && at 410 160 "$jin3" ;;   # a portrait in its card
  14) at 640 190 "$jin4" ;;
  15) at 405 205 "$jin1" ;;
  16) at 320 300 $cream && prologue 0 ;;
  # Not won: the cream box without its instructions.
  17) at 400 250 $cream && rows_near 425 0 225 576 "$text" 19% && ! has_text 210 && ! has_text 240 && ! has_text 270 ;;
  esac
}
item_shows() { capture && dot "$1" && page "$1"; }

# Prologue page p: 19 lines 23 pixels apart, the last page 21 lines 19 apart.
blank_lines=("1 7 13 17 18" "11 15 16 17 18" "3 10 11 17 18" "2 7 15 18" "2 9 14 18" "10 18"
  "2 7 14 17 18" "5 9 14 18" "5 18" "3 7 11 15 16 17 18" "3 7 18" "7 13 18" "4 8 12 17 18" "7 10 18")
prologue() {
  if [ "$1" -eq 13 ]; then text 90 19 21 "${blank_lines[13]}"; else text 90 23 19 "${blank_lines[$1]}"; fi
}
# Turning pages keeps the cursor on item 16 and the cream box.
prologue_shows() { capture && dot 16 && at 320 300 $cream && prologue "$1"; }

start_display
start_program SDL_AUDIODRIVER=dummy "$work/bin/$(basename "$program")"
wait_until "item 1" item_shows 1
for k in $(seq 2 17); do
  key Down
  wait_until "item $k" item_shows "$k"
done
key Up
wait_until "back on item 16" item_shows 16
for p in $(seq 1 13); do
  key Right
  wait_until "prologue page $((p + 1))" prologue_shows "$p"
done
key Escape
wait_for_end "the end after Esc"
echo ok
