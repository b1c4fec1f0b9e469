#!/usr/bin/env bash
# A visit with the keyboard only: the pointer is parked outside the game's window before the
# game starts and no mouse event is sent after that. From the main menu the arrows and Return
# start a game, Return on the instructions starts it, a little play, pause and resume, the
# quit question answered No (stays in play) and then Yes (back to the menu), the high scores
# opened and left through their Done button, and Quit reached with Tab; the game exits 0.
# Each screen with a focus is photographed, and the focused button must look different
# from the same button without the focus.
# Usage: keyboard_only.sh BUILD/game [SHOT_DIR]   (SHOT_DIR keeps the screenshots)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/e2e_lib.sh"
e2e_require_tools
gamedir=${1:?usage: keyboard_only.sh BUILD/game [SHOT_DIR]}
[ -x "$gamedir/shardfall" ] || e2e_fail "no game executable in $gamedir"

e2e_start_player
shots=${2:-$shots}
mkdir -p "$shots"

# The pointer goes to the display's far corner, away from where the window will be placed;
# this is the script's only pointer event and it comes before the game exists.
xdotool mousemove 1279 1023

# The menu buttons (200 x 40 at x 220) by their top; the high scores' Done button.
easy=132 medium=178 hard=224 highscores=282 options=328 webpage=374 quit=430
menu_button() { echo "200x40+220+$1"; }
done_rect=100x30+270+404

# Presses KEY, then takes screenshot NAME until its rectangle RECT differs from the one in
# screenshot BEFORE: the focus moved there (or the screen changed).
key_until_changed() {
  local k=$1 name=$2 before=$3 rect=$4
  key "$k"
  shot_until_differs "$name" "$before" "$rect" || e2e_fail "$k did not change $rect ($name against $before)"
}

e2e_note "the main menu, no focus shown until a key is used"
e2e_start_game "$gamedir"
e2e_expect_size 640x480 "start"
find_origin
e2e_expect_shot "$E2E_TMP/start.png" "the window shows no picture" shows_picture
find_origin
e2e_wait_for "$E2E_DEADLINE" region_still "$band_rect" || e2e_fail "the main menu does not settle"
shot menu_plain

e2e_note "Down shows the focus on Easy, Down again moves it to Medium, Up back to Easy"
key_until_changed Down menu_focus_easy menu_plain "$(menu_button $easy)"
key_until_changed Down menu_focus_medium menu_focus_easy "$(menu_button $medium)"
same menu_plain menu_focus_medium "$(menu_button $easy)" || e2e_fail "Easy still looks focused after Down"
key_until_changed Up menu_focus_easy_again menu_focus_medium "$(menu_button $easy)"

e2e_note "Return on Easy: the instructions; Return starts the game"
key Return
new_screen menu_plain || e2e_fail "Return on Easy did not show the instructions"
shot instructions
cp "$shots/instructions.png" "$E2E_TMP/instructions.png"
press_until Return region_left instructions "$band_rect" || e2e_fail "Return did not leave the instructions"
e2e_wait_for "$E2E_DEADLINE" game_up || e2e_fail "the game did not come up after the instructions"

e2e_note "a little play, pause and resume"
shot play_start
key space; sleep 0.3
shot play_a
key Left Left Left; sleep 0.3
key Down
field_moved() { shot play_b; [ "$(region_diff play_a play_b 288x470+112+4)" -gt 50 ]; }
e2e_wait_for "$E2E_DEADLINE" field_moved || e2e_fail "the field did not change while playing"
cp "$shots/play_b.png" "$shots/play_ref.png"
key p
paused() { shot paused; differs play_b paused 288x470+112+4; }
e2e_wait_for "$E2E_DEADLINE" paused || e2e_fail "p did not pause"
key p; sleep 0.4

e2e_note "the quit question: Right shows the focus on Yes, Right again No, Return answers No"
key Escape
asked() { shot quit_question; differs play_b quit_question 300x120+170+180; }
e2e_wait_for "$E2E_DEADLINE" asked || e2e_fail "Escape did not ask the quit question"
# The buttons' row: the lower part of the box in the middle of the frame.
buttons_rect=240x40+200+250
key_until_changed Right quit_focus_yes quit_question "$buttons_rect"
key_until_changed Right quit_focus_no quit_focus_yes "$buttons_rect"
key Return
question_gone() { shot after_no; differs quit_focus_no after_no "$buttons_rect"; }
e2e_wait_for "$E2E_DEADLINE" question_gone || e2e_fail "No did not close the quit question"
sleep 0.5
in_play || e2e_fail "No left the game"

e2e_note "the quit question again: Yes leaves for the main menu"
key Escape
asked_again() { shot quit_question_2; differs after_no quit_question_2 240x40+200+250; }
e2e_wait_for "$E2E_DEADLINE" asked_again || e2e_fail "Escape did not ask the quit question again"
key_until_changed Right quit_focus_yes_2 quit_question_2 "$buttons_rect"
key Return
expect_not_in_play "Yes did not leave the game"
new_screen quit_question_2 || e2e_fail "the main menu did not come back"
shot menu_back

e2e_note "the high scores: Down to the High Scores button, Return, Done with the focus"
key_until_changed Down menu2_focus_easy menu_back "$(menu_button $easy)"
key Down; key Down
key_until_changed Down menu2_focus_highscores menu2_focus_easy "$(menu_button $highscores)"
key Return
new_screen menu2_focus_highscores || e2e_fail "Return on High Scores did not show them"
shot highscores
key_until_changed Down highscores_focus_done highscores "$done_rect"
key Return
new_screen highscores_focus_done || e2e_fail "Return on Done did not leave the high scores"
shot menu_third

e2e_note "Tab walks the menu to Quit; Return quits"
key_until_changed Tab menu3_focus_easy menu_third "$(menu_button $easy)"
key Tab Tab Tab Tab Tab
key_until_changed Tab menu3_focus_quit menu3_focus_easy "$(menu_button $quit)"
same menu_plain menu3_focus_quit "$(menu_button $webpage)" || e2e_fail "Web Page still looks focused after Tab"
key Return
wait_for_quit "Return on Quit did not quit"
[ "$GAME_RC" -eq 0 ] || e2e_fail "exit code $GAME_RC after quitting"
echo "PASS"
