#!/usr/bin/env bash
# Wipes a 256 MiB file with 3 passes through WipeFile under Wine and an
# identical file in the same folder with GNU "shred -n 3 -u", and prints both
# times and their ratio (WipeFile / shred; the aim is at most 1.0).
#   BUILD_DIR=/path/to/build bench/shredder-wipe.sh [size in MiB]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
mib=${1:-256}

. "$root/tools/wine-env.sh"
bench_build shredder_bench
bench_harness

work=$benchbuild/bench-work
rm -rf "$work"
mkdir -p "$work"
head -c $((mib * 1024 * 1024)) /dev/urandom > "$work/wipe.bin"
cp "$work/wipe.bin" "$work/shred.bin"
sync

out=$(timeout 1800 "$loader" "$benchbuild/tests/shredder_bench.exe" 't:\bench-work\wipe.bin' 3 | tr -d '\r')
wipe=${out%% *}
[ "${out##* }" = 1 ] || { echo "WipeFile failed: $out" >&2; exit 1; }
[ ! -e "$work/wipe.bin" ] || { echo "WipeFile left the file behind" >&2; exit 1; }

start=$(date +%s.%N)
shred -n 3 -u "$work/shred.bin"
end=$(date +%s.%N)
shred_s=$(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.3f", b - a }')

rm -rf "$work"
printf 'WipeFile (3 passes, %d MiB): %.3f s\n' "$mib" "$wipe"
printf 'shred -n 3 -u:               %.3f s\n' "$shred_s"
awk -v w="$wipe" -v s="$shred_s" 'BEGIN { printf "ratio WipeFile / shred:      %.2f\n", w / s }'
