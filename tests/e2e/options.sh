#!/usr/bin/env bash
# The options screen with the keyboard alone, its choices kept across a restart and heard.
# Both starts write their sound through OpenAL Soft's wave-file back end (OUT_DIR/first.wav,
# OUT_DIR/second.wav) and note in OUT_DIR/times.txt, in seconds from the game's launch, when
# the main menu's focus was moved to make its hover sounds (probe_from, probe_to) and until
# when nothing but the menus ran (quiet_to); the caller compares the two recordings.
# First start: the probe, then Options, music down to 50 %, effects to 0 %, "left" bound to
# A; the screen is left and opened again and photographed; quit. Second start: the probe,
# the options screen must show the same picture, then a game where A steers the piece to
# the left edge of the field.
# Usage: options.sh BUILD/game OUT_DIR [SHOT_DIR]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/e2e_lib.sh"
e2e_require_tools
gamedir=${1:?usage: options.sh BUILD/game OUT_DIR [SHOT_DIR]}
out=${2:?usage: options.sh BUILD/game OUT_DIR [SHOT_DIR]}
[ -x "$gamedir/shardfall" ] || e2e_fail "no game executable in $gamedir"
mkdir -p "$out"
rm -f "$out/first.wav" "$out/second.wav" "$out/times.txt"

e2e_start_player
shots=${3:-$shots}
mkdir -p "$shots"
keydir="$XDG_CONFIG_HOME/Software/Quillmoor/Shardfall"
# The pointer stays in the display's far corner, away from the window.
xdotool mousemove 1279 1023

# The options screen's controls (the panel below the heading, the pointer's corner left out).
controls_rect=560x360+40+74

launch=0 settled=0
elapsed() { awk -v now="$(date +%s.%N)" -v from="$launch" 'BEGIN { printf "%.3f", now - from }'; }
# Starts the game with its sound written to OUT_DIR/$1.wav at the song's own rate (no
# resampling), and waits for the main menu to stand still.
start_recorded() {
  cat >"$E2E_TMP/alsoft.conf" <<EOF
[general]
channels = stereo
sample-type = int16
frequency = 22050
output-limiter = false
[wave]
file = $out/$1.wav
EOF
  export ALSOFT_DRIVERS=wave ALSOFT_CONF="$E2E_TMP/alsoft.conf"
  launch=$(date +%s.%N)
  e2e_start_game "$gamedir"
  e2e_expect_size 640x480 "$1 start"
  find_origin
  e2e_wait_for "$E2E_DEADLINE" region_still "$band_rect" || e2e_fail "the main menu does not settle ($1)"
  settled=$(elapsed)
  shot "menu_$1"
}
# The hover sounds of the main menu: the focus shown, moved down twice and back. Before it,
# the song alone (it fades in over two seconds) until eight seconds from the launch and six
# from the menu standing still, whichever is later: a slow start still leaves the caller a
# steady stretch of the song to measure.
probe() {
  local from
  from=$(awk -v s="$settled" 'BEGIN { print (s + 6 > 8 ? s + 6 : 8) }')
  while awk -v t="$(elapsed)" -v from="$from" 'BEGIN { exit !(t < from) }'; do sleep 0.1; done
  echo "$1_probe_from $(elapsed)" >>"$out/times.txt"
  local k
  for k in Down Down Up Up; do key "$k"; sleep 0.3; done
  sleep 1
  echo "$1_probe_to $(elapsed)" >>"$out/times.txt"
}
# From the main menu with the focus on Easy (shown): Down to Options, Return, the new screen.
open_options() {
  local name=$1 before=$2
  key Down Down Down Down
  sleep 0.3
  key Return
  new_screen "$before" || e2e_fail "Return on Options did not open the options screen ($name)"
  shot "$name"
}
# Escape from a screen back to the main menu.
back_to_menu() {
  local before=$1
  key Escape
  new_screen "$before" || e2e_fail "Escape did not leave $before"
  shot "menu_after_$before"
}

e2e_note "first start: defaults, then music 50 %, effects 0 %, left on A"
start_recorded first
probe first
open_options options_defaults menu_first
# The focus starts (hidden) on the music slider: ten steps of 5 % down, then the effects
# slider to its start, then down the rows to the key of "left".
key Left Left Left Left Left Left Left Left Left Left
key Down; sleep 0.2; key Home; sleep 0.2
key Down Down Down Down
sleep 0.3
shot options_before_bind
key Return
shot_until_differs options_waiting options_before_bind 420x30+280+258 || e2e_fail "Return on the key of left did not ask for a key"
key s
shot_until_differs options_refused options_waiting 600x20+20+412 || e2e_fail "S (the sound key) was not refused with a message"
key a
shot_until_differs options_bound options_refused 600x20+20+412 || e2e_fail "A was not taken for left"
back_to_menu options_bound
key Down
sleep 0.3
open_options options_first menu_after_options_bound
differs options_defaults options_first "$controls_rect" || e2e_fail "the options screen shows the defaults after the changes"
back_to_menu options_first
key Escape
wait_for_quit "the first run did not quit"
[ "$GAME_RC" = 0 ] || e2e_fail "the first run exited with $GAME_RC"
for value in "Music Volume"$'\t'50 "Effects Volume"$'\t'0; do
  grep -qF "$value" "$keydir/values.txt" || e2e_fail "the settings do not keep $value: $(cat "$keydir/values.txt")"
done

e2e_note "second start: the same options, no effects, A steers"
start_recorded second
probe second
open_options options_second menu_second
same options_first options_second "$controls_rect" || e2e_fail "the options screen differs after a restart (options_first against options_second)"
back_to_menu options_second
echo "second_quiet_to $(elapsed)" >>"$out/times.txt"

# A new game: Easy (the first Down shows the focus on it), the instructions, a key, play.
key Down
sleep 0.3
key Return
new_screen menu_after_options_second || e2e_fail "Return on Easy did not show the instructions"
shot instructions
key x
new_screen instructions || e2e_fail "a key did not leave the instructions"
shot play_start
# The game waits for a key that is not a move (moves are not taken while it waits); then the
# first piece comes in at the top middle, and A moves it to the left edge of the field.
key x
shot_until_differs play_running play_start 96x120+208+4 || e2e_fail "no piece came in at the top of the field"
key a a a a a a a a a a a a
shot_until_differs play_steered play_running 64x200+112+4 || e2e_fail "A did not steer the piece to the left edge"
# Left as a player leaves: the quit question answered Yes, then Escape on the main menu (the
# recording is finished when the sound closes).
key Escape
shot_until_differs quit_question play_steered 300x120+170+180 || e2e_fail "Escape did not ask the quit question"
key Right
sleep 0.3
key Return
new_screen quit_question || e2e_fail "Yes did not lead back to the main menu"
key Escape
wait_for_quit "the second run did not quit"
[ "$GAME_RC" = 0 ] || e2e_fail "the second run exited with $GAME_RC"

log=$(find "$XDG_DATA_HOME" -name log.txt | head -n1)
if [ -n "$log" ] && grep -E "Unable to open|unknown class" "$log"; then
  e2e_fail "log.txt names missing files or classes"
fi
echo "PASS"
