#!/usr/bin/env bash
# A player's whole visit, driven with xdotool on a private X server: each difficulty from the
# main menu, the instructions, pieces that move and land, pause and resume, the quit question,
# a game played until it is lost, a name typed into the high-score dialog and shown on the
# high-score screen, back to the main menu, Escape to quit; then a second start that still
# has the name in the table and the settings that were saved.
# Usage: playthrough.sh BUILD/game [SHOT_DIR]   (SHOT_DIR keeps the screenshots)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/e2e_lib.sh"
e2e_require_tools
gamedir=${1:?usage: playthrough.sh BUILD/game [SHOT_DIR]}
[ -x "$gamedir/shardfall" ] || e2e_fail "no game executable in $gamedir"

e2e_start_display
shots=${2:-$E2E_TMP/shots}
mkdir -p "$shots"

# Windowed from the first start: frame pixels map 1:1 onto the display.
keydir="$XDG_CONFIG_HOME/Software/Quillmoor/Shardfall"
mkdir -p "$keydir"
printf 'PXSettings 1\nu32\tFull Screen\t0\n' >"$keydir/values.txt"

# Frame pixel (x, y) → display pixel, once the window is placed.
ORIGIN_X=0 ORIGIN_Y=0
find_origin() { read -r ORIGIN_X ORIGIN_Y <<<"$(e2e_window_origin)"; }
click_at() { xdotool mousemove $((ORIGIN_X + $1)) $((ORIGIN_Y + $2)) click 1; }
move_to() { xdotool mousemove $((ORIGIN_X + $1)) $((ORIGIN_Y + $2)); }
key() { xdotool key "$@"; }
# The whole frame of the window as a PNG.
shot() { import -window root -crop "640x480+$ORIGIN_X+$ORIGIN_Y" +repage "$shots/$1.png"; }
# How many pixels of two screenshots differ inside a frame rectangle WxH+X+Y (0 = the same).
crop_diff() {
  convert "$1" -crop "$3" +repage "$E2E_TMP/crop_a.png"
  convert "$2" -crop "$3" +repage "$E2E_TMP/crop_b.png"
  compare -metric AE -fuzz 8% "$E2E_TMP/crop_a.png" "$E2E_TMP/crop_b.png" null: 2>&1 | awk '{print int($1); exit}'
}
region_diff() { crop_diff "$shots/$1.png" "$shots/$2.png" "$3"; }
# A scene change plays a one-second band transition.
settle() { sleep "${1:-1.6}"; }

# The game's info strip shows only in play; its "NEXT" well is dark while the menus are not.
in_play() {
  import -window root -crop "640x480+$ORIGIN_X+$ORIGIN_Y" +repage "$E2E_TMP/probe.png"
  [ "$(region_diff_probe)" -lt 200 ]
}
region_diff_probe() { crop_diff "$E2E_TMP/probe.png" "$shots/play_ref.png" 128x40+400+440; }

start_windowed() {
  e2e_start_game "$gamedir"
  e2e_expect_size 640x480 "start"
  sleep 0.5
  find_origin
  move_to 600 20
}

# One game on the chosen menu button: instructions, start, moves, pause, resume.
play_a_little() {
  local name=$1 button_y=$2
  click_at 320 "$button_y"; settle
  shot "instr_$name"
  key x; settle
  shot "paused_start_$name"
  key space; sleep 0.3
  shot "moving_a_$name"
  key Left Left Left; sleep 1.5
  key Down; sleep 1.5
  shot "moving_b_$name"
  [ "$(region_diff "moving_a_$name" "moving_b_$name" 288x470+112+4)" -gt 50 ] ||
    e2e_fail "$name: the field did not change while playing"
  key p; sleep 0.4
  shot "paused_$name"
  key p; sleep 0.4
}

e2e_note "first start: the main menu"
start_windowed
shot mainmenu
[ "$(e2e_pixel "$shots/mainmenu.png" 320 160)" != "#000000" ] || e2e_fail "the main menu is black"

e2e_note "each difficulty, then the quit question back to the menu"
for entry in "easy 160" "medium 208" "hard 256"; do
  set -- $entry
  play_a_little "$1" "$2"
  cp "$shots/moving_b_$1.png" "$shots/play_ref.png"
  key Escape; sleep 0.5
  shot "quit_question_$1"
  key y; settle
  shot "back_to_menu_$1"
  ! in_play || e2e_fail "$1: the quit question's Yes did not leave the game"
done

e2e_note "a hard game played until it is lost"
click_at 320 256; settle
key x; settle
key space; sleep 0.3
move_to 256 240
xdotool keydown Down
deadline=$((SECONDS + 240))
while in_play; do
  [ $SECONDS -ge $deadline ] && { xdotool keyup Down; e2e_fail "the game was not lost within 4 minutes"; }
  sleep 2
  # After the game is over the message box takes Return (OK) and the high scores follow.
  import -window root -crop "640x480+$ORIGIN_X+$ORIGIN_Y" +repage "$shots/game_over.png"
  key Return
  # Let a scene change that Return may have started finish before looking again, so that
  # the next Return does not close the name dialog of the high-score screen.
  settle
done
xdotool keyup Down
settle 1.2
shot highscore_entry

e2e_note "the name goes into the table"
# The first key clears the name the dialog offers.
xdotool type --delay 60 "Tester"
key Return; sleep 0.6
shot highscores
key Escape; settle
shot mainmenu_again

e2e_note "Escape on the main menu quits"
key Escape
deadline=$((SECONDS + 10))
while kill -0 "$GAME_PID" 2>/dev/null; do
  [ $SECONDS -ge $deadline ] && e2e_fail "Escape on the main menu did not quit"
  sleep 0.1
done
GAME_RC=0; wait "$GAME_PID" || GAME_RC=$?
[ "$GAME_RC" -eq 0 ] || e2e_fail "exit code $GAME_RC after quitting"

scores=$(find "$XDG_DATA_HOME" -name Scores.sfs | head -n1)
[ -n "$scores" ] && grep -q "Tester" "$scores" || e2e_fail "Scores.sfs does not hold the typed name"
grep -qP '^str\tLastHighScoreName\tTester$' "$keydir/values.txt" ||
  e2e_fail "the settings do not keep the name: $(cat "$keydir/values.txt")"

e2e_note "second start: the table and the settings are kept"
start_windowed
click_at 320 316; settle
shot highscores_second
key Escape; settle
key Escape
deadline=$((SECONDS + 10))
while kill -0 "$GAME_PID" 2>/dev/null; do
  [ $SECONDS -ge $deadline ] && e2e_fail "the second run did not quit"
  sleep 0.1
done
grep -q "Tester" "$scores" || e2e_fail "the second run lost the table"
grep -qP '^u32\tFull Screen\t0$' "$keydir/values.txt" || e2e_fail "Full Screen was not kept"

log=$(find "$XDG_DATA_HOME" -name log.txt | head -n1)
[ -n "$log" ] || e2e_fail "no log.txt"
if grep -E "Unable to open|unknown class" "$log"; then
  e2e_fail "log.txt names missing files or classes"
fi
echo "PASS"
