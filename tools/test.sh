#!/usr/bin/env bash
# Installs what is missing, builds the suite and runs every test under Wine in a
# throwaway prefix inside the build folder. Arguments go to ctest (e.g. -R custom).
#
# The tests run the 32-bit build under 32-bit Wine where the kernel can execute
# 32-bit programs; where it cannot (32-bit emulation switched off), they run the
# same sources built for 64-bit Windows under 64-bit Wine, and then
# tools/test-32bit.sh starts the 32-bit programs and runs the 32-bit library
# tests through qemu-i386.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${BUILD_DIR:-$root/build}")
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
rc=0
ctest --output-on-failure "$@" || rc=$?

# The pictures the tests took of their windows (the confirmation box among
# them), gathered as the run's artefacts.
mkdir -p "$build/artifacts"
find "$testbuild/tests" -maxdepth 2 -name '*.bmp' -exec cp {} "$build/artifacts/" \;
echo "window pictures of this run: $build/artifacts"

# The shipped 32-bit folder itself, where the 64-bit build stood in for it: its
# programs started and the library tests run through qemu-i386 (a full run
# only; PIRT_32BIT=1 asks for it in a partial one too, PIRT_32BIT=0 never).
if [ "$testbuild" != "$build" ]; then
  if [ "${PIRT_32BIT:-}" = 1 ] || { [ $# -eq 0 ] && [ -z "${BUILD_TARGETS:-}" ] && [ "${PIRT_32BIT:-}" != 0 ]; }; then
    BUILD_DIR="$build" "$root/tools/test-32bit.sh" || rc=1
  else
    echo "32-bit run skipped: a partial run (PIRT_32BIT=1 asks for it)"
  fi
fi
exit $rc
