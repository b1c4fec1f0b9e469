# The packages and their checks. Sourced by scripts/package and scripts/test.
#   sf_package_deb BUILD [JOBS]       configures BUILD for /usr, builds it, makes the .deb
#   sf_package_zip BUILD-WIN32 [JOBS] makes the Windows zip from a configured Windows build
#   sf_package_deb_check BUILD [JOBS] the .deb, then tests/e2e/package_deb.sh on it (lintian,
#                                     metadata, the unpacked game started from /)

sf_package_deb() {
  local dir=${1:-build} jobs=${2:-2}
  # The package installs under /usr, the program in /usr/games as Debian keeps games; the
  # program finds its data relative to itself, so the prefix only sets where the manual
  # says the data lies. A plain `cmake --install` keeps bin/.
  cmake -S . -B "$dir" -G Ninja -DCMAKE_INSTALL_PREFIX=/usr -DCMAKE_INSTALL_BINDIR=games >/dev/null
  cmake --build "$dir" -j "$jobs"
  rm -f "$dir"/shardfall_*_amd64.deb
  (cd "$dir" && cpack -G DEB)
}

# Configures the Windows cross build in DIR; the Linux build/ provides the packed data and the
# icon it ships, made first when missing.
sf_win32_configure() {
  local dir=${1:-build-win32} jobs=${2:-2} launcher
  read -r -a launcher <<<"$(sf_compiler_launcher)"
  { [ -f build/game/Shardfall.pxa ] && [ -f build/icons/shardfall.ico ]; } ||
    cmake --build build -j "$jobs" --target assets || return 1
  cmake -S . -B "$dir" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
    -DCMAKE_BUILD_TYPE=Release "${launcher[@]}"
}

sf_package_zip() {
  local dir=${1:-build-win32} jobs=${2:-2}
  if [ ! -f "$dir/CMakeCache.txt" ]; then
    sf_win32_configure "$dir" "$jobs" || return 1
  fi
  cmake --build "$dir" -j "$jobs" --target Shardfall win32_data
  rm -f "$dir"/Shardfall-*-win64.zip
  (cd "$dir" && cpack -G ZIP)
}

sf_package_deb_check() {
  local dir=${1:-build} jobs=${2:-2} deb status=0
  sf_package_deb "$dir" "$jobs" || return 1
  deb=$(ls "$dir"/shardfall_*_amd64.deb | head -n1)
  bash tests/e2e/package_deb.sh "$deb" || status=$?
  sf_check_result "debian package" $status
}
