# Sourced by tools/test-32bit.sh: fetches what the 32-bit run needs from the
# Debian archive the machine's own apt sources name, with an apt state of our
# own in the build folder. Nothing is installed into the system and the
# machine's apt sources and state stay as they are.
#
# Each fetch_* function returns non-zero with the reason in $why, and sets
# $offline where the archive could not be reached at all (the machine cannot
# take the route) rather than failing on the way. Nothing broken is kept: a
# fetch either completes or leaves no cache behind.

# The "URI SUITE" pairs of the machine's Debian sources (one-line and deb822
# files) whose suite belongs to this release (bookworm, bookworm-updates,
# bookworm-security, ...), main component only.
debian_sources() {
  local codename
  codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
  [ -n "$codename" ] || return 0
  {
    cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null |
      awk '$1 == "deb" { i = 2; if ($2 ~ /^\[/) while (i <= NF && $i !~ /\]$/) i++; if ($2 ~ /^\[/) i++;
                         print $i, $(i + 1) }'
    cat /etc/apt/sources.list.d/*.sources 2>/dev/null |
      awk 'function flush() { if (uri != "" && types ~ /(^| )deb( |$)/) for (i = 1; i <= n; i++) print uri, s[i];
                              uri = ""; types = ""; n = 0 }
           /^[ \t]*$/ { flush(); next }
           /^Types:/ { types = $0; sub(/^Types:[ \t]*/, "", types) }
           /^URIs:/ { uri = $2 }
           /^Suites:/ { n = 0; for (i = 2; i <= NF; i++) s[++n] = $i }
           END { flush() }'
  } | awk -v c="$codename" '$2 == c || index($2, c "-") == 1' | awk '!seen[$0]++'
}

# apt_private STATE ARCH: sets the array apt_opts to an apt state of our own in
# STATE (its sources.list written by the caller), for packages of ARCH.
apt_private() {
  local state=$1 arch=$2
  rm -rf "$state"
  mkdir -p "$state/lists/partial" "$state/cache/archives/partial"
  : > "$state/status"
  apt_opts=(-o Dir::Etc::sourcelist="$state/sources.list" -o Dir::Etc::sourceparts=-
            -o Dir::State::Lists="$state/lists" -o Dir::Cache="$state/cache"
            -o Dir::State::status="$state/status" -o Dir::Etc::preferences=/dev/null
            -o APT::Architecture="$arch" -o APT::Architectures::="$arch"
            -o pkgCacheGen::Essential=none -o APT::Sandbox::User=root -o Debug::NoLocking=1)
}

keyring=/usr/share/keyrings/debian-archive-keyring.gpg

# fetch_qemu PATH: qemu-i386 10.x from Debian trixie's qemu-user (bookworm's
# 7.2 cannot map Wine's shared user data); only that one static binary is kept.
fetch_qemu() {
  local qemu=$1 state uri
  state=$(dirname "$qemu")/apt
  uri=$(debian_sources | awk '{ print $1; exit }')
  [ -n "$uri" ] || { why="no Debian archive named in the machine's apt sources"; return 1; }
  apt_private "$state" amd64
  echo "deb [arch=amd64 signed-by=$keyring] ${uri%/} trixie main" > "$state/sources.list"
  apt-get "${apt_opts[@]}" -qq update >/dev/null 2>&1 ||
    { why="the package archive $uri cannot be reached"; offline=1; return 1; }
  (cd "$state" && apt-get "${apt_opts[@]}" -qq download qemu-user >/dev/null 2>&1) ||
    { why="qemu-user could not be fetched from $uri"; return 1; }
  # set -e does not reach into a function called with ||: every step is checked.
  rm -f "$qemu.new"
  if ! dpkg-deb --fsys-tarfile "$state"/qemu-user_*.deb | tar -xO ./usr/bin/qemu-i386 > "$qemu.new" ||
    [ ! -s "$qemu.new" ]; then
    why="qemu-i386 could not be unpacked from the qemu-user package"
    rm -f "$qemu.new"
    return 1
  fi
  chmod +x "$qemu.new"
  local out
  if ! out=$("$qemu.new" --version 2>&1) || [[ $out != qemu-i386\ version* ]]; then
    why="the fetched qemu-i386 does not run: ${out:-no output}"
    rm -f "$qemu.new"
    return 1
  fi
  mv "$qemu.new" "$qemu" || { why="qemu-i386 cannot be stored as $qemu"; return 1; }
  rm -rf "$state"
}

# The X libraries winex11 loads at run time (recommended, not required, by
# libwine): without them windows render differently from the 64-bit run.
wine32_x_libs=(libxcomposite1 libxcursor1 libxfixes3 libxi6 libxinerama1 libxrandr2 libxrender1 libxxf86vm1)

# fetch_wine32 ROOT VERSION: the i386 Wine at exactly VERSION (the host's
# wine64 and wineserver speak only to their own version) with its i386
# dependency closure, unpacked into ROOT: a library prefix for qemu-i386.
# The suites are tried all together first, then fewer: an archive's i386
# index now and then lags behind the others (e.g. the security suite's).
fetch_wine32() {
  local root=$1 version=$2 state sources uris suites try deb in out link
  state=$root.apt
  sources=$(debian_sources)
  [ -n "$sources" ] || { why="no Debian archive named in the machine's apt sources"; return 1; }
  local first_uri first_suite
  read -r first_uri first_suite <<<"$(head -1 <<<"$sources")"
  local -a tries=("$sources" "$(awk -v u="$first_uri" '$1 == u' <<<"$sources")" "$first_uri $first_suite")
  why="the package archive $first_uri cannot be reached"
  offline=1
  for try in "${tries[@]}"; do
    apt_private "$state" i386
    awk -v k="$keyring" '{ print "deb [arch=i386 signed-by=" k "] " $1 " " $2 " main" }' <<<"$try" > "$state/sources.list"
    echo "  suites: $(cut -d' ' -f2 <<<"$try" | paste -sd' ')"
    apt-get "${apt_opts[@]}" -qq update >/dev/null 2>&1 || continue
    offline=
    why="the i386 packages of Wine $version could not be fetched from $first_uri"
    apt-get "${apt_opts[@]}" -qq -y --download-only --no-install-recommends install \
      "wine32=$version" "libwine=$version" "${wine32_x_libs[@]}" >/dev/null 2>&1 || continue
    why=
    break
  done
  [ -z "$why" ] || { rm -rf "$state"; return 1; }

  rm -rf "$root" "$root.new"
  mkdir -p "$root.new"
  for deb in "$state"/cache/archives/*.deb; do
    dpkg-deb -x "$deb" "$root.new" || { why="$(basename "$deb") could not be unpacked"; rm -rf "$state" "$root.new"; return 1; }
  done
  rm -rf "$state"
  [ -e "$root.new/usr/lib/wine/wine" ] || [ -L "$root.new/usr/lib/wine/wine" ] ||
    { why="the unpacked i386 packages hold no 32-bit Wine loader"; rm -rf "$root.new"; return 1; }
  # Absolute links point into the prefix, so that wineserver (native, which
  # opens the DLL files for the emulated processes) finds the same files.
  find "$root.new" -type l -lname '/*' | while read -r link; do
    ln -sfn "$root$(readlink "$link")" "$link"
  done
  # What libwine's maintainer script does on install: zlib as a builtin DLL.
  in=$root.new/usr/i686-w64-mingw32/lib/zlib1.dll
  out=$root.new/usr/lib/i386-linux-gnu/wine/i386-windows/zlib1.dll
  { head -c 64 "$in" && printf 'Wine builtin DLL' && head -c 16 /dev/zero && tail -c +97 "$in"; } > "$out" ||
    { why="zlib1.dll could not be made a builtin DLL"; rm -rf "$root.new"; return 1; }
  # The 32-bit loader finds its partners and data beside itself: one native
  # wineserver and wine64 for both halves, and the host's data files of the same
  # version (a wine.inf of another date would have every 32-bit start update
  # the prefix).
  rm -f "$root.new/usr/lib/wine/wineserver32"
  ln -sfn /usr/lib/wine/wineserver "$root.new/usr/lib/wine/wineserver"
  ln -sfn /usr/lib/wine/wine64 "$root.new/usr/lib/wine/wine64"
  rm -rf "$root.new/usr/share/wine"
  ln -sfn /usr/share/wine "$root.new/usr/share/wine"
  echo "$version" > "$root.new/.wine-version"
  mv "$root.new" "$root" || { why="the i386 packages cannot be stored in $root"; return 1; }
}
