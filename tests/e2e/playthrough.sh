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

source "$here/player_lib.sh"
player_seed_windowed

# One game on the chosen menu button: instructions, start, moves, pause, resume.
play_a_little() {
  local name=$1 button_y=$2
  start_game "$button_y"
  cp "$E2E_TMP/instructions.png" "$shots/instr_$name.png"
  shot "paused_start_$name"
  key space; sleep 0.3
  shot "moving_a_$name"
  key Left Left Left; sleep 0.3
  key Down
  field_moved() {
    shot "moving_b_$name"
    [ "$(region_diff "moving_a_$name" "moving_b_$name" 288x470+112+4)" -gt 50 ]
  }
  e2e_wait_for "$E2E_DEADLINE" field_moved || e2e_fail "$name: the field did not change while playing"
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
  key y
  expect_not_in_play "$1: the quit question's Yes did not leave the game"
  settle
  shot "back_to_menu_$1"
done

e2e_note "a hard game played until it is lost"
lose_a_game 240
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
wait_for_quit "Escape on the main menu did not quit"
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
wait_for_quit "the second run did not quit"
grep -q "Tester" "$scores" || e2e_fail "the second run lost the table"
grep -qP '^u32\tFull Screen\t0$' "$keydir/values.txt" || e2e_fail "Full Screen was not kept"

log=$(find "$XDG_DATA_HOME" -name log.txt | head -n1)
[ -n "$log" ] || e2e_fail "no log.txt"
if grep -E "Unable to open|unknown class" "$log"; then
  e2e_fail "log.txt names missing files or classes"
fi
echo "PASS"
