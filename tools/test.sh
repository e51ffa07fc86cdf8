#!/usr/bin/env bash
# Installs what is missing, builds the suite and runs every test under Wine in a
# throwaway prefix inside the build folder. Arguments go to ctest (e.g. -R custom).
#
# The tests run the 32-bit build under 32-bit Wine where the kernel can execute
# 32-bit programs; where it cannot (32-bit emulation switched off), they run the
# same sources built for 64-bit Windows under 64-bit Wine, and then
# tools/test-32bit.sh starts the 32-bit programs and runs the 32-bit library
# tests through qemu-i386. PIRT_TEST_BUILD=x64 tests the 64-bit build (build/x64,
# a prefix of its own) on any kernel; .ci/run uses it to test both builds.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${BUILD_DIR:-$root/build}")
case "${PIRT_TEST_BUILD:-}" in
  ""|x64) ;;
  *) echo "PIRT_TEST_BUILD=$PIRT_TEST_BUILD: only x64 (or nothing, the build this kernel runs) is known" >&2; exit 2 ;;
esac
"$root/tools/install-deps.sh"

runs32=0
/usr/lib/wine/wine --version >/dev/null 2>&1 && runs32=1
if [ $runs32 = 1 ] && [ -z "${PIRT_TEST_BUILD:-}" ]; then
  testbuild=$build
elif [ $runs32 = 1 ]; then
  echo "Testing the 64-bit build under 64-bit Wine (PIRT_TEST_BUILD=x64)."
  testbuild=$build/x64
else
  echo "32-bit programs cannot run on this kernel: testing the 64-bit build under 64-bit Wine."
  testbuild=$build/x64
fi
# The shipped 32-bit folder, where the 64-bit build stands in for it, is run
# after the tests through qemu-i386 (a full run only; PIRT_32BIT=1 asks for it
# in a partial one too, PIRT_32BIT=0 never).
qemu32=0
if [ $runs32 = 0 ]; then
  if [ "${PIRT_32BIT:-}" = 1 ] || { [ $# -eq 0 ] && [ -z "${BUILD_TARGETS:-}" ] && [ "${PIRT_32BIT:-}" != 0 ]; }; then
    qemu32=1
  fi
fi
# The 32-bit build only where something of it runs: a 64-bit run on a kernel
# that has just tested the 32-bit one builds nothing of it again.
if [ "$testbuild" = "$build" ] || [ $qemu32 = 1 ]; then
  "$root/tools/build.sh" ${BUILD_TARGETS:+--target $BUILD_TARGETS}
fi
if [ "$testbuild" != "$build" ]; then
  "$root/tools/build.sh" x64 ${BUILD_TARGETS:+--target $BUILD_TARGETS}
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
# them), gathered as the run's artefacts: the 64-bit build's in a folder of
# their own, so that a run of both keeps both.
artifacts=$build/artifacts
[ "$testbuild" != "$build" ] && artifacts=$build/artifacts/x64
mkdir -p "$artifacts"
find "$testbuild/tests" -maxdepth 2 -name '*.bmp' -exec cp {} "$artifacts/" \;
echo "window pictures of this run: $artifacts"

if [ $qemu32 = 1 ]; then
  BUILD_DIR="$build" "$root/tools/test-32bit.sh" || rc=1
elif [ $runs32 = 0 ]; then
  echo "32-bit run skipped: a partial run (PIRT_32BIT=1 asks for it)"
fi
exit $rc
