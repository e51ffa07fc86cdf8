#!/usr/bin/env bash
# Wipes a file (256 MiB by default) with 3 passes through WipeFile under Wine
# and times beside it the limit: three passes of dd over an identical file in
# the same folder, each flushed to the disk (conv=fsync), then its removal;
# and GNU "shred -n 3 -u" for reference. Every round starts from fresh,
# synced copies of one random file and runs the three in a rotating order;
# the figures are the medians of the rounds. WipeFile is timed in the call
# and as the whole Wine process, and the process's own cost (start, report
# window, end; no wipe) is timed on its own, so the whole-process gap can be
# split into Wine's start-up and the wipe. Target: at most 1.05 x dd.
#
# The copies are written by cp in large blocks and stay in the page cache, the
# state in which dd is quickest; EVICT=1 drops them from the cache first (as a
# file not read for a while). Both sides always start from the same state: a
# file just written in small blocks (head from /dev/urandom, say) takes any
# writer about twice as long to overwrite, dd included.
#
# Exits non-zero when a figure is missing.
#
#   BUILD_DIR=... bench/shredder-wipe.sh [size in MiB]     (ROUNDS=n, default 5; EVICT=0|1, default 0)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${BUILD_DIR:-$root/build}")
mib=${1:-256}
rounds=${ROUNDS:-5}
evict=${EVICT:-0}

. "$root/tools/wine-env.sh"
. "$root/bench/stats.sh"
bench_build shredder_bench
bench_harness
wineserver -p   # one server for the whole run, as under a running desktop

work=$benchbuild/bench-work
rm -rf "$work"
mkdir -p "$work"
head -c $((mib * 1024 * 1024)) /dev/urandom > "$work/source.bin"

now() { date +%s.%N; }
ms() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.1f", 1000 * (b - a) }'; }
bench() { timeout 1800 "$loader" "$benchbuild/tests/shredder_bench.exe" "$@" | tr -d '\r'; }

# The first Wine process of a server starts Wine's own services beside it;
# they are up before anything is timed.
bench - >/dev/null

# run_dd FILE KIB: three passes of dd in blocks of KIB KiB over FILE, then rm;
# prints the milliseconds.
run_dd() {
  local start end pass
  start=$(now)
  for pass in 1 2 3; do
    dd if=/dev/zero of="$work/$1.bin" bs="$2K" count=$((mib * 1024 / $2)) conv=notrunc,fsync status=none
  done
  rm -f "$work/$1.bin"
  end=$(now)
  ms "$start" "$end"
}
run_dd_limit() { dds+=("$(run_dd dd 1024)"); }
# dd in the wipe's own block size: what the writes cost without Wine.
run_dd_chunk() { chunks+=("$(run_dd ddchunk 64)"); }

run_wipe() {
  local start end out
  start=$(now)
  out=$(bench 't:\bench-work\wipe.bin' 3)
  end=$(now)
  set -- $(head -1 <<<"$out")
  [ "$2" = 1 ] || { echo "WipeFile failed: $out" >&2; exit 1; }
  [ ! -e "$work/wipe.bin" ] || { echo "WipeFile left the file behind" >&2; exit 1; }
  calls+=("$(awk -v s="$1" 'BEGIN { printf "%.1f", 1000 * s }')")
  wholes+=("$(ms "$start" "$end")")
  set -- $(grep '^phases ' <<<"$out")
  opens+=("$2") writes+=("$3") flushes+=("$4") afters+=("$5")
  breakdown=$(grep '^  ' <<<"$out")
}

run_shred() {
  local start end
  start=$(now)
  shred -n 3 -u "$work/shred.bin"
  end=$(now)
  shreds+=("$(ms "$start" "$end")")
}

run_startup() {
  local start end
  start=$(now)
  bench - >/dev/null
  end=$(now)
  startups+=("$(ms "$start" "$end")")
}

dds=() chunks=() calls=() wholes=() shreds=() startups=() opens=() writes=() flushes=() afters=()
order=(run_dd_limit run_wipe run_dd_chunk run_shred)
for r in $(seq 1 "$rounds"); do
  for name in dd ddchunk wipe shred; do cp "$work/source.bin" "$work/$name.bin"; done
  sync
  if [ "$evict" = 1 ]; then
    for name in dd ddchunk wipe shred; do dd if="$work/$name.bin" iflag=nocache count=0 status=none; done
  fi
  for step in "${order[@]}"; do "$step"; done
  run_startup
  order=("${order[@]:1}" "${order[0]}")
  printf 'round %d: dd %6.1f ms, in 64 KiB %6.1f ms   WipeFile in the call %6.1f ms, whole %6.1f ms   shred %6.1f ms   Wine start-up %6.1f ms\n' \
    "$r" "${dds[-1]}" "${chunks[-1]}" "${calls[-1]}" "${wholes[-1]}" "${shreds[-1]}" "${startups[-1]}"
done
rm -rf "$work"

[ "${#calls[@]}" -gt 0 ] || { echo "no figures" >&2; exit 1; }
for figure in "${dds[@]}" "${chunks[@]}" "${calls[@]}" "${wholes[@]}" "${startups[@]}"; do
  [[ "$figure" =~ ^[0-9]+(\.[0-9]+)?$ ]] || { echo "a figure is missing" >&2; exit 1; }
done
d=$(median "${dds[@]}")
k=$(median "${chunks[@]}")
c=$(median "${calls[@]}")
w=$(median "${wholes[@]}")
s=$(median "${shreds[@]}")
u=$(median "${startups[@]}")
echo "last round's wipe:"
echo "$breakdown"
printf '%d MiB, 3 passes, %d rounds, copies evicted from the cache: %d; medians:\n' "$mib" "$rounds" "$evict"
printf '  3 x dd conv=fsync + rm, the limit:   %7.1f ms\n' "$d"
printf '  the same in 64 KiB blocks, as WipeFile:%6.1f ms\n' "$k"
printf '  WipeFile in the call:                %7.1f ms  (opening %s, writes %s, flushes %s, after the last flush %s)\n' \
  "$c" "$(median "${opens[@]}")" "$(median "${writes[@]}")" "$(median "${flushes[@]}")" "$(median "${afters[@]}")"
printf '  WipeFile, whole Wine process:        %7.1f ms\n' "$w"
printf '  Wine process without a wipe:         %7.1f ms\n' "$u"
printf '  shred -n 3 -u:                       %7.1f ms\n' "$s"
awk -v c="$c" -v d="$d" 'BEGIN { r = c / d; printf "ratio in the call / dd:                 %.2f (target <= 1.05): %s\n", r, (r <= 1.05) ? "met" : "NOT met" }'
awk -v r="$(median_of_ratios calls dds)" 'BEGIN { printf "median of per-round ratios, in the call / dd: %.2f\n", r }'
awk -v c="$c" -v k="$k" 'BEGIN { printf "ratio in the call / dd in 64 KiB blocks: %.2f\n", c / k }'
awk -v w="$w" -v d="$d" 'BEGIN { printf "ratio whole process / dd:               %.2f\n", w / d }'
awk -v w="$w" -v u="$u" -v d="$d" 'BEGIN { printf "ratio (whole - Wine start-up) / dd:     %.2f\n", (w - u) / d }'
awk -v c="$c" -v s="$s" 'BEGIN { printf "ratio in the call / shred:              %.2f\n", c / s }'
