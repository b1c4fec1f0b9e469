#!/usr/bin/env bash
# The Debian package unpacked with dpkg-deb into a temporary root (not installed): its files
# are the install tree, the metadata validates, and the game started from "/" finds its data
# through its own path and shows the main menu. Lintian's findings are printed; an error
# fails the check.
# Usage: package_deb.sh PACKAGE.deb
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/e2e_lib.sh"
source "$here/install_lib.sh"
e2e_require_tools
deb=$(cd "$(dirname "${1:?usage: package_deb.sh PACKAGE.deb}")" && pwd)/$(basename "$1")
[ -f "$deb" ] || e2e_fail "no package $deb"
command -v dpkg-deb >/dev/null 2>&1 || { echo "SKIP: dpkg-deb missing"; exit 77; }

e2e_start_display
root="$E2E_TMP/root"
dpkg-deb -x "$deb" "$root"
# Debian keeps games in /usr/games.
inst_expect_tree "$root/usr" games
inst_validate_metadata "$root/usr/share"
dpkg-deb -f "$deb" Depends | grep -q libsdl2 || e2e_fail "the package does not depend on SDL2: $(dpkg-deb -f "$deb" Depends)"

if command -v lintian >/dev/null 2>&1; then
  e2e_note "lintian"
  lintian --tag-display-limit 0 "$deb" >"$E2E_TMP/lintian.txt" 2>&1 || true
  sed 's/^/   /' "$E2E_TMP/lintian.txt"
  ! grep -q '^E:' "$E2E_TMP/lintian.txt" || e2e_fail "lintian reports errors"
else
  e2e_note "lintian missing: not checked"
fi

exe="$root/usr/games/shardfall"
inst_expect_command_line "$exe"
inst_expect_start_from_root "$exe" "$root/usr/share/shardfall/" unpacked
echo "PASS"
