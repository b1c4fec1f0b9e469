# The scripted player shared by the scenario scripts: settings that start the game windowed,
# clicks and keys in frame coordinates, screenshots, a check for being in play, a game played
# until it is lost, and waiting for the game to quit. Sourced after e2e_lib.sh and
# e2e_start_display; the caller sets `gamedir` and `shots` (a folder for screenshots).

# Windowed from the first start: frame pixels map 1:1 onto the display.
player_seed_windowed() {
  keydir="$XDG_CONFIG_HOME/Software/Quillmoor/Shardfall"
  mkdir -p "$keydir"
  printf 'PXSettings 1\nu32\tFull Screen\t0\n' >"$keydir/values.txt"
}

# Frame pixel (x, y) → display pixel, once the window is placed.
ORIGIN_X=0 ORIGIN_Y=0
find_origin() { e2e_refresh_window; read -r ORIGIN_X ORIGIN_Y <<<"$(e2e_window_origin)"; }
click_at() { xdotool mousemove $((ORIGIN_X + $1)) $((ORIGIN_Y + $2)) click 1; }
move_to() { xdotool mousemove $((ORIGIN_X + $1)) $((ORIGIN_Y + $2)); }
key() { xdotool key "$@"; }
# The whole frame of the window as a PNG.
shot() { import -window root -crop "640x480+$ORIGIN_X+$ORIGIN_Y" +repage "$shots/$1.png"; }
# How many pixels of two screenshots differ inside a frame rectangle WxH+X+Y (0 = the same).
crop_diff() {
  convert "$1" -crop "$3" +repage "$E2E_TMP/crop_a.png"
  convert "$2" -crop "$3" +repage "$E2E_TMP/crop_b.png"
  compare -metric AE -fuzz 8% "$E2E_TMP/crop_a.png" "$E2E_TMP/crop_b.png" null: 2>&1 | awk '{print int($1); exit}'
}
region_diff() { crop_diff "$shots/$1.png" "$shots/$2.png" "$3"; }
# The rectangle looks different (or the same) in two screenshots of $shots.
differs() { [ "$(region_diff "$1" "$2" "$3")" -ge 40 ]; }
same() { [ "$(region_diff "$1" "$2" "$3")" -lt 40 ]; }
# Takes screenshot NAME until its rectangle RECT differs from the one in screenshot BEFORE;
# false after the deadline.
shot_until_differs() {
  local name=$1 before=$2 rect=$3
  changed() { shot "$name"; differs "$before" "$name" "$rect"; }
  e2e_wait_for "$E2E_DEADLINE" changed
}
# The bottom band differs between the screens and stands still on each (the main menu's fire
# burns above it).
band_rect=640x80+0+400
# Waits until the band differs from screenshot BEFORE of $shots and stands still: a new screen.
new_screen() {
  cp "$shots/$1.png" "$E2E_TMP/before_screen.png"
  up() { region_left before_screen "$band_rect" && region_still "$band_rect"; }
  e2e_wait_for "$E2E_DEADLINE" up
}
# A scene change plays a one-second band transition.
settle() { sleep "${1:-1.6}"; }

# A picture of the frame, taken now, in $E2E_TMP/NAME.png.
probe_as() { import -window root -crop "640x480+$ORIGIN_X+$ORIGIN_Y" +repage "$E2E_TMP/$1.png"; }
# The frame rectangle shows the same in two pictures taken a moment apart: no transition runs.
region_still() {
  probe_as still_a; sleep 0.4; probe_as still_b
  [ "$(crop_diff "$E2E_TMP/still_a.png" "$E2E_TMP/still_b.png" "$1")" -lt 20 ]
}
# The frame rectangle of picture NAME (in $E2E_TMP) is not what the display shows now.
region_left() {
  probe_as left_probe
  [ "$(crop_diff "$E2E_TMP/left_probe.png" "$E2E_TMP/$1.png" "$2")" -ge 20 ]
}
# Presses KEY until the condition holds: a key the game receives while it is still busy
# changing scenes is lost, and a loaded machine makes that change take many seconds.
press_until() {
  local key=$1; shift
  local deadline=$((SECONDS + E2E_DEADLINE))
  while :; do
    xdotool key "$key"
    e2e_wait_for 4 "$@" && return 0
    [ $SECONDS -ge $deadline ] && return 1
  done
}

# Screen titles sit in this rectangle; the info strip's bottom is still only in play.
title_rect=400x60+120+20
strip_rect=128x40+400+440
# The instructions are up once the title no longer shows what it did and stands still.
instructions_up() { region_left before_start "$title_rect" && region_still "$title_rect"; }
# The game is up once the instructions' title has gone and the info strip stands still.
game_up() { region_left instructions "$title_rect" && region_still "$strip_rect"; }

# From the main menu, the game on the menu button at frame height Y: its instructions, then a
# key, ending in play (a new game waits for its first key before the pieces fall).
start_game() {
  local y=$1
  probe_as before_start
  click_at 320 "$y"
  e2e_wait_for "$E2E_DEADLINE" instructions_up || e2e_fail "the menu button at $y did not show the instructions"
  cp "$E2E_TMP/still_b.png" "$E2E_TMP/instructions.png"
  press_until x region_left instructions "$title_rect" || e2e_fail "a key did not leave the instructions"
  e2e_wait_for "$E2E_DEADLINE" game_up || e2e_fail "the game did not come up after the instructions"
}

# The game's info strip shows only in play; its "NEXT" well is dark while the menus are not.
# Needs a screenshot of a game in play in $shots/play_ref.png.
in_play() {
  import -window root -crop "640x480+$ORIGIN_X+$ORIGIN_Y" +repage "$E2E_TMP/probe.png"
  [ "$(region_diff_probe)" -lt 200 ]
}
region_diff_probe() { crop_diff "$E2E_TMP/probe.png" "$shots/play_ref.png" 128x40+400+440; }

# The window's middle shows the game's picture, not the desktop.
shows_picture() { [ "$(e2e_pixel "$1" $((ORIGIN_X + 320)) $((ORIGIN_Y + 240)))" != "#FF00FF" ]; }

start_windowed() {
  e2e_start_game "$gamedir"
  e2e_expect_size 640x480 "start"
  find_origin
  e2e_expect_shot "$E2E_TMP/start.png" "the window shows no picture" shows_picture
  # The window manager may still have moved it while it mapped.
  find_origin
  move_to 600 20
}

not_in_play() { ! in_play; }
# Waits for the play scene to show, or to be gone, failing with `what` after the deadline.
expect_in_play() { e2e_wait_for "$E2E_DEADLINE" in_play || e2e_fail "$1"; }
expect_not_in_play() { e2e_wait_for "$E2E_DEADLINE" not_in_play || e2e_fail "$1"; }

# From the main menu: a hard game with Down held until it is lost, the game-over message
# answered, ending on the high-score screen with the name dialog open.
lose_a_game() {
  local limit=${1:-240}
  start_game 256
  key space; sleep 0.3
  move_to 256 240
  xdotool keydown Down
  local deadline=$((SECONDS + limit))
  while in_play; do
    [ $SECONDS -ge $deadline ] && { xdotool keyup Down; e2e_fail "the game was not lost within $limit s"; }
    sleep 2
    # After the game is over the message box takes Return (OK) and the high scores follow.
    import -window root -crop "640x480+$ORIGIN_X+$ORIGIN_Y" +repage "$shots/game_over.png"
    key Return
    # Let a scene change that Return may have started finish before looking again, so that
    # the next Return does not close the name dialog of the high-score screen.
    settle
  done
  xdotool keyup Down
  settle 1.2
}

# Waits for the game to quit by itself; fails with `what` after the deadline. Exit code in GAME_RC.
wait_for_quit() {
  local what=$1 deadline=$((SECONDS + E2E_DEADLINE))
  while kill -0 "$GAME_PID" 2>/dev/null; do
    [ $SECONDS -ge $deadline ] && e2e_fail "$what"
    sleep 0.1
  done
  GAME_RC=0
  wait "$GAME_PID" || GAME_RC=$?
}
