#!/usr/bin/env bash
# Installs what is missing, builds the suite and starts one of its programs
# under Wine, in a prefix of its own under the user's home. Where the kernel
# cannot run 32-bit programs, the 64-bit build of the same sources is started
# instead.
#   tools/run.sh              the main cleaner (Brisvane)
#   tools/run.sh Tolmira      the recent-work cleaner
#   tools/run.sh Holberin     the plug-in builder
set -euo pipefail
program=${1:-Brisvane}
case $program in
  Brisvane|Tolmira|Holberin) ;;
  *) echo "usage: tools/run.sh [Brisvane|Tolmira|Holberin]"; exit 2 ;;
esac
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${BUILD_DIR:-$root/build}")
"$root/tools/install-deps.sh"
"$root/tools/build.sh"
. "$root/tools/wine-env.sh"
prefix=${BRISVANE_PREFIX:-$HOME/.local/share/zex-ulmoro/wineprefix}
loader=wine
folder=$build/bin
if ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
  "$root/tools/build.sh" x64
  loader=/usr/lib/wine/wine64 folder=$build/x64/bin prefix=$prefix-x64
fi
if [ ! -f "$folder/$program.exe" ]; then
  echo "The suite is built in $build/bin, but $program.exe does not exist."
  exit 0
fi
[ -n "${DISPLAY:-}" ] || { echo "No X display (DISPLAY is unset): start the program from a desktop session."; exit 1; }
export WINEPREFIX=$prefix
[ -f "$prefix/system.reg" ] || { mkdir -p "$prefix"; "$loader" wineboot -i >/dev/null 2>&1 || true; }
exec "$loader" "$folder/$program.exe"
