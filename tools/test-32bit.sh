#!/usr/bin/env bash
# Runs the shipped 32-bit build where the kernel cannot execute 32-bit Linux
# programs: Debian's 32-bit Wine loader runs under qemu-i386 user-mode
# emulation (only the i386 processes are emulated; wineserver and the 64-bit
# half of Wine stay native), registered through binfmt_misc inside a private
# user namespace, so nothing changes for the rest of the machine.
#
#   BUILD_DIR=... tools/test-32bit.sh [ctest args]    (after tools/build.sh)
#
# Where the package wine32:i386 is not installed (its i386 libraries must match
# the host's amd64 ones, which the archive's indexes do not always allow), the
# i386 Wine of the host's version is unpacked into a library prefix for qemu in
# the build folder instead (tools/fetch-32bit.sh), and inside the namespace
# /usr/lib/wine gets the 32-bit loader beside the host's wine64, where wine64
# looks for it.
#
# It starts every program of build/bin (its main window must appear) and runs
# the 32-bit test executables of custom, system, shredder and common. Only a
# machine that cannot take the route at all (a kernel without binfmt_misc per
# user namespace, no user namespaces, no wine64, no way to the package
# archive) skips it: "32-bit run skipped: <reason>", exit 0. Everything else
# that goes wrong fails it: "32-bit run failed: <reason>", exit 1.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
build=$(cd "$build" && pwd)
stage() { echo "32-bit $1 took $((SECONDS - stage_start)) s"; stage_start=$SECONDS; }
skip() { echo "32-bit run skipped: $*"; exit 0; }
fail() { echo "32-bit run failed: $*"; exit 1; }

if [ "${1:-}" = --inside ]; then
  # ---- inside the namespace: root of its own user, mount and PID namespace ----
  qemu=$2 loaders=$3
  shift 3
  until [ -n "$(cat /proc/self/uid_map 2>/dev/null)" ]; do sleep 0.05; done
  mount -t proc proc /proc || fail "/proc cannot be mounted in the namespace"
  mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc ||
    skip "the kernel gives the user namespace no binfmt_misc of its own"
  # The standard i386 ELF magic and mask; F: the interpreter is opened now,
  # P: argv[0] is kept.
  printf '%s' ":qemu-i386:M::\\x7fELF\\x01\\x01\\x01\\x00\\x00\\x00\\x00\\x00\\x00\\x00\\x00\\x00\\x02\\x00\\x03\\x00:\\xff\\xff\\xff\\xff\\xff\\xfe\\xfe\\x00\\xff\\xff\\xff\\xff\\xff\\xff\\xff\\xff\\xfe\\xff\\xff\\xff:$qemu:FP" \
    > /proc/sys/fs/binfmt_misc/register || fail "qemu-i386 cannot be registered with binfmt_misc"
  # wine64 starts 32-bit programs through the loader named "wine" in its own
  # folder: here that folder holds the unpacked one beside copies of the host's.
  [ "$loaders" = - ] || mount --bind "$loaders" /usr/lib/wine || fail "the 32-bit loaders cannot be put in place"
  version=$(/usr/lib/wine/wine --version 2>&1) ||
    fail "the 32-bit Wine loader does not start under qemu-i386: $version"
  echo "32-bit Wine: $version"

  . "$root/tools/wine-env.sh"
  # A win64 prefix made in here, so that its 32-bit half gets installed; the
  # same place and layout as the 64-bit tests use (wine-run.sh checks them).
  rm -rf "$build/test-prefix" "$build/test-xdg"
  mkdir -p "$build/test-xdg"
  export XDG_DATA_HOME="$build/test-xdg"
  trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
  stage_start=$SECONDS
  wine_prefix_setup "$build/test-prefix" t "$build" /usr/lib/wine/wine64
  [ -n "$(ls "$build/test-prefix/drive_c/windows/syswow64" 2>/dev/null)" ] ||
    fail "the prefix got no 32-bit half (syswow64 is empty)"
  stage "prefix"
  export WINEPATH='t:\bin'
  wineserver -p

  failed=
  # Output through a file: Wine's helper processes started on the way (the
  # desktop, services) inherit it and outlive the program.
  out=$build/test-xdg/startcheck.out
  cd "$build"
  for exe in "$build"/bin/*.exe; do
    name=$(basename "$exe")
    if wine 't:\tests\startcheck.exe' --timeout 60000 "t:\\bin\\$name" > "$out" 2>&1; then
      result=$(tr -d '\r' < "$out")
      echo "32-bit $name: main window after ${result%% *} ms (${result#* })"
    else
      echo "32-bit $name: no main window: $(tr -d '\r' < "$out")"
      failed="${failed:+$failed; }$name showed no main window"
    fi
  done
  stage "programs"

  ctest --output-on-failure --no-tests=error -R '^(custom|system|shredder|common)_tests' "$@" ||
    failed="${failed:+$failed; }32-bit library tests failed or none were found"
  stage "library tests"
  wineserver -k >/dev/null 2>&1 || true
  rm -rf "$build/test-prefix"
  [ -z "$failed" ] || fail "$failed"
  exit 0
fi

# What the machine must offer; without it the route cannot be taken at all.
read -r major minor _ <<<"$(uname -r | tr '.-' '  ')"
[ "$major" -gt 6 ] || { [ "$major" -eq 6 ] && [ "$minor" -ge 7 ]; } ||
  skip "kernel $(uname -r) has no binfmt_misc of its own per user namespace (6.7 or later needed)"
[ "$(id -u)" -eq 0 ] || skip "the namespace's ID map is written as root"
unshare --user --mount --pid --fork true 2>/dev/null || skip "user namespaces are not available"
[ -x /usr/lib/wine/wine64 ] || skip "the 64-bit Wine (package wine64) is not installed"

[ -x "$build/tests/startcheck.exe" ] || fail "no 32-bit build in $build: tests/startcheck.exe is missing (run tools/build.sh first)"

# Reached by the fetches: skipped only where the archive cannot be reached.
unavailable() { if [ -n "${offline:-}" ]; then skip "$why"; else fail "$why"; fi; }
. "$root/tools/fetch-32bit.sh"
stage_start=$SECONDS
start=$SECONDS
qemu=$build/qemu/qemu-i386
if [ ! -x "$qemu" ]; then
  echo "fetching qemu-i386 from Debian trixie..."
  mkdir -p "$build/qemu"
  fetch_qemu "$qemu" || unavailable
fi
version=$("$qemu" --version 2>&1) && [[ $version == qemu-i386\ version* ]] ||
  fail "the cached $qemu does not run (delete it to fetch it again): ${version:-no output}"
echo "${version%%$'\n'*}"
stage "qemu-i386"

# The 32-bit Wine: the system's own where wine32:i386 is installed, else the
# i386 packages of the host's Wine version unpacked into the build folder.
loaders=-
if [ ! -x /usr/lib/wine/wine ]; then
  wine_version=$(dpkg-query -W -f='${Version}' wine64 2>/dev/null) || fail "the version of wine64 is unknown"
  sysroot=$build/wine32/root
  if [ "$(cat "$sysroot/.wine-version" 2>/dev/null)" != "$wine_version" ]; then
    echo "fetching the i386 packages of Wine $wine_version..."
    fetch_wine32 "$sysroot" "$wine_version" || unavailable
  fi
  export QEMU_LD_PREFIX=$sysroot
  loaders=$build/wine32/loader
  { rm -rf "$loaders" && mkdir -p "$loaders" && cp -a /usr/lib/wine/. "$loaders/" &&
    ln -s "$sysroot/usr/lib/wine/wine" "$loaders/wine"; } || fail "the loader folder $loaders cannot be made"
  stage "Wine i386 packages"
fi

# An X display of the run's own where the caller has none.
if [ -z "${DISPLAY:-}" ]; then
  . "$root/tools/wine-env.sh"
  trap '[ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null || true' EXIT
  xvfb_start || fail "no X display could be started"
fi

# The namespace: its creator writes the ID map from outside (0..65535 onto the
# same IDs), then the script goes on inside.
unshare --user --mount --pid --fork --propagation private --kill-child -- \
  env BUILD_DIR="$build" "$0" --inside "$qemu" "$loaders" "$@" &
ns=$!
for _ in $(seq 100); do
  [ "$(readlink /proc/$ns/ns/user 2>/dev/null)" != "$(readlink /proc/self/ns/user)" ] && break
  sleep 0.05
done
{ echo '0 0 65536' > "/proc/$ns/uid_map" && echo '0 0 65536' > "/proc/$ns/gid_map"; } ||
  fail "the namespace's ID map cannot be written"
rc=0
wait $ns || rc=$?
echo "32-bit run took $((SECONDS - start)) s"
exit $rc
