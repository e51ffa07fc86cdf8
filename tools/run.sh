#!/usr/bin/env bash
# Installs what is missing, builds the suite and starts the main cleaner under
# Wine, in a prefix of its own under the user's home.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
"$root/tools/install-deps.sh"
"$root/tools/build.sh"
. "$root/tools/wine-env.sh"
prefix=${BRISVANE_PREFIX:-$HOME/.local/share/zex-ulmoro/wineprefix}
export WINEPREFIX=$prefix
[ -f "$prefix/system.reg" ] || { mkdir -p "$prefix"; wineboot -i >/dev/null 2>&1 || true; }
if [ ! -f "$build/bin/Brisvane.exe" ]; then
  echo "The suite is built in $build/bin, but no program is runnable yet: Brisvane.exe does not exist."
  exit 0
fi
[ -n "${DISPLAY:-}" ] || { echo "No X display (DISPLAY is unset): start the program from a desktop session."; exit 1; }
exec wine "$build/bin/Brisvane.exe"
