# sh wine-run.sh PREFIX PROGRAM [ARGS...]: runs a Windows program under Wine in the private
# prefix PREFIX (created on first use), with HOME and TMPDIR inside it, quietly, without the
# desktop integration and the .NET and HTML engines, and sound going to an ALSA null device.
set -eu
prefix=$1; shift
mkdir -p "$prefix/home" "$prefix/tmp"
export WINEPREFIX="$prefix" HOME="$prefix/home" TMPDIR="$prefix/tmp"
export WINEDEBUG=-all WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=;mshtml="
if [ ! -f "$prefix/alsa-null.conf" ]; then
  echo 'pcm.!default { type null }' >"$prefix/alsa-null.conf"
fi
export ALSA_CONFIG_PATH="/usr/share/alsa/alsa.conf:$prefix/alsa-null.conf"
exec wine "$@"
