#!/usr/bin/env bash
# Opens a 40-item popup menu 100 times and redraws the menu bar 100 times,
# first with the themed menu and menu bar, then with a plain menu in the
# system's menu bar, under Wine and Xvfb; prints the mean times and the
# themed / plain ratios. It never fails on the numbers, but fails when it
# printed none.
#   BUILD_DIR=/path/to/build bench/themed-menus.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${BUILD_DIR:-$root/build}")

. "$root/tools/wine-env.sh"
bench_build themedmenu_bench
bench_harness
out=$(timeout 600 "$loader" "$benchbuild/tests/themedmenu_bench.exe" | tr -d '\r' || true)
echo "$out"
if ! grep -q 'ratio [0-9]' <<<"$out"; then
  echo "no figures: the benchmark did not run to its end" >&2
  exit 1
fi
