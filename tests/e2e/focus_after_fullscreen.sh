#!/usr/bin/env bash
# A player switches to full screen and back (F7, F7), plays on, then answers another window:
# the game pauses while it is away (its picture stands still) and shows "Game Paused" when
# the player comes back.
# Usage: focus_after_fullscreen.sh BUILD/game [SHOT_DIR]   (SHOT_DIR keeps the screenshots)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/e2e_lib.sh"
e2e_require_tools
command -v xmessage >/dev/null 2>&1 || { echo "SKIP: xmessage missing (package x11-utils)"; exit 77; }
gamedir=${1:?usage: focus_after_fullscreen.sh BUILD/game [SHOT_DIR]}
[ -x "$gamedir/shardfall" ] || e2e_fail "no game executable in $gamedir"

e2e_start_display
shots=${2:-$E2E_TMP/shots}
mkdir -p "$shots"

source "$here/player_lib.sh"
player_seed_windowed

# The field, where the pieces fall (frame pixels).
field=288x470+112+4
# Whether a fresh picture of the frame shows the field as `reference` does.
field_matches() {
  import -window root -crop "640x480+$ORIGIN_X+$ORIGIN_Y" +repage "$E2E_TMP/probe.png"
  [ "$(crop_diff "$E2E_TMP/probe.png" "$shots/$1.png" "$field")" -lt 50 ]
}
# Whether the field stood still over half a second; the later picture is kept as NAME.
field_settles() {
  shot "$1_before"
  sleep 0.5
  shot "$1"
  [ "$(region_diff "$1_before" "$1" "$field")" -lt 50 ]
}
focused_window() { xdotool getwindowfocus 2>/dev/null; }
has_focus() { [ "$(focused_window)" = "$1" ]; }

e2e_note "a medium game (a paused board is hidden), paused once for the picture of the pause"
start_windowed
# The buttons take clicks once the menu has been drawn (a slow start may take a while).
menu_shown() { shot menu && [ "$(e2e_pixel "$shots/menu.png" 320 208)" != "#000000" ]; }
e2e_wait_for 30 menu_shown || e2e_fail "the main menu did not show"
# The pointer rests outside the field, so the cursor sprite is not in the pictures compared.
start_game 208
move_to 600 20
key space; sleep 0.5
key p
e2e_wait_for 10 field_settles paused_ref || e2e_fail "the paused game did not stand still"
key p; sleep 0.3

e2e_note "F7 twice: full screen and back to the window"
key F7
e2e_expect_size 1280x1024 "after the first F7"
key F7
e2e_expect_size 640x480 "after the second F7"
e2e_wait_for 10 has_focus "$GAME_WINDOW" || e2e_fail "the game window lost the focus after F7, F7"
find_origin
move_to 600 20
# F7 pauses the game too; any key plays on.
key space; sleep 0.5
shot running_a
sleep 1.5
shot running_b
[ "$(region_diff running_a running_b "$field")" -gt 50 ] || e2e_fail "the game did not run on after F7, F7"

e2e_note "another window takes the focus"
xmessage -geometry +0+0 "Shardfall e2e: away" 2>/dev/null &
E2E_PIDS+=($!)
other=""
deadline=$((SECONDS + 10))
while [ -z "$other" ]; do
  [ $SECONDS -ge $deadline ] && e2e_fail "the other window did not appear"
  other=$(xdotool search --onlyvisible --class Xmessage 2>/dev/null | head -n1) || true
  [ -n "$other" ] || sleep 0.1
done
xdotool windowactivate "$other" 2>/dev/null || true
e2e_wait_for 10 has_focus "$other" || e2e_fail "the other window did not get the focus"
# The player reads the message for a while; a running game would keep drawing its pieces.
e2e_wait_for 10 field_settles away_a || e2e_fail "the game kept running while another window had the focus"
sleep 3
shot away_b
[ "$(region_diff away_a away_b "$field")" -lt 50 ] || e2e_fail "the game kept running while another window had the focus"

e2e_note "back to the game: it waits, paused"
xdotool windowactivate "$GAME_WINDOW" 2>/dev/null || true
e2e_wait_for 10 has_focus "$GAME_WINDOW" || e2e_fail "the game window did not get the focus back"
# The focus change may report the pointer over the field; the player moves it off again.
move_to 600 20
e2e_wait_for 10 field_matches paused_ref || {
  cp "$E2E_TMP/probe.png" "$shots/back.png"
  e2e_fail "the game does not show \"Game Paused\" on return"
}
shot back

e2e_stop_game
[ "$GAME_RC" -eq 0 ] || e2e_fail "exit code $GAME_RC after SIGTERM"
echo "PASS"
