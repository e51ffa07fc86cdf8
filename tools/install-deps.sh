#!/usr/bin/env bash
# Brings whatever the build and the tests need on a Debian machine; a second run
# with everything present only checks and returns.
set -euo pipefail

need=()
have_pkg() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

for p in g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix cmake make wine wine64 xvfb xauth fonts-wine googletest; do
  have_pkg "$p" || need+=("$p")
done
[ ${#need[@]} -eq 0 ] && exit 0
# The 32-bit Wine is wanted too, but a machine that could not get it (below)
# is not asked again on every run: tools/test-32bit.sh then unpacks its own
# into the build folder.
have_pkg wine32:i386 || need+=(wine32:i386)

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
install() { DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "$@" >/dev/null; }
if ! install "${need[@]}"; then
  # The 32-bit Wine needs i386 libraries at the exact versions of the host's
  # amd64 ones; when the archive's i386 index lags behind, install the rest:
  # the tests run the 64-bit build under 64-bit Wine anyway.
  rest=()
  for p in "${need[@]}"; do [ "$p" = wine32:i386 ] || rest+=("$p"); done
  echo "32-bit Wine cannot be installed now; installing the rest: ${rest[*]}"
  install "${rest[@]}"
fi
