# Figures of the release game (build/game) for the benchmark table: resident memory on the
# main menu and in play, and the delay of key presses in play, measured under a private X
# server by tests/e2e/game_figures.sh. Sourced; defines sf_bench_game_rows.

# Appends "figure|value|goal|holds" rows to FILE.
sf_bench_game_rows() {
  local file=${1:?usage: sf_bench_game_rows FILE}
  local root figures rc=0
  root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
  figures=$(mktemp)
  if [ -x "$root/build/game/shardfall" ]; then
    bash "$root/tests/e2e/game_figures.sh" "$root/build/game" >"$figures" 2>&1 || rc=$?
  else
    echo "no release game in build/game" >"$figures"
    rc=1
  fi
  # The value of "name value" from the figures, or empty.
  _sf_figure() { awk -v k="$1" '$1 == k { print $2; exit }' "$figures"; }
  # One row: figure, value, unit, the goal as a number; "holds" when value <= goal.
  _sf_row() {
    local figure=$1 value=$2 unit=$3 goal=$4
    if [ -z "$value" ]; then
      echo "$figure|not measured|<= $goal $unit|NO" >>"$file"
    else
      echo "$figure|$value $unit|<= $goal $unit|$(awk -v v="$value" -v g="$goal" 'BEGIN { print (v <= g) ? "yes" : "NO" }')" >>"$file"
    fi
  }
  local menu play
  menu=$(_sf_figure rss_menu_kb)
  play=$(_sf_figure rss_play_kb)
  [ -n "$menu" ] && menu=$(awk -v k="$menu" 'BEGIN { printf "%.1f", k / 1024 }')
  [ -n "$play" ] && play=$(awk -v k="$play" 'BEGIN { printf "%.1f", k / 1024 }')
  _sf_row "resident memory on the main menu" "$menu" MB 64
  _sf_row "resident memory in play" "$play" MB 64
  # Two frames of the 60-a-second display rate.
  _sf_row "input delay in play, median" "$(_sf_figure delay_median_ms)" ms 33
  _sf_row "input delay in play, 99th percentile" "$(_sf_figure delay_p99_ms)" ms 33
  if [ "$rc" -ne 0 ]; then
    echo "game figures: the measurement ended with code $rc:" >&2
    tail -n 5 "$figures" >&2
  fi
  rm -f "$figures"
  unset -f _sf_figure _sf_row
  return 0
}
