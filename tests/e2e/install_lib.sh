# Helpers of the install and package checks: the game started from "/" (as a launcher does),
# its main menu recognised on a screenshot, and a start without data that must fail loudly.
# Sourced after e2e_lib.sh and e2e_start_display.

# Starts EXE [ARGS...] from the root folder; sets GAME_PID and GAME_WINDOW.
inst_start_from_root() {
  (cd / && exec "$@") >"$E2E_TMP/game.out" 2>&1 &
  GAME_PID=$!
  E2E_PIDS+=("$GAME_PID")
  GAME_WINDOW=""
  local deadline=$((SECONDS + 15))
  while [ -z "$GAME_WINDOW" ]; do
    if [ $SECONDS -ge $deadline ] || ! kill -0 "$GAME_PID" 2>/dev/null; then
      sed 's/^/   game: /' "$E2E_TMP/game.out" >&2
      e2e_fail "no game window appeared for $1"
    fi
    GAME_WINDOW=$(xdotool search --onlyvisible --name '^Shardfall$' 2>/dev/null | head -n1) || true
    [ -n "$GAME_WINDOW" ] || sleep 0.1
  done
}

# Share of the frame's pixels that are not black, 0 to 1.
inst_lit_share() {
  convert "$1" -threshold 4% -format '%[fx:mean]' info:
}

# "R G B" (0-255) of one pixel of a screenshot.
inst_rgb() {
  convert "$1" -crop "1x1+$2+$3" -depth 8 -format '%[fx:int(255*r)] %[fx:int(255*g)] %[fx:int(255*b)]' info:
}

# Waits until the game's window shows the main menu: most of the frame lit (a game without
# its data showed a black frame with only the title fire), the orange title, the blue plates
# of the Easy and Quit buttons, and a dark corner (not the desktop or an empty window).
inst_main_menu_shown() {
  local shot=$1 x y r g b
  read -r x y <<<"$(e2e_window_origin)"
  import -window root -crop "640x480+$x+$y" +repage "$shot" 2>/dev/null || return 1
  awk -v m="$(inst_lit_share "$shot")" 'BEGIN { exit !(m > 0.3) }' || return 1
  read -r r g b <<<"$(inst_rgb "$shot" 200 75)"
  [ "$r" -gt 180 ] && [ "$g" -gt 120 ] && [ "$b" -lt 150 ] || return 1
  for button in "235 160" "235 450"; do
    read -r r g b <<<"$(inst_rgb "$shot" $button)"
    [ "$b" -gt $((r + 30)) ] || return 1
  done
  read -r r g b <<<"$(inst_rgb "$shot" 600 20)"
  [ "$r" -lt 48 ] && [ "$g" -lt 48 ] && [ "$b" -lt 48 ]
}
inst_expect_main_menu() {
  local what=$1 shot="$E2E_TMP/$1.png"
  e2e_wait_for 15 inst_main_menu_shown "$shot" ||
    e2e_fail "$what: no main menu (lit share $(inst_lit_share "$shot" 2>/dev/null || echo none))"
  e2e_note "$what: main menu shown (lit share $(inst_lit_share "$shot"))"
}

# EXE started from "/" shows its main menu, read its data from DATA_FOLDER (as the log
# says) and ends in order on SIGTERM. WHAT names the run in messages.
inst_expect_start_from_root() {
  local exe=$1 data=$2 what=$3
  e2e_note "$what: started from /"
  inst_start_from_root "$exe" --windowed
  inst_expect_main_menu "$what"
  # The icon comes out of the archive: a 32 x 32 picture on the window.
  xprop -id "$GAME_WINDOW" _NET_WM_ICON | grep -q 'Icon (32 x 32)' ||
    e2e_fail "$what: the window has no 32 x 32 icon"
  [ "$(inst_data_line)" = "Game data from $data" ] || e2e_fail "$what: not its own data: $(inst_data_line)"
  e2e_stop_game
  [ "$GAME_RC" -eq 0 ] || e2e_fail "$what: exit code $GAME_RC after SIGTERM"
}

# The log's line naming the data folder the last start used.
inst_data_line() {
  local log
  log=$(find "$XDG_DATA_HOME" -name log.txt | head -n1)
  [ -n "$log" ] && grep -a "Game data from" "$log" | tail -n1 | tr -d '\r'
}

inst_ms() { date +%s%3N; }

# EXE started from "/" finds no data: with no display it ends with code 1 and the message on
# stderr at once; on the display the message also comes as a box, and the process ends with
# code 1 when the player closes it. Prints the time to the message.
inst_expect_no_data_failure() {
  local exe=$1 start rc=0 ms
  start=$(inst_ms)
  (cd / && env -u DISPLAY "$exe" --windowed) >"$E2E_TMP/nodata.out" 2>"$E2E_TMP/nodata.err" || rc=$?
  ms=$(( $(inst_ms) - start ))
  [ "$rc" -eq 1 ] || e2e_fail "no data, no display: exit code $rc, wanted 1"
  grep -q "game data (Shardfall.pxa or a Shardfall folder) was not found" "$E2E_TMP/nodata.err" ||
    e2e_fail "no data: stderr lacks the message: $(cat "$E2E_TMP/nodata.err")"
  [ "$ms" -lt 5000 ] || e2e_fail "no data: took $ms ms to exit"
  e2e_note "no data, no display: exit 1 after $ms ms"

  start=$(inst_ms)
  (cd / && exec "$exe" --windowed) >"$E2E_TMP/nodata.out" 2>"$E2E_TMP/nodata.err" &
  local pid=$!
  E2E_PIDS+=("$pid")
  e2e_wait_for 10 grep -q "was not found" "$E2E_TMP/nodata.err" ||
    e2e_fail "no data: no message on stderr: $(cat "$E2E_TMP/nodata.err")"
  ms=$(( $(inst_ms) - start ))
  # The box's window, by its title (xdotool's name search does not see SDL's box).
  inst_box() { xwininfo -root -tree | awk '/"Shardfall cannot start"/ && id == "" {id = $1} END {print id}'; }
  local box=""
  e2e_wait_for 10 sh -c "xwininfo -root -tree | grep -q '\"Shardfall cannot start\"'" ||
    e2e_fail "no data: no message box"
  box=$(inst_box)
  ! xdotool search --onlyvisible --name '^Shardfall$' >/dev/null 2>&1 ||
    e2e_fail "no data: a game window is open beside the message"
  e2e_note "no data, on the display: message on stderr after $ms ms, box shown"
  xdotool windowactivate --sync "$box" key Return 2>/dev/null || xdotool windowclose "$box" || true
  e2e_wait_for 10 sh -c "! kill -0 $pid" || { xdotool windowclose "$box" 2>/dev/null || true; }
  e2e_wait_for 10 sh -c "! kill -0 $pid" || e2e_fail "no data: the game did not end once the box closed"
  rc=0
  wait "$pid" || rc=$?
  [ "$rc" -eq 1 ] || e2e_fail "no data: exit code $rc after the box, wanted 1"
  local log
  log=$(find "$XDG_DATA_HOME" -name log.txt | head -n1)
  [ -n "$log" ] && grep -aq "Startup failed: The game data" "$log" || e2e_fail "no data: log.txt lacks the message"
}

# --help and --version print and end with 0 from anywhere; an unknown option ends with 2.
inst_expect_command_line() {
  local exe=$1 out rc
  out=$(cd / && "$exe" --help) || e2e_fail "--help exited $?"
  grep -q -- "--data DIR" <<<"$out" || e2e_fail "--help does not list --data: $out"
  out=$(cd / && "$exe" --version) || e2e_fail "--version exited $?"
  grep -Eq '^Shardfall [0-9]+\.[0-9]+' <<<"$out" || e2e_fail "--version printed: $out"
  rc=0
  (cd / && "$exe" --no-such-option) >/dev/null 2>"$E2E_TMP/usage.err" || rc=$?
  [ "$rc" -eq 2 ] || e2e_fail "an unknown option exited $rc, wanted 2"
  grep -q "unknown option: --no-such-option" "$E2E_TMP/usage.err" || e2e_fail "no word about the unknown option"
  e2e_note "command line: --help, --version ($out), unknown option -> 2"
}

# desktop-file-validate and appstreamcli on an installed share/ folder (skipped, with a
# note, where the tools are missing).
inst_validate_metadata() {
  local share=$1 desktop metainfo
  desktop=$(find "$share/applications" -name '*.desktop' | head -n1)
  metainfo=$(find "$share/metainfo" -name '*.metainfo.xml' | head -n1)
  [ -n "$desktop" ] && [ -n "$metainfo" ] || e2e_fail "no desktop entry or metadata under $share"
  if command -v desktop-file-validate >/dev/null 2>&1; then
    desktop-file-validate "$desktop" || e2e_fail "desktop-file-validate refuses $desktop"
  else
    e2e_note "desktop-file-validate missing: not checked"
  fi
  if command -v appstreamcli >/dev/null 2>&1; then
    appstreamcli validate --no-net "$metainfo" || e2e_fail "appstreamcli refuses $metainfo"
  else
    e2e_note "appstreamcli missing: not checked"
  fi
}

# The files an install tree (PREFIX) must hold; BINDIR is where the program lies.
inst_expect_tree() {
  local prefix=$1 bindir=${2:-bin} f size
  for f in "$bindir/shardfall" share/shardfall/Shardfall.pxa share/shardfall/config.cfg \
    share/shardfall/Shardfall/about.html share/man/man6/shardfall.6.gz share/doc/shardfall/copyright; do
    [ -e "$prefix/$f" ] || e2e_fail "not installed: $f"
  done
  for size in 16 24 32 48 64 128 256; do
    f="$prefix/share/icons/hicolor/${size}x${size}/apps/shardfall.png"
    [ -f "$f" ] || e2e_fail "no ${size} px icon"
    [ "$(identify -format '%wx%h' "$f")" = "${size}x${size}" ] || e2e_fail "the ${size} px icon is $(identify -format '%wx%h' "$f")"
  done
}

# EXE started where no display answers: before, SDL drew into nothing and the game ran on
# unseen; now it ends with code 1 and says so on stderr and in log.txt.
inst_expect_no_window_failure() {
  local exe=$1 start rc=0 ms
  start=$(inst_ms)
  (cd / && env -u DISPLAY -u WAYLAND_DISPLAY timeout 20 "$exe" --windowed) >/dev/null 2>"$E2E_TMP/nowin.err" || rc=$?
  ms=$(( $(inst_ms) - start ))
  [ "$rc" -eq 1 ] || e2e_fail "no display: exit code $rc, wanted 1 (124: it ran on unseen)"
  grep -q "window could not be created" "$E2E_TMP/nowin.err" ||
    e2e_fail "no display: stderr lacks the message: $(cat "$E2E_TMP/nowin.err")"
  local log
  log=$(find "$XDG_DATA_HOME" -name log.txt | head -n1)
  [ -n "$log" ] && grep -aq "Startup failed: The game window could not be created" "$log" ||
    e2e_fail "no display: log.txt lacks the message"
  e2e_note "no display: exit 1 after $ms ms"
}

# EXE finds data the player names elsewhere (--data DIR, SHARDFALL_DATA): with no display it
# gets past the data search to the window, so it complains of the window, not of the data.
inst_expect_named_data_found() {
  local exe=$1 folder=$2 how
  for how in option environment; do
    local rc=0
    if [ "$how" = option ]; then
      (cd / && env -u DISPLAY -u WAYLAND_DISPLAY "$exe" --data "$folder") >/dev/null 2>"$E2E_TMP/named.err" || rc=$?
    else
      (cd / && env -u DISPLAY -u WAYLAND_DISPLAY SHARDFALL_DATA="$folder" "$exe") >/dev/null 2>"$E2E_TMP/named.err" || rc=$?
    fi
    [ "$rc" -eq 1 ] && grep -q "window could not be created" "$E2E_TMP/named.err" ||
      e2e_fail "data named by $how not found (exit $rc): $(cat "$E2E_TMP/named.err")"
  done
  e2e_note "data named by --data and SHARDFALL_DATA is found"
}
