#!/usr/bin/env bash
# A long visit by the scripted player to one running game: round after round of the main
# menu with its tooltips, each difficulty in turn through the instructions, moves, turns,
# drops, pause and resume, sound off and on, F7 to full screen and back, the quit question
# answered No and then Yes, now and then a game lost to the high-score dialog with a name
# and a look at the high-score screen. The game's resident memory is sampled into a CSV.
# Fails when the game dies, does not quit cleanly (exit 0) at the end, prints a sanitizer
# report, or its memory keeps growing once it has warmed up: the resident size on the main
# menu at the start of each round is compared, so every figure is taken in the same scene
# (runs of six rounds or more; a shorter run's memory verdict is the leak check at exit).
# Usage: soak.sh BUILD/game [SECONDS]   (default 600)
#   SOAK_OUT=DIR keeps rss.csv (every 2 s), menu_rss.csv (on the main menu before each
#   round and at the end), the game's output, its log and screenshots in DIR.
#   SOAK_RSS_BOUND_KIB sets the allowed growth (default 8192).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/e2e_lib.sh"
e2e_require_tools
gamedir=${1:?usage: soak.sh BUILD/game [SECONDS]}
duration=${2:-600}
[ -x "$gamedir/shardfall" ] || e2e_fail "no game executable in $gamedir"
gamedir=$(cd "$gamedir" && pwd)

e2e_start_display
out=${SOAK_OUT:-$E2E_TMP/soak}
mkdir -p "$out"
out=$(cd "$out" && pwd)
shots="$out/shots"
mkdir -p "$shots"
rm -f "$shots"/*.png "$out/rss.csv" "$out/menu_rss.csv" "$out/game.out" "$out/log.txt"
source "$here/player_lib.sh"
player_seed_windowed

# In a sanitizer build the leak check runs when the game quits. The drivers under SDL and
# OpenAL (X11, GL, D-Bus, sound) keep allocations until exit that are not ours: lsan.supp
# names only those libraries, so a leak in our own code still fails the run. A small
# quarantine keeps freed blocks from counting as growth; it still catches use after free
# of anything freed in the last few megabytes of allocations.
export ASAN_OPTIONS=${SOAK_ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1:quarantine_size_mb=4}
export LSAN_OPTIONS="suppressions=$here/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

# Mesa's software renderer is loaded and unloaded again under SDL; once unloaded, the leak
# check cannot name it and its allocations would show as leaks of no library. Loaded ahead
# of the game (after the sanitizer runtime, which must come first) it stays loaded.
asan_lib=$(ldd "$gamedir/shardfall" 2>/dev/null | awk '/libasan/ && !found {print $3; found = 1}')
if [ -n "$asan_lib" ]; then
  E2E_GAME_PRELOAD=$asan_lib
  for dri in /usr/lib/*/dri/swrast_dri.so /usr/lib/dri/swrast_dri.so; do
    [ -f "$dri" ] && E2E_GAME_PRELOAD+=" $dri"
  done
  export E2E_GAME_PRELOAD
fi

# 8 MiB: the sanitizer game sits near 160 MiB and its figures on the main menu move by a few
# MiB between rounds (allocator caches, the sanitizer's quarantine). Growth past that over
# the run is a leak of more than ~15 KiB a second; smaller ones are the exit leak check's.
bound_kib=${SOAK_RSS_BOUND_KIB:-8192}

keep_output() {
  cp "$E2E_TMP/game.out" "$out/game.out" 2>/dev/null || true
  local log
  log=$(find "$XDG_DATA_HOME" -name log.txt 2>/dev/null | head -n1)
  [ -n "$log" ] && cp "$log" "$out/log.txt"
  return 0
}
soak_fail() {
  keep_output
  shot "failure" 2>/dev/null || true
  echo "-- last lines of the game's output:" >&2
  tail -n 40 "$out/game.out" >&2 2>/dev/null || true
  e2e_fail "$* (after $((SECONDS - soak_start)) s, round $round; output in $out)"
}
# Waits for the window size; fails like soak_fail, with the window's state.
expect_size() {
  e2e_wait_for 10 e2e_window_size_is "$1" ||
    soak_fail "$2: window is $(e2e_window_size), wanted $1; focus $(xdotool getwindowfocus 2>&1), window $GAME_WINDOW, state: $(xprop -id "$GAME_WINDOW" _NET_WM_STATE WM_STATE 2>&1 | tr '\n' ' ')"
}
alive() { kill -0 "$GAME_PID" 2>/dev/null || soak_fail "the game died"; }

# The game's resident size now, noted as "round,rss_kib" in menu_rss.csv. Taken on the main
# menu only, so rounds compare like with like: the play scene, a dialog or full screen hold
# more than the menu and would read as growth.
note_menu_rss() {
  local rss
  rss=$(awk '/^VmRSS:/ {print $2}' "/proc/$GAME_PID/status" 2>/dev/null) || true
  [ -n "$rss" ] && echo "$1,$rss" >>"$out/menu_rss.csv"
  return 0
}

# Samples the game's VmRSS every 2 s until it ends: "seconds,rss_kib".
sample_rss() {
  local pid=$1 t0=$SECONDS rss
  echo "seconds,rss_kib" >"$out/rss.csv"
  while rss=$(awk '/^VmRSS:/ {print $2}' "/proc/$pid/status" 2>/dev/null) && [ -n "$rss" ]; do
    echo "$((SECONDS - t0)),$rss" >>"$out/rss.csv"
    sleep 2
  done
}

# The button region of the main menu matches the first screenshot of it (the title's fire
# above it moves, so it is left out).
on_main_menu() {
  move_to 600 20
  import -window root -crop "640x480+$ORIGIN_X+$ORIGIN_Y" +repage "$E2E_TMP/probe.png"
  [ "$(crop_diff "$E2E_TMP/probe.png" "$shots/mainmenu.png" 200x300+220+140)" -lt 200 ]
}

# Every button of the main menu under the pointer, long enough for its tooltip on the last.
hover_menu() {
  local y
  for y in 152 198 244 302 348 394 450; do
    move_to 320 "$y"; sleep 0.3
  done
  move_to 320 $((152 + 46 * (round % 3))); sleep 1.5
  move_to 600 20
}

# One game on the menu button at frame height `button_y`, left by the quit question.
play_round() {
  local name=$1 button_y=$2 i
  start_game "$button_y"
  alive
  key space; sleep 0.3
  for i in 1 2 3; do
    key Left Left; sleep 0.3
    key space; sleep 0.2
    key Right Right Right; sleep 0.4
    key Up; sleep 0.2
    if [ "$name" = easy ]; then
      xdotool keydown Down; sleep 0.8; xdotool keyup Down
    else
      key Down Down
    fi
    sleep 0.5
  done
  [ -s "$shots/play_ref.png" ] || shot play_ref
  e2e_wait_for "$E2E_DEADLINE" in_play || soak_fail "$name: not in play after starting the game"
  alive
  # Pause and resume by key and by the pause button; the play buttons' tooltips.
  key p; sleep 0.5; key p; sleep 0.3
  click_at 420 418; sleep 0.5; key x; sleep 0.3
  move_to 460 418; sleep 1.2
  move_to 256 240
  key s; sleep 0.3; key s; sleep 0.3
  # Full screen and back; F7 pauses, and a key carries on.
  key F7
  expect_size 1280x1024 "$name: F7 to full screen"
  sleep 0.8
  alive
  key F7
  expect_size 640x480 "$name: F7 back to the window"
  sleep 0.5
  find_origin
  move_to 256 240
  key x; sleep 0.3
  key Left space Right; sleep 0.5
  # The quit question: No keeps the game, Yes leaves it.
  key Escape; sleep 0.6
  key n; sleep 0.6
  e2e_wait_for "$E2E_DEADLINE" in_play || soak_fail "$name: the quit question's No left the game"
  key space; sleep 0.4
  key Escape; sleep 0.6
  key y
  e2e_wait_for "$E2E_DEADLINE" not_in_play || soak_fail "$name: the quit question's Yes did not leave the game"
  settle
  alive
}

# A game lost on hard; the name goes into the high-score dialog when the score makes the
# table; the high-score screen, then back to the main menu.
lose_round() {
  lose_a_game 240
  alive
  shot "highscore_entry_$round"
  xdotool type --delay 60 "Soak$round"
  key Return; sleep 0.6
  key Escape; settle
}

# The high-score screen from the main menu and back.
highscore_round() {
  click_at 320 316; settle
  alive
  move_to 320 240; sleep 0.5
  key Escape; settle
}

e2e_note "soak for $duration s (memory on the main menu compared from round 4 on, bound $bound_kib KiB)"
start_windowed
sample_rss "$GAME_PID" &
rss_pid=$!
E2E_PIDS+=("$rss_pid")
# The pointer starts over a button: let its tooltip go before taking the reference.
move_to 600 20; sleep 1.5
shot mainmenu
soak_start=$SECONDS
round=0
difficulties=("easy 160" "medium 208" "hard 256")
while [ $((SECONDS - soak_start)) -lt "$duration" ]; do
  alive
  e2e_wait_for "$E2E_DEADLINE" on_main_menu || soak_fail "round $round did not start on the main menu"
  note_menu_rss "$round"
  hover_menu
  set -- ${difficulties[round % 3]}
  e2e_note "round $round at $((SECONDS - soak_start)) s: $1"
  play_round "$1" "$2"
  case $((round % 4)) in
    1) e2e_wait_for "$E2E_DEADLINE" on_main_menu || soak_fail "not on the main menu before the lost game"
       e2e_note "round $round: a game lost to the high-score dialog"
       lose_round ;;
    3) highscore_round ;;
  esac
  round=$((round + 1))
done
elapsed=$((SECONDS - soak_start))

e2e_note "Escape on the main menu quits"
alive
e2e_wait_for "$E2E_DEADLINE" on_main_menu || soak_fail "not on the main menu at the end"
note_menu_rss end
key Escape
# The leak check at exit takes a moment in a sanitizer build.
deadline=$((SECONDS + 60))
while kill -0 "$GAME_PID" 2>/dev/null; do
  [ $SECONDS -ge $deadline ] && soak_fail "Escape on the main menu did not quit"
  sleep 0.1
done
GAME_RC=0; wait "$GAME_PID" || GAME_RC=$?
keep_output
# The sampler ends once the game's /proc entry is gone; its last line is then written.
wait "$rss_pid" 2>/dev/null || true

if grep -nE "ERROR: AddressSanitizer|runtime error:|LeakSanitizer|ERROR: UndefinedBehaviorSanitizer" "$out/game.out" >&2; then
  soak_fail "sanitizer report in the game's output"
fi
[ "$GAME_RC" -eq 0 ] || soak_fail "exit code $GAME_RC after quitting"

# Growth: the main menu at the end against the main menu before round 4. Rounds 0-3 are the
# warm-up: between them they visit every scene once (three difficulties, a lost game with
# its name dialog, the high-score screen), and each first visit fills caches for good.
read -r samples first_kib last_kib max_kib <<<"$(awk -F, '
  NR == 1 { next }
  { n++; if (n == 1) first = $2; last = $2; if ($2 > max) max = $2 }
  END { print n, first, last, max }' "$out/rss.csv")"
read -r base_kib end_kib <<<"$(awk -F, '
  $1 == "4" { base = $2 } $1 == "end" { end_ = $2 }
  END { print base + 0, end_ + 0 }' "$out/menu_rss.csv" 2>/dev/null || echo 0 0)"
echo "soak: $elapsed s, $round rounds, $samples RSS samples; RSS KiB first $first_kib last $last_kib max $max_kib; on the main menu before round 4 $base_kib, at the end $end_kib"
[ "$samples" -ge 6 ] || soak_fail "too few RSS samples ($samples)"
# Two rounds or more after round 4 give the figures a distance to show growth over. A short
# run (the one-minute soak of the test suite) has fewer: its memory verdict is the leak
# check at exit.
if [ "$round" -lt 6 ]; then
  echo "soak: only $round rounds, too few to judge growth; the exit leak check stands"
else
  [ "$base_kib" -gt 0 ] && [ "$end_kib" -gt 0 ] || soak_fail "no resident size taken on the main menu"
  growth=$((end_kib - base_kib))
  [ "$growth" -le "$bound_kib" ] || soak_fail "RSS on the main menu grew by $growth KiB from round 4 to the end (bound $bound_kib KiB)"
fi
echo "PASS"
