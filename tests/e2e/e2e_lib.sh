# Shared helpers of the end-to-end tests: a private X server with a window manager, the
# game started with its folders in a temporary directory, window and pixel checks.
# Sourced by the scenario scripts; they exit 77 when a needed tool is missing (skipped).

e2e_fail() { echo "FAIL: $*" >&2; exit 1; }
# Any command that fails unexpectedly says where.
set -o errtrace
trap 'echo "FAIL: line $LINENO: $BASH_COMMAND exited $?" >&2' ERR
e2e_note() { echo "-- $*"; }

e2e_require_tools() {
  local tool missing=()
  for tool in Xvfb openbox xdotool xwininfo xprop xsetroot import convert; do
    command -v "$tool" >/dev/null 2>&1 || missing+=("$tool")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "SKIP: end-to-end tools missing: ${missing[*]} (packages xvfb openbox xdotool x11-utils x11-xserver-utils imagemagick)"
    exit 77
  fi
}

# How long a check may wait for its condition. Generous: a loaded machine or a sanitizer
# build may take many times longer than an idle one, and a check that is met returns at once.
E2E_DEADLINE=${E2E_DEADLINE:-30}

# Runs `cmd` until it succeeds or `seconds` pass; polls every 0.1 s.
e2e_wait_for() {
  local seconds=$1; shift
  local deadline=$((SECONDS + seconds))
  until "$@" >/dev/null 2>&1; do
    [ $SECONDS -ge $deadline ] && return 1
    sleep 0.1
  done
}

E2E_PIDS=()
e2e_cleanup() {
  local pid
  for pid in "${E2E_PIDS[@]}"; do
    kill "$pid" 2>/dev/null || true
  done
  for pid in "${E2E_PIDS[@]}"; do
    wait "$pid" 2>/dev/null || true
  done
  if [ -n "${E2E_TMP:-}" ] && [ -z "${E2E_KEEP:-}" ]; then rm -rf "$E2E_TMP"; fi
  return 0
}

# Starts Xvfb on a free display (1280 x 1024) and openbox on it; sets DISPLAY and E2E_TMP.
# A display answers when a client can read its root window's properties.
e2e_display_answers() { xprop -root >/dev/null 2>&1; }
e2e_window_manager_up() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"; }

# Starts a private X server and openbox on it. Another X server started or stopped at the
# same moment (a second test run, a developer's own Xvfb) can take the display from under a
# new one: a display that does not answer, or a window manager that cannot reach it, is
# started anew, a few times, before the check fails.
e2e_start_display() {
  E2E_TMP=$(mktemp -d "${TMPDIR:-/tmp}/sf-e2e-XXXXXX")
  trap e2e_cleanup EXIT
  local attempt xvfb_pid wm_pid
  for attempt in 1 2 3; do
    rm -f "$E2E_TMP/display"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$E2E_TMP/display" 2>"$E2E_TMP/xvfb.log" &
    xvfb_pid=$!
    E2E_PIDS+=("$xvfb_pid")
    e2e_wait_for "$E2E_DEADLINE" test -s "$E2E_TMP/display" || e2e_fail "Xvfb did not start: $(tail -n 5 "$E2E_TMP/xvfb.log")"
    export DISPLAY=":$(head -n1 "$E2E_TMP/display")"
    if e2e_wait_for "$E2E_DEADLINE" e2e_display_answers; then
      openbox >"$E2E_TMP/openbox.log" 2>&1 &
      wm_pid=$!
      E2E_PIDS+=("$wm_pid")
      # Openbox gives up at once when it cannot open the display: stop waiting then.
      local deadline=$((SECONDS + E2E_DEADLINE))
      until e2e_window_manager_up; do
        kill -0 "$wm_pid" 2>/dev/null || break
        [ $SECONDS -ge $deadline ] && break
        sleep 0.1
      done
      e2e_window_manager_up && break
      e2e_note "openbox did not start on $DISPLAY (attempt $attempt): $(tail -n 5 "$E2E_TMP/openbox.log" 2>/dev/null | tr '\n' ' ')"
      kill "$wm_pid" 2>/dev/null || true
    else
      e2e_note "the X server on $DISPLAY does not answer (attempt $attempt)"
    fi
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  done
  e2e_window_manager_up ||
    e2e_fail "openbox did not start: $(tail -n 5 "$E2E_TMP/openbox.log" 2>/dev/null | tr '\n' ' ')"
  xset r off 2>/dev/null || true
  # A magenta desktop: whatever the game does not cover shows it.
  command -v xsetroot >/dev/null 2>&1 && xsetroot -solid '#FF00FF' 
  export XDG_CONFIG_HOME="$E2E_TMP/config" XDG_DATA_HOME="$E2E_TMP/data"
  mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME"
  # No sound card is needed: OpenAL mixes into nothing.
  export ALSOFT_DRIVERS=null
}

# The display for a scripted player's scenario: a folder for its screenshots ($shots), the
# player's helpers (player_lib.sh) and settings that start the game windowed.
e2e_start_player() {
  e2e_start_display
  shots=$E2E_TMP/shots
  mkdir -p "$shots"
  source "$(dirname "${BASH_SOURCE[0]}")/player_lib.sh"
  player_seed_windowed
}

# Starts the game from its runnable folder; sets GAME_PID and GAME_WINDOW.
e2e_start_game() {
  local gamedir=$1
  # E2E_GAME_PRELOAD, when set, is the game's LD_PRELOAD (and no other program's).
  (cd "$gamedir" && { [ -z "${E2E_GAME_PRELOAD:-}" ] || export LD_PRELOAD="$E2E_GAME_PRELOAD"; } &&
    exec ./shardfall) >"$E2E_TMP/game.out" 2>&1 &
  GAME_PID=$!
  E2E_PIDS+=("$GAME_PID")
  # The window may be unmapped for a moment while it goes full screen: take the id from
  # the same search that found it.
  GAME_WINDOW=""
  local deadline=$((SECONDS + E2E_DEADLINE))
  while [ -z "$GAME_WINDOW" ]; do
    [ $SECONDS -ge $deadline ] && e2e_fail "no game window appeared"
    GAME_WINDOW=$(xdotool search --onlyvisible --name '^Shardfall$' 2>/dev/null | head -n1) || true
    [ -n "$GAME_WINDOW" ] || sleep 0.1
  done
}

# The window found first may give way to another (the screen makes its window anew when it
# changes renderer): look the game's window up again when the one held is gone.
e2e_refresh_window() {
  xwininfo -id "$GAME_WINDOW" >/dev/null 2>&1 && return 0
  local found
  found=$(xdotool search --onlyvisible --name '^Shardfall$' 2>/dev/null | head -n1) || true
  [ -n "$found" ] && GAME_WINDOW=$found
  return 0
}

# "WIDTHxHEIGHT" of the game window's drawable area.
e2e_window_size() {
  xwininfo -id "$GAME_WINDOW" 2>/dev/null | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}'
}
e2e_window_size_is() { e2e_refresh_window; [ "$(e2e_window_size)" = "$1" ]; }

# Waits for the window to have the size, failing with `what` after the timeout.
e2e_expect_size() {
  local size=$1 what=$2
  e2e_wait_for "$E2E_DEADLINE" e2e_window_size_is "$size" || e2e_fail "$what: window is $(e2e_window_size), wanted $size"
}

e2e_screenshot() { import -window root "$1"; }

# Takes screenshots into `file` until `check FILE` succeeds, or fails with `what` once the
# deadline has passed: the first picture after a window change may come late on a busy machine.
e2e_expect_shot() {
  local file=$1 what=$2; shift 2
  local deadline=$((SECONDS + E2E_DEADLINE))
  until e2e_screenshot "$file" && "$@" "$file"; do
    [ $SECONDS -ge $deadline ] && e2e_fail "$what"
    sleep 0.2
  done
}
# The colour "#RRGGBB" of one pixel of a screenshot.
e2e_pixel() {
  convert "$1" -crop "1x1+$2+$3" -depth 8 txt:- | grep -o '#[0-9A-Fa-f]\{6\}' | head -n1 | tr a-f A-F
}
# "X Y" of the game window's drawable area on the display.
e2e_window_origin() {
  xwininfo -id "$GAME_WINDOW" 2>/dev/null | awk '/Absolute upper-left X:/ {x=$4} /Absolute upper-left Y:/ {y=$4} END {print x, y}'
}

# Sends SIGTERM and waits for the game; its exit code is in GAME_RC.
e2e_stop_game() {
  kill -TERM "$GAME_PID"
  local deadline=$((SECONDS + E2E_DEADLINE))
  while kill -0 "$GAME_PID" 2>/dev/null; do
    [ $SECONDS -ge $deadline ] && e2e_fail "the game did not end within $E2E_DEADLINE s of SIGTERM"
    sleep 0.1
  done
  GAME_RC=0
  wait "$GAME_PID" || GAME_RC=$?
}
