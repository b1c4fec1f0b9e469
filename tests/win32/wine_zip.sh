#!/usr/bin/env bash
# The Windows zip as a player gets it: unpacked into a temporary folder, Shardfall.exe
# started from another folder shows its main menu (it finds its data beside itself, not in
# the working folder), and the executable carries its icon and version resources.
# Usage: wine_zip.sh BUILD-WIN32-DIR WINEPREFIX. Exits 77 when a tool is missing.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=$(cd "${1:?usage: wine_zip.sh BUILD-WIN32-DIR WINEPREFIX}" && pwd)
prefix=${2:?usage: wine_zip.sh BUILD-WIN32-DIR WINEPREFIX}

source "$here/wine_lib.sh"
wine_require_tools wine Xvfb xdotool xwininfo import convert x86_64-w64-mingw32-objdump
zip=$(ls "$build"/Shardfall-*-win64.zip 2>/dev/null | head -n1)
[ -n "$zip" ] || fail "no Shardfall-*-win64.zip in $build (cpack -G ZIP makes it)"

wine_make_tmp sf-winzip
mkdir -p "$tmp/unpacked" "$tmp/elsewhere"
(cd "$tmp/unpacked" && cmake -E tar xf "$zip")
folder=$(ls -d "$tmp"/unpacked/Shardfall-*-win64)
for f in Shardfall.exe Shardfall.pxa config.cfg README.txt Shardfall/about.html; do
  [ -f "$folder/$f" ] || fail "the zip lacks $f"
done

note "resources of Shardfall.exe"
# The top level of the resource tree lists the types: 3 icon images, 14 (0xe) the icon
# group the window class loads as icon 1, 16 (0x10) the version information.
types=$(x86_64-w64-mingw32-objdump -p "$folder/Shardfall.exe" | sed -n '/The .rsrc Resource Directory/,$p' |
  sed -n 's/^[0-9a-f]*   Entry: ID: 0x0*\([0-9a-f]*\),.*/\1/p' | tr '\n' ' ')
for type in 3 e 10; do
  grep -qw "$type" <<<"$types" || fail "Shardfall.exe lacks resource type 0x$type (has: $types)"
done

wine_use_display

note "started from another folder"
# Windowed, so the picture sits in a known place whatever the stored mode.
(cd "$tmp/elsewhere" && exec sh "$root/cmake/wine-run.sh" "$prefix" "$folder/Shardfall.exe" --windowed) \
  >"$tmp/game.out" 2>&1 &
game=$!
pids+=($game)
wine_find_window
# The main menu: the picture is lit almost everywhere (a game without its data drew black).
menu_shown() {
  import -window "$window" "$tmp/menu.png" 2>/dev/null || return 1
  lit=$(convert "$tmp/menu.png" -threshold 4% -format '%[fx:mean]' info:)
  awk -v m="$lit" 'BEGIN { exit !(m > 0.3) }'
}
lit=0
wait_for "$deadline_s" menu_shown || fail "no main menu from the unpacked zip (lit share $lit)"
note "main menu shown (lit share $lit)"
log="$prefix/drive_c/users/$(id -un)/AppData/Roaming/Quillmoor/Shardfall/log.txt"
grep -a "Game data from" "$log" | tail -n1 | grep -qi "unpacked" || fail "the game did not read the unpacked data: $(grep -a 'Game data from' "$log" | tail -n1)"

note "Escape quits"
# Without a window manager the keyboard follows the pointer: a spot of the menu without a button.
read -r wx wy <<<"$(xwininfo -id "$window" | awk '/Absolute upper-left X:/ {x=$4} /Absolute upper-left Y:/ {y=$4} END {print x, y}')"
xdotool mousemove $((wx + 40)) $((wy + 440))
sleep 0.3
xdotool key Escape
wait_for "$deadline_s" sh -c "! kill -0 $game" || fail "Escape did not quit"
rc=0
wait "$game" || rc=$?
[ "$rc" -eq 0 ] || fail "exit code $rc"
echo "PASS"
