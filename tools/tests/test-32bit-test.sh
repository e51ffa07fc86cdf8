#!/usr/bin/env bash
# The 32-bit step fails, with its reason, on a broken route instead of passing
# as skipped: a cached qemu-i386 that does not run (an empty file, which a
# shell would "run" without complaint), a build without startcheck.exe. Both
# stop before anything is fetched or emulated, so only the checks of the
# machine itself may skip them. The fetch never caches a qemu-i386 that does
# not run: tried with stubs standing in for the archive, which need no machine
# and so run even where the machine's checks skip the others (the entry then
# exits 77 once they passed).
set -u
script=$1
fetch=$(dirname "$script")/fetch-32bit.sh
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
status=0
skipped=
machine='binfmt_misc|written as root|user namespaces|wine64\) is not installed'
check() { # name, expected reason; the build folder is $dir/$name
  local out rc
  out=$(BUILD_DIR="$dir/$1" timeout 120 "$script" 2>&1) && rc=0 || rc=$?
  echo "$1: exit $rc: $out"
  if [ $rc -eq 0 ] && grep -Eq "^32-bit run skipped: .*($machine)" <<<"$out"; then
    skipped="$skipped $1"
    return
  fi
  if [ $rc -eq 0 ] || ! grep -q "^32-bit run failed: .*$2" <<<"$out"; then
    echo "FAIL: $1 did not fail with \"$2\""
    status=1
  fi
}

mkdir -p "$dir/broken-qemu/tests" "$dir/broken-qemu/qemu" "$dir/no-startcheck/qemu"
printf 'MZ' > "$dir/broken-qemu/tests/startcheck.exe"
: > "$dir/broken-qemu/qemu/qemu-i386"
printf '\177ELF\001' > "$dir/no-startcheck/qemu/qemu-i386"
chmod +x "$dir/broken-qemu/tests/startcheck.exe" "$dir"/*/qemu/qemu-i386
check broken-qemu 'qemu-i386 does not run'
check no-startcheck 'startcheck.exe is missing'

fetched() { # name, the package's qemu-i386, expected reason ("" when it is to be cached)
  local d=$dir/fetch-$1 out
  mkdir -p "$d/bin" "$d/pkg/usr/bin" "$d/qemu"
  printf '%b' "$2" > "$d/pkg/usr/bin/qemu-i386"
  chmod +x "$d/pkg/usr/bin/qemu-i386"
  printf '#!/bin/sh\nfor a; do [ "$a" = download ] && : > qemu-user_10_amd64.deb; done; exit 0\n' > "$d/bin/apt-get"
  printf '#!/bin/sh\nexec tar -C "%s" -cf - ./usr/bin/qemu-i386\n' "$d/pkg" > "$d/bin/dpkg-deb"
  chmod +x "$d/bin/apt-get" "$d/bin/dpkg-deb"
  out=$(PATH="$d/bin:$PATH"
        . "$fetch"
        debian_sources() { echo "http://archive.invalid/debian bookworm"; }
        why=
        if fetch_qemu "$d/qemu/qemu-i386"; then echo cached; else echo "refused: $why"; fi)
  echo "fetch $1: $out"
  if [ -z "$3" ]; then
    [ "$out" = cached ] && [ -s "$d/qemu/qemu-i386" ] || { echo "FAIL: the fetched $1 qemu-i386 was not cached"; status=1; }
  elif ! grep -q "^refused: .*$3" <<<"$out" || [ -e "$d/qemu/qemu-i386" ] || [ -e "$d/qemu/qemu-i386.new" ]; then
    echo "FAIL: the fetched $1 qemu-i386 was not refused with \"$3\" or left a file"
    status=1
  fi
}
fetched empty '' 'could not be unpacked'
fetched foreign '#!/bin/sh\necho not qemu\n' 'does not run: not qemu'
fetched working '#!/bin/sh\necho "qemu-i386 version 10.0.2"\n' ''
if [ $status -eq 0 ] && [ -n "$skipped" ]; then
  echo "skipped by this machine's checks:$skipped (the fetch checks passed)"
  exit 77
fi
exit $status
