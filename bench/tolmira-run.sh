#!/usr/bin/env bash
# Times the recent-work cleaner's run of one plug-in of 1,000 Files "Delete"
# entries over a tree of 1,000 files (the entry validator included) against
# "cmd /c rd /s /q" removing an identical tree under the same Wine, and the
# refill of the plug-in list from 500 plug-in files; in a Wine prefix of its
# own. Prints the times and the ratio; a measurement, never a failure.
#
#   BUILD_DIR=... bench/tolmira-run.sh        (FILES=n, default 1000; PLUGINS=n, default 500)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${BUILD_DIR:-$root/build}")
files=${FILES:-1000}
plugins=${PLUGINS:-500}

. "$root/tools/wine-env.sh"
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
bench() { "$loader" 't:\bench\tolmira_bench.exe' "$@" | tr -d '\r' || true; }

rm -rf "$tree_host"
mkdir -p "$tree_host"
bench make "$tree\\run" "$files" "$tree\\run.dorv"
run=$(bench run "$tree\\run.dorv" | awk '$1=="run"{print $2}')
left=$(find "$tree_host/run" -type f | wc -l)
bench make "$tree\\rd" "$files" "$tree\\rd.dorv"
rd=$(bench rd "$tree\\rd" | awk '$1=="rd"{print $2}')
refresh=$(bench refresh "$plugins")
rm -rf "$tree_host"

echo "run of one plug-in with $files Delete entries: ${run:-?} ms ($left files left)"
echo "cmd /c rd /s /q over $files files:           ${rd:-?} ms"
if [ -n "${run:-}" ] && [ -n "${rd:-}" ]; then
  awk -v a="$run" -v b="$rd" 'BEGIN{ printf "ratio run / rd: %.2f\n", a/b }'
fi
echo "list refill from $plugins plug-in files:    $(echo "$refresh" | awk '$1=="refresh"{print $2}') ms ($(echo "$refresh" | awk '$1=="rows"{print $2}') rows)"
