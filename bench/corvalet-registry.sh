#!/usr/bin/env bash
# The plug-in builder's registry browser against Wine's own "reg query":
# seeds HKCU\Software\PirtBench (a key of 10,000 values of mixed types, a key
# of 5,000 subkeys with one subkey each) in a Wine prefix of its own, then in
# each round times the value list filling the first key and the tree
# expanding the second, in process, and "reg query" / "reg query /s" on them
# under the same Wine; prints each figure (medians) beside its limit with the
# ratio and removes the keys. Exits non-zero when it printed no figures.
#   BUILD_DIR=/path/to/build bench/corvalet-registry.sh [values] [keys] [rounds]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${BUILD_DIR:-$root/build}")

. "$root/tools/wine-env.sh"
bench_build corvalet_bench
bench_harness
cd "$benchbuild/tests"
echo "load: $(uptime)"
rc=0
out=$(timeout 1800 "$loader" ./corvalet_bench.exe "${1:-10000}" "${2:-5000}" "${3:-3}" | tr -d '\r') || rc=$?
[ -n "$out" ] && echo "$out"
if [ "$rc" -ne 0 ] || ! grep -q '^tree expansion: ' <<<"$out"; then
  echo "the benchmark did not finish (exit status $rc): no figures" >&2
  exit 1
fi
echo "load: $(uptime)"
