#!/usr/bin/env bash
# Wipes a 256 MiB file with 3 passes through WipeFile under Wine, and times
# beside it the limit, three passes of dd over an identical file in the same
# folder, each flushed to the disk (conv=fsync), then its removal; and GNU
# "shred -n 3 -u". WipeFile is timed in the call and as the whole Wine process
# (start to end, against dd's whole processes). Target: at most 1.05 x dd.
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

now() { date +%s.%N; }
span() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", b - a }'; }

cp "$work/wipe.bin" "$work/dd.bin"
sync
start=$(now)
for pass in 1 2 3; do
  dd if=/dev/zero of="$work/dd.bin" bs=1M count="$mib" conv=notrunc,fsync status=none
done
rm -f "$work/dd.bin"
end=$(now)
dd_s=$(span "$start" "$end")

start=$(now)
out=$(timeout 1800 "$loader" "$benchbuild/tests/shredder_bench.exe" 't:\bench-work\wipe.bin' 3 | tr -d '\r')
end=$(now)
whole=$(span "$start" "$end")
wipe=${out%% *}
[ "${out##* }" = 1 ] || { echo "WipeFile failed: $out" >&2; exit 1; }
[ ! -e "$work/wipe.bin" ] || { echo "WipeFile left the file behind" >&2; exit 1; }

start=$(now)
shred -n 3 -u "$work/shred.bin"
end=$(now)
shred_s=$(span "$start" "$end")

rm -rf "$work"
printf 'WipeFile (3 passes, %d MiB), in the call: %.3f s\n' "$mib" "$wipe"
printf 'WipeFile, whole Wine process:          %.3f s\n' "$whole"
printf '3 x dd conv=fsync + rm, the limit:     %.3f s\n' "$dd_s"
printf 'shred -n 3 -u:                         %.3f s\n' "$shred_s"
awk -v w="$wipe" -v d="$dd_s" 'BEGIN { r = w / d; printf "ratio in the call / dd:       %.2f (target <= 1.05): %s\n", r, (r <= 1.05) ? "met" : "NOT met" }'
awk -v w="$whole" -v d="$dd_s" 'BEGIN { printf "ratio whole process / dd:     %.2f\n", w / d }'
awk -v w="$wipe" -v s="$shred_s" 'BEGIN { printf "ratio in the call / shred:    %.2f\n", w / s }'
