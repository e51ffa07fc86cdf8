#!/usr/bin/env bash
# Times the recent-work cleaner's run of one plug-in (the entry validator and
# the report rows in a shown list included), in a Wine prefix of its own:
#  - 1,000 Files "Delete" entries over a tree of 1,000 files, against
#    "cmd /c rd /s /q" removing an identical tree under the same Wine
#    (limit: at most 2 x rd);
#  - 100 Folders "DeleteAllBelow" entries on empty folders (limit: 1 s);
# each ROUNDS times, with the medians; then, ROUNDS times in one process,
# the refill of the plug-in list from 500 plug-in files (sorted by name)
# beside its limit, a plain loop that reads the same files' General sections
# with one profile call each and the state file once (target: refill at most
# 1.5 x the loop and under 300 ms), and where a refill's and a start's time
# goes.
# Exits non-zero when a figure is missing.
#
#   BUILD_DIR=... bench/tolmira-run.sh
#     ROUNDS=n (default 3), FILES=n (default 1000), FOLDERS=n (default 100),
#     PLUGINS=n (default 500)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${BUILD_DIR:-$root/build}")
rounds=${ROUNDS:-3}
files=${FILES:-1000}
folders=${FOLDERS:-100}
plugins=${PLUGINS:-500}

. "$root/tools/wine-env.sh"
. "$root/bench/stats.sh"
bench_build tolmira_bench custom pirt_runtime pirt_data
# The program seeds its data folder from the program folder: give the helper
# the skeleton and the language files, as every program has them.
rm -rf "$benchbuild/bench/skel" "$benchbuild/bench/languages"
cp -r "$benchbuild/bin/skel" "$benchbuild/bin/languages" "$benchbuild/bench/"

bench_harness
export XDG_DATA_HOME="$benchbuild/bench-xdg"
mkdir -p "$XDG_DATA_HOME"
wineserver -p   # one server for the whole run, so process starts stay cheap

cd "$benchbuild"   # a folder the prefix can see
tree_host="$WINEPREFIX/drive_c/tolmira-bench"
tree='C:\tolmira-bench'
bench() { "$loader" 't:\bench\tolmira_bench.exe' "$@" | tr -d '\r'; }
field() { awk -v k="$1" '$1==k{print $2}'; }

# The first Wine process of a server starts Wine's own services beside it;
# they are up before anything is timed.
bench >/dev/null 2>&1 || true

runs=() rds=() emptyings=()
for r in $(seq 1 "$rounds"); do
  rm -rf "$tree_host"
  mkdir -p "$tree_host"
  bench make "$tree\\run" "$files" "$tree\\run.dorv"
  out=$(bench run "$tree\\run.dorv")
  left=$(find "$tree_host/run" -type f | wc -l)
  [ "$left" -eq 0 ] || { echo "round $r: the run left $left files" >&2; exit 1; }
  [ "$(field rows <<<"$out")" = "$files" ] || { echo "round $r: the run showed $(field rows <<<"$out") rows" >&2; exit 1; }
  runs+=("$(field run <<<"$out")")

  bench make "$tree\\rd" "$files" "$tree\\rd.dorv"
  rds+=("$(bench rd "$tree\\rd" | field rd)")

  bench folders "$tree\\below" "$folders" "$tree\\below.dorv"
  out=$(bench run "$tree\\below.dorv")
  [ "$(field rows <<<"$out")" = "$folders" ] || { echo "round $r: the run showed $(field rows <<<"$out") rows" >&2; exit 1; }
  emptyings+=("$(field run <<<"$out")")
  printf 'round %d: %d Delete entries %8.1f ms   rd /s /q %8.1f ms   %d DeleteAllBelow entries %8.1f ms   (%s)\n' \
    "$r" "$files" "${runs[-1]}" "${rds[-1]}" "$folders" "${emptyings[-1]}" "$(uptime | sed 's/.*load/load/')"
done
refresh=$(bench refresh "$plugins" "$rounds")
split=$(bench split "$plugins")
rm -rf "$tree_host"
mapfile -t limits < <(field limit <<<"$refresh")
mapfile -t refills < <(field refresh <<<"$refresh")
for r in "${!refills[@]}"; do
  printf 'refill round %d: %8.1f ms   plain loop %8.1f ms\n' "$((r + 1))" "${refills[$r]}" "${limits[$r]:-0}"
done

run=$(median "${runs[@]}")
rd=$(median "${rds[@]}")
below=$(median "${emptyings[@]}")
refill=$(median "${refills[@]}")
limit=$(median "${limits[@]}")
for figure in "$run" "$rd" "$below" "$refill" "$limit"; do
  [[ "$figure" =~ ^[0-9]+(\.[0-9]+)?$ ]] || { echo "a figure is missing" >&2; exit 1; }
done
echo "medians of $rounds rounds:"
echo "  run of one plug-in with $files Delete entries: $run ms"
echo "  cmd /c rd /s /q over $files files:           $rd ms"
awk -v a="$run" -v b="$rd" 'BEGIN { r = a / b; printf "  ratio run / rd: %.2f (limit 2.00): %s\n", r, (r <= 2) ? "met" : "NOT met" }'
awk -v r="$(median_of_ratios runs rds)" 'BEGIN { printf "  median of per-round ratios: %.2f\n", r }'
awk -v a="$below" -v n="$folders" 'BEGIN { printf "  run of one plug-in with %d DeleteAllBelow entries on empty folders: %s ms, %.1f ms per entry (limit 1000 ms): %s\n", n, a, a / n, (a < 1000) ? "met" : "NOT met" }'
echo "list refill from $plugins plug-in files ($(field rows <<<"$refresh") rows): $refill ms (limit 300 ms): $(awk -v a="$refill" 'BEGIN { print (a < 300) ? "met" : "NOT met" }')"
echo "  plain loop over the same files (General once each, state file once): $limit ms"
awk -v a="$refill" -v b="$limit" 'BEGIN { r = a / b; printf "  ratio refill / loop: %.2f (limit 1.50): %s\n", r, (r <= 1.5) ? "met" : "NOT met" }'
awk -v r="$(median_of_ratios refills limits)" 'BEGIN { printf "  median of per-round ratios: %.2f\n", r }'
echo "where one refill's and one start's time goes (each part alone over the same $plugins files, ms):"
awk '$1=="split"{ $1=""; printf "  %s\n", substr($0, 2) }' <<<"$split"
echo "load: $(uptime | sed 's/.*load/load/')"
