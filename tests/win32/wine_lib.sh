# Shared helpers of the Windows game's checks under Wine: a temporary folder cleaned up with
# the processes started, polling with a deadline, the X display, the game's window.
# Sourced by wine_smoke.sh and wine_zip.sh; they exit 77 when a needed tool is missing.

fail() { echo "FAIL: $*" >&2; exit 1; }
note() { echo "-- $*"; }

wine_require_tools() {
  local tool
  for tool in "$@"; do
    command -v "$tool" >/dev/null 2>&1 || { echo "SKIP: $tool missing"; exit 77; }
  done
}

# How long a check may wait for its condition: generous, as Wine on a loaded machine is slow;
# a condition that holds ends the wait at once.
deadline_s=${E2E_DEADLINE:-60}

# Runs `cmd` until it succeeds or `seconds` pass.
wait_for() {
  local seconds=$1; shift
  local deadline=$((SECONDS + seconds))
  until "$@" >/dev/null 2>&1; do
    [ $SECONDS -ge $deadline ] && return 1
    sleep 0.2
  done
}

# Makes the temporary folder `tmp`; processes added to `pids` are ended with it on exit.
pids=()
wine_cleanup() {
  local pid
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  rm -rf "$tmp"
}
wine_make_tmp() {
  tmp=$(mktemp -d "${TMPDIR:-/tmp}/$1-XXXXXX")
  trap wine_cleanup EXIT
}

# A private 1280 x 1024 X server, or the one SF_WINE_DISPLAY names (of that size): the
# prefix's desktop process stays on the display it started on.
wine_use_display() {
  if [ -n "${SF_WINE_DISPLAY:-}" ]; then
    export DISPLAY=$SF_WINE_DISPLAY
  else
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$tmp/display" 2>"$tmp/xvfb.log" &
    pids+=($!)
    wait_for "$deadline_s" test -s "$tmp/display" || fail "Xvfb did not start"
    export DISPLAY=":$(head -n1 "$tmp/display")"
  fi
}

# Waits for the game (process `game`, output in $tmp/game.out) to show its window; sets `window`.
wine_find_window() {
  window=""
  local deadline=$((SECONDS + 90))
  while [ -z "$window" ]; do
    if [ $SECONDS -ge $deadline ]; then
      xdotool search --name . getwindowname %@ 2>/dev/null | sed 's/^/   window: /' >&2 || true
      sed 's/^/   game: /' "$tmp/game.out" >&2 || true
      fail "no game window appeared"
    fi
    kill -0 "$game" 2>/dev/null || fail "the game ended early: $(cat "$tmp/game.out")"
    window=$(xdotool search --onlyvisible --name '^Shardfall$' 2>/dev/null | head -n1) || true
    [ -n "$window" ] || sleep 0.2
  done
}
