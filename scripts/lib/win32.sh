# The Windows build and its tests: cross-compiles build-win32/ with mingw-w64, runs the
# unit tests as Windows console programs under Wine (one fresh prefix per run, a persistent
# wineserver, a private Xvfb for the tests that open a window) and the game's smoke test.
# Sourced by scripts/test after the Linux builds, which made build/game/Shardfall.pxa.
source "$(dirname "${BASH_SOURCE[0]}")/package.sh"

sf_win32_build_and_test() {
  local jobs=${1:-2}
  local dir=build-win32
  local prefix
  sf_prebuild_end "$dir"
  sf_win32_configure "$dir" "$jobs" || return 1
  cmake --build "$dir" -j "$jobs" || return 1

  prefix=$(cd "$dir" && pwd)/wine
  rm -rf "$prefix"
  local display_file xvfb_pid status=0
  display_file=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$display_file" 2>/dev/null &
  xvfb_pid=$!
  local waited=0
  until [ -s "$display_file" ] || [ $waited -ge 100 ]; do sleep 0.1; waited=$((waited + 1)); done
  local display=":$(head -n1 "$display_file")"
  rm -f "$display_file"

  # Every wine process of the run sees the private display, the prefix's set-up and its
  # desktop process included: a desktop started without one leaves windows waiting.
  local saved_display=${DISPLAY:-}
  export DISPLAY=$display
  # One wineserver for the whole run: CTest's many short programs then start quickly.
  sh cmake/wine-run.sh "$prefix" wineboot -i >/dev/null 2>&1 || true
  # A new prefix goes on setting itself up in the background after wineboot returns; a
  # program started meanwhile can wait on it for a long time. Let it finish first.
  WINEPREFIX="$prefix" wineserver -w || true
  WINEPREFIX="$prefix" wineserver -p
  # Without a window manager, a managed window's destruction waits 2 s for one.
  sh cmake/wine-run.sh "$prefix" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true

  local ctest_args
  read -r -a ctest_args <<<"${SF_TEST_ARGS:-}"
  ctest --test-dir "$dir" --output-on-failure -j "$jobs" "${ctest_args[@]}" || status=1
  # The smoke test runs on the tests' X server: the prefix's desktop process is tied to the
  # display it started on, and a window opened on another display waits on it.
  local smoke=0
  SF_WINE_DISPLAY=$display bash tests/win32/wine_smoke.sh "$dir" "$prefix" || smoke=$?
  sf_check_result "wine smoke test" $smoke || status=1

  # The zip as a player gets it: unpacked, started from another folder (scripts/lib/package.sh).
  local zipcheck=0
  { sf_package_zip "$dir" "$jobs" >/dev/null &&
    SF_WINE_DISPLAY=$display bash tests/win32/wine_zip.sh "$dir" "$prefix"; } || zipcheck=$?
  sf_check_result "windows zip" $zipcheck || status=1

  WINEPREFIX="$prefix" wineserver -k || true
  if [ -n "$saved_display" ]; then export DISPLAY=$saved_display; else unset DISPLAY; fi
  kill "$xvfb_pid" 2>/dev/null || true
  wait "$xvfb_pid" 2>/dev/null || true
  return $status
}
