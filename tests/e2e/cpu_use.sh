#!/usr/bin/env bash
# How much processor time the game takes under a private X server: a window of idle time
# on the main menu, then the same window in a running easy game with a key pressed now and
# then. CPU time is utime + stime from /proc/PID/stat over the window, shown as a share of
# one core. Exits 1 when a share is over its goal (main menu 10 %, play 15 %).
# Usage: cpu_use.sh BUILD/game [SECONDS]   (default 30)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/e2e_lib.sh"
e2e_require_tools
gamedir=${1:?usage: cpu_use.sh BUILD/game [SECONDS]}
window=${2:-30}
[ -x "$gamedir/shardfall" ] || e2e_fail "no game executable in $gamedir"

e2e_start_player

ticks_per_s=$(getconf CLK_TCK)
# utime + stime of the process in clock ticks (fields 14 and 15; the name may hold spaces).
cpu_ticks() { sed 's/^.*) //' "/proc/$1/stat" | awk '{print $12 + $13}'; }
uptime_cs() { awk '{printf "%d\n", $1 * 100}' /proc/uptime; }

# Runs `step` (a function called about every second, or :) for the window; prints the
# share of one core in per mille.
measure() {
  local step=$1 t0 c0 t1 c1 end
  t0=$(uptime_cs); c0=$(cpu_ticks "$GAME_PID")
  end=$((SECONDS + window))
  while [ $SECONDS -lt $end ]; do
    "$step"
    sleep 1
  done
  t1=$(uptime_cs); c1=$(cpu_ticks "$GAME_PID")
  kill -0 "$GAME_PID" 2>/dev/null || e2e_fail "the game died while measured"
  # ticks / ticks_per_s over centiseconds / 100, in per mille.
  echo $(( (c1 - c0) * 100 * 1000 / ticks_per_s / (t1 - t0) ))
}
percent() { printf '%d.%d%%' $(($1 / 10)) $(($1 % 10)); }

moves=(Left Right Up Left space Right)
step_count=0
play_step() {
  xdotool key "${moves[step_count % ${#moves[@]}]}"
  step_count=$((step_count + 1))
}

start_windowed
move_to 600 20; sleep 3
e2e_note "main menu, idle, for $window s"
menu=$(measure :)

start_game 160
key space; sleep 1
e2e_note "an easy game in play, for $window s"
play=$(measure play_step)

key Escape; sleep 0.5
key y; settle
key Escape
deadline=$((SECONDS + 10))
while kill -0 "$GAME_PID" 2>/dev/null; do
  [ $SECONDS -ge $deadline ] && e2e_fail "Escape on the main menu did not quit"
  sleep 0.1
done

echo "cpu: main menu idle $(percent "$menu") of one core (goal under 10%)"
echo "cpu: in play        $(percent "$play") of one core (goal under 15%)"
[ "$menu" -lt 100 ] && [ "$play" -lt 150 ] || { echo "FAIL: over the goal"; exit 1; }
echo "PASS"
