#!/bin/sh
# Host-side link fixture: Wine shows a host symbolic link to a folder as a
# folder carrying FILE_ATTRIBUTE_REPARSE_POINT (links cannot be made from
# inside the prefix).
#   make-links.sh <folder>          (re)creates the fixture
#   make-links.sh <folder> clean    removes it (links only, never their targets)
# The fixture:
#   outside\keep.txt, outside\keep.dmp, outside\sub\keep2.txt   what the links point at
#   toplink -> outside
#   tree\dirlink -> outside, tree\inner\link -> outside
#   cdrive -> the prefix's drive C: (when WINEPREFIX is set), so that
#             cdrive\windows is the Windows folder reached through a link
set -e
dir=$1
rm -rf "$dir"
[ "${2:-}" = clean ] && exit 0
mkdir -p "$dir/outside/sub" "$dir/tree/inner"
echo keep > "$dir/outside/keep.txt"
echo keep > "$dir/outside/sub/keep2.txt"
echo keep > "$dir/outside/keep.dmp"
ln -s outside "$dir/toplink"
ln -s ../outside "$dir/tree/dirlink"
ln -s ../../outside "$dir/tree/inner/link"
if [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX/drive_c" ]; then
  ln -s "$WINEPREFIX/drive_c" "$dir/cdrive"
fi
