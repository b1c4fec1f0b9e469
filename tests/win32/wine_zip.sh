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

fail() { echo "FAIL: $*" >&2; exit 1; }
note() { echo "-- $*"; }
for tool in wine Xvfb xdotool xwininfo import convert x86_64-w64-mingw32-objdump; do
  command -v "$tool" >/dev/null 2>&1 || { echo "SKIP: $tool missing"; exit 77; }
done
zip=$(ls "$build"/Shardfall-*-win64.zip 2>/dev/null | head -n1)
[ -n "$zip" ] || fail "no Shardfall-*-win64.zip in $build (cpack -G ZIP makes it)"

tmp=$(mktemp -d "${TMPDIR:-/tmp}/sf-winzip-XXXXXX")
pids=()
cleanup() {
  local pid
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  rm -rf "$tmp"
}
trap cleanup EXIT
wait_for() {
  local seconds=$1; shift
  local deadline=$((SECONDS + seconds))
  until "$@" >/dev/null 2>&1; do
    [ $SECONDS -ge $deadline ] && return 1
    sleep 0.2
  done
}

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

if [ -n "${SF_WINE_DISPLAY:-}" ]; then
  export DISPLAY=$SF_WINE_DISPLAY
else
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$tmp/display" 2>"$tmp/xvfb.log" &
  pids+=($!)
  wait_for 10 test -s "$tmp/display" || fail "Xvfb did not start"
  export DISPLAY=":$(head -n1 "$tmp/display")"
fi

note "started from another folder"
# Windowed, so the picture sits in a known place whatever the stored mode.
(cd "$tmp/elsewhere" && exec sh "$root/cmake/wine-run.sh" "$prefix" "$folder/Shardfall.exe" --windowed) \
  >"$tmp/game.out" 2>&1 &
game=$!
pids+=($game)
window=""
deadline=$((SECONDS + 90))
while [ -z "$window" ]; do
  [ $SECONDS -ge $deadline ] && { sed 's/^/   game: /' "$tmp/game.out" >&2; fail "no game window appeared"; }
  kill -0 "$game" 2>/dev/null || fail "the game ended early: $(cat "$tmp/game.out")"
  window=$(xdotool search --onlyvisible --name '^Shardfall$' 2>/dev/null | head -n1) || true
  [ -n "$window" ] || sleep 0.2
done
# The main menu: the picture is lit almost everywhere (a game without its data drew black).
menu_shown() {
  import -window "$window" "$tmp/menu.png" 2>/dev/null || return 1
  lit=$(convert "$tmp/menu.png" -threshold 4% -format '%[fx:mean]' info:)
  awk -v m="$lit" 'BEGIN { exit !(m > 0.3) }'
}
lit=0
wait_for 30 menu_shown || fail "no main menu from the unpacked zip (lit share $lit)"
note "main menu shown (lit share $lit)"
log="$prefix/drive_c/users/$(id -un)/AppData/Roaming/Quillmoor/Shardfall/log.txt"
grep -a "Game data from" "$log" | tail -n1 | grep -qi "unpacked" || fail "the game did not read the unpacked data: $(grep -a 'Game data from' "$log" | tail -n1)"

note "Escape quits"
# Without a window manager the keyboard follows the pointer: a spot of the menu without a button.
read -r wx wy <<<"$(xwininfo -id "$window" | awk '/Absolute upper-left X:/ {x=$4} /Absolute upper-left Y:/ {y=$4} END {print x, y}')"
xdotool mousemove $((wx + 40)) $((wy + 440))
sleep 0.3
xdotool key Escape
wait_for 15 sh -c "! kill -0 $game" || fail "Escape did not quit"
rc=0
wait "$game" || rc=$?
[ "$rc" -eq 0 ] || fail "exit code $rc"
echo "PASS"
