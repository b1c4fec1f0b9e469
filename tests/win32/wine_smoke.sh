#!/usr/bin/env bash
# The Windows game under Wine on a private X server: the window opens full screen with a
# picture, a click and F7 arrive (F7 gives the 640 x 480 window), Escape quits, and the
# settings reach the registry and "Scores.sfs" the all-users data folder of the prefix.
# Usage: wine_smoke.sh BUILD-WIN32-DIR WINEPREFIX. Exits 77 when a tool is missing.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=$(cd "${1:?usage: wine_smoke.sh BUILD-WIN32-DIR WINEPREFIX}" && pwd)
prefix=${2:?usage: wine_smoke.sh BUILD-WIN32-DIR WINEPREFIX}
gamedir=$build/game

source "$here/wine_lib.sh"
wine_require_tools wine Xvfb xdotool xwininfo import convert
[ -f "$gamedir/Shardfall.exe" ] || fail "no Shardfall.exe in $gamedir"
[ -f "$gamedir/Shardfall.pxa" ] || fail "no Shardfall.pxa in $gamedir"
wine_run() { sh "$root/cmake/wine-run.sh" "$prefix" "$@"; }

wine_make_tmp sf-wine
wine_use_display
xset r off 2>/dev/null || true

# A first start: no settings yet, no scores.
wine_run reg delete 'HKCU\Software\Quillmoor' /f >/dev/null 2>&1 || true
scores="$prefix/drive_c/ProgramData/Quillmoor/Shardfall/Scores.sfs"
rm -f "$scores"

(cd "$gamedir" && exec sh "$root/cmake/wine-run.sh" "$prefix" Shardfall.exe) >"$tmp/game.out" 2>&1 &
game=$!
pids+=($game)
wine_find_window
size() { xwininfo -id "$window" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}'; }
size_is() { [ "$(size)" = "$1" ]; }

note "window: full screen on the first start"
wait_for "$deadline_s" size_is 1280x1024 || fail "first start: window is $(size), wanted 1280x1024"
# Pixels of the picture that are not black (the picture is 4:3 in rows 32..991).
lit_share() {
  import -window root "$tmp/full.png" &&
    convert "$tmp/full.png" -crop 1280x960+0+32 -threshold 1% -format '%[fx:mean]' info:
}
shows_main_menu() { awk -v m="$(lit_share)" 'BEGIN { exit !(m > 0.25) }'; }
wait_for "$deadline_s" shows_main_menu || fail "the main menu shows no picture (lit share $(lit_share))"

note "a click and F7 arrive: the window becomes 640 x 480"
# A click where the main menu has no button (frame pixel 40, 440).
xdotool mousemove 80 912 click 1
sleep 0.5
kill -0 "$game" 2>/dev/null || fail "the game ended after a click"
xdotool key F7
# An unmanaged window's X window also holds the frame Wine draws itself around the
# 640 x 480 client area: a few pixels at the sides and a title bar.
windowed_size() {
  local w h
  IFS=x read -r w h <<<"$(size)"
  [ "$w" -ge 640 ] && [ "$w" -le 660 ] && [ "$h" -ge 480 ] && [ "$h" -le 520 ]
}
wait_for "$deadline_s" windowed_size || fail "after F7: window is $(size), wanted 640 x 480 and Wine's frame"

note "Escape quits"
# Without a window manager the keyboard follows the pointer: put it over the window (on a
# spot of the main menu without a button).
xdotool mousemove 360 712
sleep 0.3
xdotool key Escape
wait_for "$deadline_s" sh -c "! kill -0 $game" || fail "Escape did not quit the main menu"
rc=0
wait "$game" || rc=$?
[ "$rc" -eq 0 ] || fail "exit code $rc"

note "settings in the registry, scores in the all-users data folder"
values=$(wine_run reg query 'HKCU\Software\Quillmoor\Shardfall' 2>/dev/null | tr -d '\r')
echo "$values" | grep -Eq 'Full Screen[[:space:]]+REG_DWORD[[:space:]]+0x0+$' || fail "Full Screen is not 0: $values"
echo "$values" | grep -Eq 'Swap Controls[[:space:]]+REG_DWORD' || fail "no Swap Controls: $values"
echo "$values" | grep -q 'LastHighScoreName' || fail "no LastHighScoreName: $values"
[ -s "$scores" ] || fail "no Scores.sfs in the all-users data folder"
grep -q "Window Created" "$prefix/drive_c/users/$(id -un)/AppData/Roaming/Quillmoor/Shardfall/log.txt" ||
  fail "log.txt does not record the window"
echo "PASS"
