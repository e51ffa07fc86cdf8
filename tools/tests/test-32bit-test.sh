#!/usr/bin/env bash
# The 32-bit step fails, with its reason, on a broken route instead of passing
# as skipped: a cached qemu-i386 that does not run (an empty file, which a
# shell would "run" without complaint), a build without startcheck.exe. Both
# stop before anything is emulated. Exit 77 (skipped) only where the machine
# cannot take the route at all.
set -u
script=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
status=0
machine='binfmt_misc|written as root|user namespaces|wine64\) is not installed|cannot be reached|no Debian archive'
check() { # name, expected reason; the build folder is $dir/$name
  local out rc
  out=$(BUILD_DIR="$dir/$1" timeout 120 "$script" 2>&1) && rc=0 || rc=$?
  echo "$1: exit $rc: $out"
  if [ $rc -eq 0 ] && grep -Eq "^32-bit run skipped: .*($machine)" <<<"$out"; then
    exit 77
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
exit $status
