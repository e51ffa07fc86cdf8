#!/usr/bin/env bash
# Installs what is missing, builds the suite and runs every test under Wine in a
# throwaway prefix inside the build folder. Arguments go to ctest (e.g. -R custom).
#
# The tests run the 32-bit build under 32-bit Wine where the kernel can execute
# 32-bit programs; where it cannot (32-bit emulation switched off), they run the
# same sources built for 64-bit Windows under 64-bit Wine, and the 32-bit
# program folder is still built, so both must compile.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
"$root/tools/install-deps.sh"
"$root/tools/build.sh" ${BUILD_TARGETS:+--target $BUILD_TARGETS}

if /usr/lib/wine/wine --version >/dev/null 2>&1; then
  testbuild=$build
else
  echo "32-bit programs cannot run on this kernel: testing the 64-bit build under 64-bit Wine."
  "$root/tools/build.sh" x64 ${BUILD_TARGETS:+--target $BUILD_TARGETS}
  testbuild=$build/x64
fi

. "$root/tools/wine-env.sh"
rm -rf "$testbuild/test-prefix" "$testbuild/test-xdg"
mkdir -p "$testbuild/test-xdg"
export XDG_DATA_HOME="$testbuild/test-xdg"
trap harness_stop EXIT
xvfb_start
wine_prefix_setup "$testbuild/test-prefix" t "$testbuild" "$(cat "$testbuild/wine-loader")"
cd "$testbuild"
ctest --output-on-failure "$@"
