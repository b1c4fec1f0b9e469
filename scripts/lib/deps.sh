# Installs the Debian packages the build, the tests and the game need, when missing.
# Sourced by scripts/test, scripts/play and scripts/package. Fast when everything is present.

# Building the game and playing it (scripts/play).
SF_PLAY_PACKAGES=(
  g++ cmake ninja-build pkg-config
  libsdl2-dev libopenal-dev
  libfreetype-dev fonts-dejavu-core libpng-dev
)
# Everything else the tests and the packages need: test and benchmark libraries, the X
# tools of the end-to-end tests, the Windows cross build and Wine, the package tools.
SF_TEST_PACKAGES=(
  ccache libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth xdotool imagemagick openbox x11-utils x11-xserver-utils
  g++-mingw-w64-x86-64-posix wine wine64
  dpkg-dev lintian desktop-file-utils appstream
)
SF_PACKAGES=("${SF_PLAY_PACKAGES[@]}" "${SF_TEST_PACKAGES[@]}")

sf_missing_packages() {
  local missing=()
  local p
  for p in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$p")
    fi
  done
  echo "${missing[@]:-}"
}

sf_install_packages() {
  local missing
  missing=$(sf_missing_packages "$@")
  [ -z "$missing" ] && return 0
  echo "Installing: $missing"
  local sudo=""
  if [ "$(id -u)" != "0" ]; then
    if command -v sudo >/dev/null 2>&1; then sudo="sudo"; else
      echo "need root (or sudo) to install: $missing" >&2; return 1; fi
  fi
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  # shellcheck disable=SC2086
  $sudo apt-get install -y -qq --no-install-recommends $missing
}

# The test programs' precompiled header is cacheable when ccache may ignore its time stamps.
export CCACHE_SLOPPINESS=${CCACHE_SLOPPINESS:-pch_defines,time_macros}

# CMake flags that run the compilers through ccache, when it is installed.
sf_compiler_launcher() {
  command -v ccache >/dev/null 2>&1 &&
    echo -DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache
  return 0
}

# Reports how a check of a script ended, as the test summary counts it: exit 0 passed,
# 77 skipped (a tool is missing), anything else failed (and returns 1).
sf_check_result() {
  case $2 in
    0) echo "== check $1: passed" ;;
    77) echo "== check $1: skipped" ;;
    *) echo "== check $1: failed"; return 1 ;;
  esac
}
