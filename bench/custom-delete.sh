#!/usr/bin/env bash
# Times CCustomFunctions::DeleteFolderContents (working form) against the
# limit, a plain FindFirstFile/DeleteFile loop in the same process (target: at
# most 1.05), and beside "cmd /c rd /s /q" under the same Wine, each on a fresh
# identical tree of 20,000 files in 200 nested folders inside a Wine prefix of
# its own, and prints the times, their medians and ratios. The emptying and
# the plain loop take turns at going first; rd, some fifteen times slower, is
# timed in the first RD_ROUNDS rounds only.
#
# Exits non-zero when a figure is missing.
#
#   BUILD_DIR=... bench/custom-delete.sh
#     ROUNDS=n (default 5), RD_ROUNDS=n (default 1), PUMP=0|1 (default 1)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${BUILD_DIR:-$root/build}")
rounds=${ROUNDS:-5}
rd_rounds=${RD_ROUNDS:-1}
pump=${PUMP:-1}
folders=${FOLDERS:-200}
files=${FILES:-20000}

. "$root/tools/wine-env.sh"
. "$root/bench/stats.sh"
bench_build custom_bench custom pirt_runtime pirt_data
# The library seeds its data folder from the program folder: give the helper
# the skeleton and the language files, as every program has them.
rm -rf "$benchbuild/bench/skel" "$benchbuild/bench/languages"
cp -r "$benchbuild/bin/skel" "$benchbuild/bin/languages" "$benchbuild/bench/"

bench_harness
export XDG_DATA_HOME="$benchbuild/bench-xdg"
mkdir -p "$XDG_DATA_HOME"
wineserver -p   # one server for the whole run, so process starts stay cheap

cd "$benchbuild"   # a folder the prefix can see
tree_host="$WINEPREFIX/drive_c/pirt-bench"
tree='C:\pirt-bench'
bench() { "$loader" 't:\bench\custom_bench.exe' "$@" | tr -d '\r'; }

rm -rf "$tree_host"
mkdir -p "$tree_host"
# The server's CPU milliseconds so far: under Wine most of a deletion's work
# (opening, unlinking) is the server's, not the program's.
server=
for p in $(pgrep -f '^/usr/lib/wine/wineserver' || true); do
  if tr '\0' '\n' <"/proc/$p/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX"; then server=$p; fi
done
tick=$(getconf CLK_TCK)
server_cpu() { [ -n "$server" ] && awk -v t="$tick" '{ printf "%.0f", ($14 + $15) * 1000 / t }' "/proc/$server/stat" || echo 0; }

customs=() plains=() rds=() custom_cpus=() plain_cpus=()
# run_empty custom|plain [pump]: builds the tree, empties it through the
# emptying or the plain loop and appends the time and the CPU time (the
# program's and the server's) to the lists of that name.
run_empty() {
  local name=$1 before out left
  local -n walls=${name}s cpus=${name}_cpus
  shift
  bench make "$tree\\$name" "$folders" "$files"
  before=$(server_cpu)
  out=$(bench "$name" "$tree\\$name" "$@" | awk -v n="$name" '$1==n{print $2, $3}')
  [ -n "$out" ] || { echo "the $name emptying gave no time" >&2; exit 1; }
  set -- $out $(( $(server_cpu) - before ))
  walls+=("$1")
  cpus+=("$(awk -v a="$2" -v b="$3" 'BEGIN { printf "%.0f", a + b }')")
  left=$(find "$tree_host/$name" -type f | wc -l)
  [ "$left" -eq 0 ] || { echo "emptying ($name) left $left files" >&2; exit 1; }
}
run_custom() { run_empty custom "$pump"; }
run_plain() { run_empty plain; }
run_rd() {
  bench make "$tree\\rd" "$folders" "$files"
  rds+=("$(bench rd "$tree\\rd" | awk '$1=="rd"{print $2}')")
  [ -n "${rds[-1]}" ] || { echo "rd /s /q gave no time" >&2; exit 1; }
  [ ! -e "$tree_host/rd" ] || { echo "rd /s /q left the tree" >&2; exit 1; }
}
for r in $(seq 1 "$rounds"); do
  echo "round $r: building the trees and deleting them..."
  if [ $((r % 2)) = 1 ]; then run_custom; run_plain; else run_plain; run_custom; fi
  rd_text=
  if [ "$r" -le "$rd_rounds" ]; then run_rd; rd_text=$(printf '   rd /s /q %8.1f ms' "${rds[-1]}"); fi
  printf 'round %d: DeleteFolderContents %8.1f ms (CPU %6d ms)   plain loop %8.1f ms (CPU %6d ms)%s\n' \
    "$r" "${customs[-1]}" "${custom_cpus[-1]}" "${plains[-1]}" "${plain_cpus[-1]}" "$rd_text"
done
rm -rf "$tree_host"

c=$(median "${customs[@]}")
p=$(median "${plains[@]}")
[ -n "$c" ] && [ -n "$p" ] || { echo "no figures" >&2; exit 1; }
echo "tree: $files files in $folders nested folders, $rounds rounds, pump flag $pump"
echo "DeleteFolderContents (median): $c ms"
echo "plain loop, the limit (median): $p ms"
awk -v c="$c" -v p="$p" 'BEGIN{ r=c/p; printf "ratio to the plain loop: %.2f (target <= 1.05): %s\n", r, (r<=1.05)?"met":"NOT met" }'
awk -v r="$(median_of_ratios customs plains)" 'BEGIN { printf "median of per-round ratios: %.2f\n", r }'
cc=$(median "${custom_cpus[@]}")
pc=$(median "${plain_cpus[@]}")
echo "CPU of the program and the wineserver (medians): DeleteFolderContents $cc ms, plain loop $pc ms"
awk -v c="$cc" -v p="$pc" 'BEGIN{ if (p > 0) printf "CPU ratio to the plain loop: %.2f\n", c/p }'
if [ "${#rds[@]}" -gt 0 ]; then
  d=$(median "${rds[@]}")
  echo "cmd /c rd /s /q (median of ${#rds[@]}): $d ms"
  awk -v c="$c" -v d="$d" 'BEGIN{ printf "ratio to rd /s /q: %.2f\n", c/d }'
fi
