#!/usr/bin/env bash
# Figures of a running game under a private X server: its resident memory on the main menu
# and in an easy game, and the delay of key presses in play from the game's own counter
# (SF_INPUT_DELAY_LOG=1: one "input_delay_ms X" line per press, from the moment the press
# reached the game to the first picture shown after the frame that handled it).
# Prints "name value" lines: rss_menu_kb, rss_play_kb, delay_count, delay_median_ms,
# delay_p99_ms, delay_max_ms. Exits 77 when the X tools are missing.
# Usage: game_figures.sh BUILD/game [PRESSES]   (default 100)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/e2e_lib.sh"
e2e_require_tools
gamedir=${1:?usage: game_figures.sh BUILD/game [PRESSES]}
presses=${2:-100}
[ -x "$gamedir/shardfall" ] || e2e_fail "no game executable in $gamedir"

e2e_start_player
export SF_INPUT_DELAY_LOG=1

# Resident size in kB (every mapping, shared or not, as the system counts it for the process).
rss_kb() { awk '/^Rss:/ { print $2; exit }' "/proc/$GAME_PID/smaps_rollup"; }
# The largest of a few readings over about two seconds: a scene loads, music starts.
rss_peak_kb() {
  local peak=0 value i
  for i in 1 2 3 4 5 6 7 8 9 10; do
    value=$(rss_kb)
    [ "$value" -gt "$peak" ] && peak=$value
    sleep 0.2
  done
  echo "$peak"
}
delay_lines() { grep -c '^input_delay_ms ' "$E2E_TMP/game.out" || true; }
at_least_delays() { [ "$(delay_lines)" -ge "$1" ]; }

# The main menu is up once the window shows its picture (its flames never stand still).
start_windowed
echo "rss_menu_kb $(rss_peak_kb)"

start_game 160
# Every press is reported once its picture is shown: the count before space is settled.
before=$(delay_lines)
key space
# The piece moves with every press; left and right in turn keep it off the walls.
moves=(Left Right)
for ((i = 0; i < presses; i++)); do
  key "${moves[i % 2]}"
  sleep 0.1
done
e2e_wait_for "$E2E_DEADLINE" at_least_delays $((before + presses + 1)) ||
  e2e_fail "the game reported $(( $(delay_lines) - before )) delays for $((presses + 1)) presses"
echo "rss_play_kb $(rss_peak_kb)"
kill -0 "$GAME_PID" 2>/dev/null || e2e_fail "the game died while measured"

# The presses in play: those after the first (space, which starts the pieces falling).
grep '^input_delay_ms ' "$E2E_TMP/game.out" | tail -n "$presses" | awk '{ print $2 }' | sort -n >"$E2E_TMP/delays"
awk '
  { v[NR] = $1 }
  END {
    if (NR == 0) exit 1
    p99 = int(NR * 0.99); if (p99 < NR * 0.99) p99++
    median = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
    printf "delay_count %d\ndelay_median_ms %.1f\ndelay_p99_ms %.1f\ndelay_max_ms %.1f\n", NR, median, v[p99], v[NR]
  }' "$E2E_TMP/delays"
e2e_stop_game
