#!/usr/bin/env bash
# Builds one language file from its fragments: data/languages/<Language>/
# holds one file per section and owner, "<Section>.<owner>.txt" (or
# "<Section>.txt"), each a list of key=value lines in UTF-8. The result is one
# INI file with each section once, in the Windows ANSI code page 1252.
# A key defined twice in one section (in one fragment or two) stops the build:
# the program would read only one of the texts.
#   make-lng.sh <fragment folder> <output .lng>
set -euo pipefail
src=$1 out=$2
tmp=$(mktemp)
trap 'rm -f "$tmp"' EXIT
# Information first, General second, the rest by name.
sections=$(ls "$src" | sed -n 's/^\([A-Za-z0-9]*\)\(\..*\)\?\.txt$/\1/p' | sort -u | awk '
  $0=="Information"{a=$0; next} $0=="General"{b=$0; next} {r[++n]=$0}
  END{ if(a!="") print a; if(b!="") print b; for(i=1;i<=n;i++) print r[i] }')
for s in $sections; do
  parts=()
  for f in "$src/$s.txt" "$src/$s".*.txt; do
    if [ -f "$f" ]; then parts+=("$f"); fi
  done
  # Keys as the profile functions compare them: blanks trimmed, any case.
  awk -v sec="$s" -v lang="$(basename "$src")" '
    { sub(/\r$/, "") }
    /^[[:space:]]*$/ { next }
    { k = $0; sub(/=.*/, "", k); gsub(/^[[:space:]]+|[[:space:]]+$/, "", k); k = tolower(k)
      n = FILENAME; sub(/.*\//, "", n); here = lang "/" n ":" FNR
      if (k in seen) { printf "make-lng.sh: key %s of [%s] is defined twice: %s and %s\n", k, sec, seen[k], here > "/dev/stderr"; bad = 1 }
      else seen[k] = here }
    END { exit bad }' "${parts[@]}"
  printf '[%s]\r\n' "$s" >> "$tmp"
  for f in "${parts[@]}"; do
    sed -e 's/\r$//' -e '/^[[:space:]]*$/d' -e 's/$/\r/' "$f" >> "$tmp"
  done
  printf '\r\n' >> "$tmp"
done
mkdir -p "$(dirname "$out")"
iconv -f UTF-8 -t CP1252 "$tmp" > "$out.new"
mv "$out.new" "$out"
