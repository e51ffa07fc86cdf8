#!/usr/bin/env bash
# Times how long each program of the program folder takes until its main
# window shows, against the smallest window program (tests/startcheck/
# minwindow.c), with the wineserver already up, and prints the medians and
# their ratios (target: at most 1.5).
#
#   BUILD_DIR=... bench/startup.sh        (ROUNDS=n, default 5)
#   PROGRAMS="Brisvane eraser" bench/startup.sh   only these (default: all)
#   DESKTOP=cold|warm bench/startup.sh
#   PLUGINS=n bench/startup.sh            Tolmira starts with n plug-ins (and
#                                         a state file for them) in the user's
#                                         plug-in folder, timed until its list
#                                         holds all n rows; printed beside its
#                                         limit, the minimal window plus a plain
#                                         loop reading the same files' General
#                                         sections and the state file once
#                                         (target: at most 1.5)
#
# Wine's desktop process (explorer.exe) starts with the first window and ends
# about a second after the last program: by default a start finds it still
# there, being started or going, as the previous start left it, and the
# medians vary from run to run. DESKTOP=cold waits until it has ended before
# each start (every time includes starting it); DESKTOP=warm keeps one
# minimal window open for the whole run (no time includes it).
#
# Where 32-bit programs cannot run, the 64-bit build stands in for them; its
# modules are stripped first, as the shipped ones are. It is a measurement,
# not a test: it never fails on a ratio.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${BUILD_DIR:-$root/build}")
rounds=${ROUNDS:-5}

. "$root/tools/wine-env.sh"
. "$root/bench/stats.sh"
plugins=${PLUGINS:-}
if [ -n "$plugins" ]; then
  bench_build all tolmira_bench
  # The helper seeds the data folder from its own folder, as a program does.
  rm -rf "$benchbuild/bench/skel" "$benchbuild/bench/languages"
  cp -r "$benchbuild/bin/skel" "$benchbuild/bin/languages" "$benchbuild/bench/"
else
  bench_build all
fi
strip=$(grep -m1 '^CMAKE_STRIP:' "$benchbuild/CMakeCache.txt" | cut -d= -f2)

# The program folder as shipped: every module stripped, skel\ and languages\.
folder=$benchbuild/bench/startup-bin
rm -rf "$folder"
mkdir -p "$benchbuild/bench"
cp -r "$benchbuild/bin" "$folder"
"$strip" --strip-unneeded "$folder"/*.exe "$folder"/*.dll
cp "$benchbuild/tests/minwindow.exe" "$benchbuild/tests/startcheck.exe" "$folder/"

bench_harness
export WINEPATH='t:\bench\startup-bin'
export XDG_DATA_HOME="$benchbuild/bench-xdg"
mkdir -p "$XDG_DATA_HOME"
wineserver -p   # the server stays up: only the program's own start is timed

cd "$benchbuild"
helper() { "$loader" 't:\bench\tolmira_bench.exe' "$@" | tr -d '\r'; }
cleanup() {
  if [ -n "${keeper:-}" ]; then kill "$keeper" 2>/dev/null || true; fi
  # The shipped samples go back in place of the seeded plug-ins.
  if [ -n "$plugins" ]; then helper samples >/dev/null 2>&1 || true; fi
  harness_stop
}
trap cleanup EXIT
if [ -n "$plugins" ]; then
  helper seed "$plugins" || { echo "could not seed $plugins plug-ins" >&2; exit 1; }
fi
programs=(minwindow)
if [ -n "${PROGRAMS:-}" ]; then
  # shellcheck disable=SC2206
  programs+=($PROGRAMS)
else
  for exe in "$benchbuild"/bin/*.exe; do programs+=("$(basename "$exe" .exe)"); done
fi
# The desktop processes of this prefix.
desktop() {
  local p
  for p in $(pgrep -f 'explorer\.exe' || true); do
    # (the process may end between pgrep and the read: no message then)
    { tr '\0' '\n' <"/proc/$p/environ"; } 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX" && echo "$p"
  done
  return 0
}
start() {
  if [ "${DESKTOP:-}" = cold ]; then
    for _ in $(seq 1 100); do [ -z "$(desktop)" ] && break; sleep 0.05; done
  fi
  if [ -n "$plugins" ] && [ "$1" = Tolmira ]; then
    # Its window shows before the list is full: timed until it is.
    helper start 't:\bench\startup-bin\Tolmira.exe' "$plugins" | awk '$1=="full"{print $2}'
    return
  fi
  "$loader" 't:\bench\startup-bin\startcheck.exe' "t:\\bench\\startup-bin\\$1.exe" | tr -d '\r' | awk '{print $1}'
}
if [ "${DESKTOP:-}" = warm ]; then
  "$loader" 't:\bench\startup-bin\minwindow.exe' &
  keeper=$!
  for _ in $(seq 1 100); do [ -n "$(desktop)" ] && break; sleep 0.05; done
  sleep 1
fi

# One start each first: the first one seeds the user's data folder.
for p in "${programs[@]}"; do start "$p" >/dev/null; done
declare -A times
for r in $(seq 1 "$rounds"); do
  line="round $r:"
  for p in "${programs[@]}"; do
    t=$(start "$p" || true)
    # A start that showed no window gives no figure.
    if [[ ! "$t" =~ ^[0-9.]+$ ]]; then
      line+="  $p (no window)"
      continue
    fi
    times[$p]="${times[$p]:-} $t"
    line+=$(printf '  %s %7.1f ms' "$p" "$t")
  done
  echo "$line"
done
if [ -z "${times[minwindow]:-}" ]; then
  echo "no figures: the minimal window program never showed its window" >&2
  exit 1
fi

# shellcheck disable=SC2086
base=$(median ${times[minwindow]})
echo "minimal window program (median): $base ms"
missing=0
for p in "${programs[@]:1}"; do
  if [ -z "${times[$p]:-}" ]; then
    echo "$p: no figures (no window in any round)" >&2
    missing=1
    continue
  fi
  # shellcheck disable=SC2086
  m=$(median ${times[$p]})
  awk -v p="$p" -v m="$m" -v b="$base" \
    'BEGIN{ r=m/b; printf "%s (median): %s ms, ratio %.2f (target <= 1.50): %s\n", p, m, r, (r<=1.5)?"met":"NOT met" }'
done
if [ -n "$plugins" ] && [ -n "${times[Tolmira]:-}" ]; then
  loops=()
  for _ in $(seq 1 "$rounds"); do loops+=("$(helper loop | awk '$1=="loop"{print $2}')"); done
  loop=$(median "${loops[@]}")
  # shellcheck disable=SC2086
  m=$(median ${times[Tolmira]})
  awk -v n="$plugins" -v m="$m" -v b="$base" -v l="$loop" \
    'BEGIN{ r=m/(b+l); printf "Tolmira with %d plug-ins (median): %s ms; limit: minimal window %s ms + plain loop %s ms = %.1f ms; ratio %.2f (target <= 1.50): %s\n", n, m, b, l, b+l, r, (r<=1.5)?"met":"NOT met" }'
fi
echo "load: $(uptime | sed 's/.*load/load/')"
exit $missing
