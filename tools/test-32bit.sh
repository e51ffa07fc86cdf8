#!/usr/bin/env bash
# Runs the shipped 32-bit build where the kernel cannot execute 32-bit Linux
# programs: the host's own 32-bit Wine loader runs under qemu-i386 user-mode
# emulation (only the i386 processes are emulated; wineserver and the 64-bit
# half of Wine stay native), registered through binfmt_misc inside a private
# user namespace, so nothing changes for the rest of the machine.
#
#   BUILD_DIR=... tools/test-32bit.sh     (after tools/build.sh; Xvfb on $DISPLAY)
#
# It starts every program of build/bin (its main window must appear) and runs
# the 32-bit test executables of custom, system, shredder and common. Where the
# route cannot work it says why and is skipped (exit 0); a failure inside it
# fails the script.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
build=$(cd "$build" && pwd)

if [ "${1:-}" = --inside ]; then
  # ---- inside the namespace: root of its own user, mount and PID namespace ----
  qemu=$2
  until [ -n "$(cat /proc/self/uid_map 2>/dev/null)" ]; do sleep 0.05; done
  mount -t proc proc /proc
  mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc
  # The standard i386 ELF magic and mask; F: the interpreter is opened now,
  # P: argv[0] is kept.
  printf '%s' ":qemu-i386:M::\\x7fELF\\x01\\x01\\x01\\x00\\x00\\x00\\x00\\x00\\x00\\x00\\x00\\x00\\x02\\x00\\x03\\x00:\\xff\\xff\\xff\\xff\\xff\\xfe\\xfe\\x00\\xff\\xff\\xff\\xff\\xff\\xff\\xff\\xff\\xfe\\xff\\xff\\xff:$qemu:FP" \
    > /proc/sys/fs/binfmt_misc/register
  if ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
    echo "32-bit run skipped: the 32-bit Wine loader does not start under qemu-i386"
    exit 0
  fi

  . "$root/tools/wine-env.sh"
  # A win64 prefix made in here, so that its 32-bit half gets installed; the
  # same place and layout as the 64-bit tests use (wine-run.sh checks them).
  rm -rf "$build/test-prefix" "$build/test-xdg"
  mkdir -p "$build/test-xdg"
  export XDG_DATA_HOME="$build/test-xdg"
  trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
  start=$SECONDS
  wine_prefix_setup "$build/test-prefix" t "$build" /usr/lib/wine/wine64
  echo "32-bit prefix ready after $((SECONDS - start)) s"
  export WINEPATH='t:\bin'
  wineserver -p

  failed=0
  for exe in "$build"/bin/*.exe; do
    name=$(basename "$exe")
    if out=$(wine 't:\tests\startcheck.exe' --timeout 60000 "t:\\bin\\$name" 2>&1); then
      echo "32-bit $name: main window after ${out%% *} ms (${out#* })" | tr -d '\r'
    else
      echo "32-bit $name: no main window: $out" | tr -d '\r'
      failed=1
    fi
  done

  cd "$build"
  ctest --output-on-failure -R '^(custom|system|shredder|common)_tests' || failed=1
  wineserver -k >/dev/null 2>&1 || true
  rm -rf "$build/test-prefix"
  exit $failed
fi

skip() { echo "32-bit run skipped: $*"; exit 0; }

[ -x /usr/lib/wine/wine ] || skip "the 32-bit Wine loader (package wine32:i386) is not installed"
[ -x "$build/tests/startcheck.exe" ] || skip "no 32-bit build in $build (run tools/build.sh first)"
read -r major minor _ <<<"$(uname -r | tr '.-' '  ')"
[ "$major" -gt 6 ] || { [ "$major" -eq 6 ] && [ "$minor" -ge 7 ]; } ||
  skip "kernel $(uname -r) has no binfmt_misc of its own per user namespace (6.7 or later needed)"
[ "$(id -u)" -eq 0 ] || skip "the namespace's ID map is written as root"
unshare --user --mount --pid --fork true 2>/dev/null || skip "user namespaces are not available"

# qemu-i386 10.x (Debian trixie's qemu-user; bookworm's 7.2 cannot map Wine's
# shared user data), fetched once with an apt state of our own and cached in
# the build folder. The machine's own apt sources stay as they are.
qemu=$build/qemu/qemu-i386
if [ ! -x "$qemu" ]; then
  echo "fetching qemu-i386 from Debian trixie..."
  state=$build/qemu/apt
  rm -rf "$state"; mkdir -p "$state/lists/partial" "$state/cache/archives/partial"
  # The archive the machine's own sources name.
  uri=$(cat /etc/apt/sources.list /etc/apt/sources.list.d/*.sources /etc/apt/sources.list.d/*.list 2>/dev/null |
        awk '/^URIs:/{print $2; exit} /^deb /{for(i=2;i<=NF;i++) if($i ~ /^https?:/){print $i; exit}}') || true
  [ -n "$uri" ] || skip "no Debian archive named in the machine's apt sources"
  keyring=/usr/share/keyrings/debian-archive-keyring.gpg
  echo "deb [arch=amd64 signed-by=$keyring] ${uri%/} trixie main" > "$state/sources.list"
  apt_private=(-o Dir::Etc::sourcelist="$state/sources.list" -o Dir::Etc::sourceparts=-
               -o Dir::State::Lists="$state/lists" -o Dir::Cache="$state/cache"
               -o APT::Architectures::=amd64 -o Debug::NoLocking=1 -qq)
  apt-get "${apt_private[@]}" update >/dev/null 2>&1 || skip "the package archive $uri cannot be reached"
  (cd "$state" && apt-get "${apt_private[@]}" download qemu-user >/dev/null 2>&1) ||
    skip "qemu-user could not be fetched from $uri"
  dpkg-deb --fsys-tarfile "$state"/qemu-user_*.deb | tar -xO ./usr/bin/qemu-i386 > "$qemu.new"
  chmod +x "$qemu.new"
  mv "$qemu.new" "$qemu"
  rm -rf "$state"
fi
"$qemu" --version | head -1

# The namespace: its creator writes the ID map from outside (0..65535 onto the
# same IDs), then the script goes on inside.
start=$SECONDS
unshare --user --mount --pid --fork --propagation private --kill-child -- \
  env BUILD_DIR="$build" "$0" --inside "$qemu" &
ns=$!
for _ in $(seq 100); do
  [ "$(readlink /proc/$ns/ns/user 2>/dev/null)" != "$(readlink /proc/self/ns/user)" ] && break
  sleep 0.05
done
echo '0 0 65536' > "/proc/$ns/uid_map"
echo '0 0 65536' > "/proc/$ns/gid_map"
rc=0
wait $ns || rc=$?
echo "32-bit run took $((SECONDS - start)) s"
exit $rc
