#!/usr/bin/env bash
# Configures and builds the suite.
#   tools/build.sh            the program folder: 32-bit, in $BUILD_DIR (default build/)
#   tools/build.sh x64        the 64-bit test build, in $BUILD_DIR/x64
# Extra arguments are passed to cmake --build (e.g. --target custom_tests).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${BUILD_DIR:-$root/build}")
toolchain=$root/cmake/mingw-i686.cmake
if [ "${1:-}" = x64 ]; then
  shift; build=$build/x64; toolchain=$root/cmake/mingw-x86_64.cmake
fi
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$build" -j"$(nproc)" "$@"
