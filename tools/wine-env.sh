# Sourced by the test and run scripts: a Wine prefix that sees only one host
# folder, and an X display of its own.
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEDEBUG=${WINEDEBUG:--all}

# wine_prefix_setup PREFIX DRIVE_LETTER HOST_FOLDER LOADER
wine_prefix_setup() {
  local prefix=$1 letter=$2 folder=$3 loader=$4
  export WINEPREFIX=$prefix
  if [ ! -f "$prefix/system.reg" ]; then
    mkdir -p "$prefix"
    "$loader" wineboot -i >/dev/null 2>&1 || true
    wineserver -w
  fi
  # Nothing of the host but the chosen folder is reachable from inside.
  rm -f "$prefix/dosdevices/z:"
  ln -sfn "$folder" "$prefix/dosdevices/$letter:"
}

xvfb_start() {
  local n
  for n in $(seq 90 200); do
    [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    sleep 0.5
    if kill -0 "$XVFB_PID" 2>/dev/null; then export DISPLAY=":$n"; return 0; fi
  done
  echo "could not start Xvfb" >&2
  return 1
}

harness_stop() {
  [ -n "${WINEPREFIX:-}" ] && wineserver -k >/dev/null 2>&1 || true
  [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" >/dev/null 2>&1 || true
}

# For the benchmarks (root and build set by the caller).
# bench_build TARGET...: builds the targets in the build that can run here
# (32-bit where the kernel runs 32-bit programs, else 64-bit); sets benchbuild
# and loader.
bench_build() {
  if /usr/lib/wine/wine --version >/dev/null 2>&1; then
    benchbuild=$build
    "$root/tools/build.sh" --target "$@"
  else
    benchbuild=$build/x64
    "$root/tools/build.sh" x64 --target "$@"
  fi
  loader=$(cat "$benchbuild/wine-loader")
}

# bench_harness: an Xvfb display and a Wine prefix of the benchmark's own
# (<build>/bench-prefix, which sees only the build folder as t:), both ended
# when the script exits.
bench_harness() {
  trap harness_stop EXIT
  xvfb_start
  wine_prefix_setup "$benchbuild/bench-prefix" t "$benchbuild" "$loader"
  export WINEPATH='t:\bin'
}
