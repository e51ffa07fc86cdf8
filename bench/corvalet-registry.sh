#!/usr/bin/env bash
# The plug-in builder's registry browser against Wine's own "reg query":
# seeds HKCU\Software\PirtBench (a key of 10,000 values of mixed types, a key
# of 5,000 subkeys with one subkey each) in a Wine prefix of its own, times
# the value list filling the first key and the tree expanding the second, in
# process, and "reg query" / "reg query /s" on them under the same Wine,
# prints every time and removes the keys. A measurement, never a failure.
#   BUILD_DIR=/path/to/build bench/corvalet-registry.sh [values] [keys]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}

if /usr/lib/wine/wine --version >/dev/null 2>&1; then
  "$root/tools/build.sh" --target corvalet_bench
  benchbuild=$build
else
  "$root/tools/build.sh" x64 --target corvalet_bench
  benchbuild=$build/x64
fi

. "$root/tools/wine-env.sh"
trap harness_stop EXIT
xvfb_start
# A prefix of its own that sees only the build folder, as t:.
wine_prefix_setup "$benchbuild/bench-prefix" t "$benchbuild" "$(cat "$benchbuild/wine-loader")"
export WINEPATH='t:\bin'
loader=$(cat "$benchbuild/wine-loader")
cd "$benchbuild/tests"
timeout 1800 "$loader" ./corvalet_bench.exe "${1:-10000}" "${2:-5000}" | tr -d '\r' || echo "the benchmark did not finish" >&2
