#!/usr/bin/env bash
# Times CCustomFunctions::DeleteFolderContents (working form) against the
# limit, a plain FindFirstFile/DeleteFile loop in the same process (target: at
# most 1.05), and beside "cmd /c rd /s /q" under the same Wine, each on a fresh
# identical tree of 20,000 files in 200 nested folders inside a Wine prefix of
# its own, and prints the times, their medians and ratios. The emptying and
# the plain loop take turns at going first; rd, some fifteen times slower, is
# timed in the first RD_ROUNDS rounds only.
#
#   BUILD_DIR=... bench/custom-delete.sh
#     ROUNDS=n (default 5), RD_ROUNDS=n (default 1), PUMP=0|1 (default 1)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
rounds=${ROUNDS:-5}
rd_rounds=${RD_ROUNDS:-1}
pump=${PUMP:-1}
folders=${FOLDERS:-200}
files=${FILES:-20000}

. "$root/tools/wine-env.sh"
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
customs=() plains=() rds=()
run_custom() {
  bench make "$tree\\custom" "$folders" "$files"
  customs+=("$(bench custom "$tree\\custom" "$pump" | awk '$1=="custom"{print $2}')")
  local left
  left=$(find "$tree_host/custom" -type f | wc -l)
  [ "$left" -eq 0 ] || { echo "DeleteFolderContents left $left files" >&2; exit 1; }
}
run_plain() {
  bench make "$tree\\plain" "$folders" "$files"
  plains+=("$(bench plain "$tree\\plain" | awk '$1=="plain"{print $2}')")
  local left
  left=$(find "$tree_host/plain" -type f | wc -l)
  [ "$left" -eq 0 ] || { echo "the plain loop left $left files" >&2; exit 1; }
}
run_rd() {
  bench make "$tree\\rd" "$folders" "$files"
  rds+=("$(bench rd "$tree\\rd" | awk '$1=="rd"{print $2}')")
  [ ! -e "$tree_host/rd" ] || { echo "rd /s /q left the tree" >&2; exit 1; }
}
for r in $(seq 1 "$rounds"); do
  echo "round $r: building the trees and deleting them..."
  if [ $((r % 2)) = 1 ]; then run_custom; run_plain; else run_plain; run_custom; fi
  rd_text=
  if [ "$r" -le "$rd_rounds" ]; then run_rd; rd_text=$(printf '   rd /s /q %8.1f ms' "${rds[-1]}"); fi
  printf 'round %d: DeleteFolderContents %8.1f ms   plain loop %8.1f ms%s\n' "$r" "${customs[-1]}" "${plains[-1]}" "$rd_text"
done
rm -rf "$tree_host"

median() { printf '%s\n' "$@" | sort -g | awk '{a[NR]=$1} END{print (NR%2)?a[(NR+1)/2]:(a[NR/2]+a[NR/2+1])/2}'; }
c=$(median "${customs[@]}")
p=$(median "${plains[@]}")
echo "tree: $files files in $folders nested folders, $rounds rounds, pump flag $pump"
echo "DeleteFolderContents (median): $c ms"
echo "plain loop, the limit (median): $p ms"
awk -v c="$c" -v p="$p" 'BEGIN{ r=c/p; printf "ratio to the plain loop: %.2f (target <= 1.05): %s\n", r, (r<=1.05)?"met":"NOT met" }'
if [ "${#rds[@]}" -gt 0 ]; then
  d=$(median "${rds[@]}")
  echo "cmd /c rd /s /q (median of ${#rds[@]}): $d ms"
  awk -v c="$c" -v d="$d" 'BEGIN{ printf "ratio to rd /s /q: %.2f\n", c/d }'
fi
