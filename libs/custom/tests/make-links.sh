#!/bin/sh
# Host-side link fixture for the custom.dll tests: Wine shows a host symbolic
# link to a folder as a folder carrying FILE_ATTRIBUTE_REPARSE_POINT.
#   make-links.sh <folder>          (re)creates the fixture
#   make-links.sh <folder> clean    removes it (links only, never their targets)
set -e
dir=$1
rm -rf "$dir"
[ "${2:-}" = clean ] && exit 0
mkdir -p "$dir/outside/sub" "$dir/tree/inner"
echo keep > "$dir/outside/keep.txt"
echo keep > "$dir/outside/sub/keep2.txt"
ln -s outside "$dir/toplink"
ln -s ../outside "$dir/tree/dirlink"
ln -s ../../outside "$dir/tree/inner/link"
