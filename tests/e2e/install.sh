#!/usr/bin/env bash
# The game as `cmake --install` lays it out in a temporary prefix: the files are there, the
# desktop entry and metadata validate, the command line answers, the game started from "/"
# shows its main menu, and with the data folder removed it says so and exits 1.
# Usage: install.sh BUILD/game
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/e2e_lib.sh"
source "$here/install_lib.sh"
e2e_require_tools
gamedir=${1:?usage: install.sh BUILD/game}
build=$(cd "$gamedir/.." && pwd)
command -v cmake >/dev/null 2>&1 || { echo "SKIP: cmake missing"; exit 77; }

e2e_start_display
prefix="$E2E_TMP/prefix"
cmake --install "$build" --prefix "$prefix" >"$E2E_TMP/install.log" || e2e_fail "cmake --install failed"
# bin/ unless the build was configured otherwise (the Debian package's build uses games/).
bindir=$(sed -n 's/^CMAKE_INSTALL_BINDIR:[A-Z]*=//p' "$build/CMakeCache.txt")
inst_expect_tree "$prefix" "${bindir:-bin}"
inst_validate_metadata "$prefix/share"
exe="$prefix/${bindir:-bin}/shardfall"
inst_expect_command_line "$exe"

inst_expect_start_from_root "$exe" "$prefix/share/shardfall/" installed
inst_expect_no_window_failure "$exe"

e2e_note "the data folder removed"
mv "$prefix/share/shardfall" "$prefix/share/shardfall.away"
inst_expect_no_data_failure "$exe"
inst_expect_named_data_found "$exe" "$prefix/share/shardfall.away"
echo "PASS"
