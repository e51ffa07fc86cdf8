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
build=$(realpath -m "${BUILD_DIR:-$root/build}")

. "$root/tools/wine-env.sh"
bench_build corvalet_bench
bench_harness
cd "$benchbuild/tests"
timeout 1800 "$loader" ./corvalet_bench.exe "${1:-10000}" "${2:-5000}" | tr -d '\r' || echo "the benchmark did not finish" >&2
