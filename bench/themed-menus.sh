#!/usr/bin/env bash
# Opens a 40-item popup menu 100 times and redraws the menu bar 100 times,
# first with the themed menu and menu bar, then with a plain menu in the
# system's menu bar, under Wine and Xvfb; prints the mean times and the
# themed / plain ratios. It never fails on the numbers.
#   BUILD_DIR=/path/to/build bench/themed-menus.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}

if /usr/lib/wine/wine --version >/dev/null 2>&1; then
  "$root/tools/build.sh" --target themedmenu_bench
  benchbuild=$build
else
  "$root/tools/build.sh" x64 --target themedmenu_bench
  benchbuild=$build/x64
fi

. "$root/tools/wine-env.sh"
trap harness_stop EXIT
xvfb_start
wine_prefix_setup "$benchbuild/bench-prefix" t "$benchbuild" "$(cat "$benchbuild/wine-loader")"
export WINEPATH='t:\bin'
loader=$(cat "$benchbuild/wine-loader")
timeout 600 "$loader" "$benchbuild/tests/themedmenu_bench.exe" | tr -d '\r' || true
