#!/usr/bin/env bash
# Brings whatever the build and the tests need on a Debian machine; a second run
# with everything present only checks and returns.
set -euo pipefail

need=()
have_pkg() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

for p in g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix cmake make wine wine32:i386 wine64 xvfb xauth fonts-wine googletest; do
  have_pkg "$p" || need+=("$p")
done
[ ${#need[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
fi
echo "Installing: ${need[*]}"
# A mirror in the middle of a sync fails one index now and then: try again, and
# go on with what was fetched if it keeps failing (the install says if it can't).
for try in 1 2 3; do
  $SUDO apt-get update -qq && break
  echo "apt-get update failed (try $try of 3)"; sleep 10
done
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${need[@]}" >/dev/null
