#!/usr/bin/env bash
# The real game under a private X server: a first start fills the screen, F7 gives the
# 640 x 480 window, SIGTERM shuts down in order (exit 0, "Full Screen" stored as 0) and the
# next start opens windowed.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/e2e_lib.sh"
e2e_require_tools
gamedir=${1:?usage: window_modes.sh BUILD/game}
[ -x "$gamedir/shardfall" ] || e2e_fail "no game executable in $gamedir"

e2e_start_display

e2e_note "first start: full screen"
e2e_start_game "$gamedir"
e2e_expect_size 1280x1024 "first start"
# The game's picture covers the whole display: no magenta desktop in any corner.
desktop_at() { [ "$(e2e_pixel "$1" "$2" "$3")" = "#FF00FF" ]; }
covers_display() {
  local corner
  for corner in "0 0" "1279 0" "0 1023" "1279 1023" "640 512"; do
    ! desktop_at "$1" $corner || return 1
  done
}
e2e_expect_shot "$E2E_TMP/full.png" "the desktop still shows in full screen" covers_display

e2e_note "F7: windowed"
xdotool mousemove 640 512
xdotool key F7
e2e_expect_size 640x480 "after F7"
# Centred on the display (the frame sits at (320, 272) give or take the decorations).
centred() {
  e2e_refresh_window
  read -r wx wy <<<"$(e2e_window_origin)"
  [ "$wx" -ge 300 ] && [ "$wx" -le 340 ] && [ "$wy" -ge 240 ] && [ "$wy" -le 300 ]
}
e2e_wait_for "$E2E_DEADLINE" centred || e2e_fail "the window is not centred: its picture starts at $wx,$wy"
# The desktop shows again around the window, and the window holds a picture.
shows_window() { desktop_at "$1" 0 0 && ! desktop_at "$1" $((wx + 320)) $((wy + 240)); }
e2e_expect_shot "$E2E_TMP/windowed.png" "the window still covers the display corner, or its middle shows the desktop" shows_window

e2e_stop_game
[ "$GAME_RC" -eq 0 ] || e2e_fail "exit code $GAME_RC after SIGTERM"
values="$XDG_CONFIG_HOME/Software/Quillmoor/Shardfall/values.txt"
[ -f "$values" ] || values=$(find "$XDG_CONFIG_HOME" -name values.txt | head -n1)
grep -qP '^u32\tFull Screen\t0$' "$values" || e2e_fail "settings do not hold Full Screen = 0: $(cat "$values")"
log=$(find "$XDG_DATA_HOME" -name log.txt | head -n1)
[ -n "$log" ] && grep -q "Window Created" "$log" || e2e_fail "log.txt does not record the window"

e2e_note "second start: windowed"
e2e_start_game "$gamedir"
e2e_expect_size 640x480 "second start"
# Once the first picture is up, the window has had every chance to change its mode.
e2e_refresh_window
read -r wx wy <<<"$(e2e_window_origin)"
has_picture() { ! desktop_at "$1" $((wx + 320)) $((wy + 240)); }
e2e_expect_shot "$E2E_TMP/second.png" "the second start shows no picture" has_picture
e2e_window_size_is 640x480 || e2e_fail "second start left the window at $(e2e_window_size)"
e2e_stop_game
[ "$GAME_RC" -eq 0 ] || e2e_fail "exit code $GAME_RC after the second SIGTERM"
echo "PASS"
