#!/usr/bin/env bash
# make-lng.sh refuses a key defined twice in one section of a language, naming
# the key and both places, and writes no file; the same key in two sections
# is fine.
set -u
script=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

mkdir "$dir/English"
printf '10140=Cookies\n10150=History\n' > "$dir/English/Brisvane.brisvane.txt"
printf '10140=Cookies\n' > "$dir/English/General.common.txt"
"$script" "$dir/English" "$dir/ok.lng" || fail "a key in two sections was refused"

printf '30400=Start\r\n 10140 =Cookies of the browser\r\n' > "$dir/English/Brisvane.prefs.txt"
if "$script" "$dir/English" "$dir/dup.lng" 2> "$dir/err"; then fail "a duplicate key was accepted"; fi
cat "$dir/err"
for want in 'key 10140 of \[Brisvane\]' 'English/Brisvane.brisvane.txt:1' 'English/Brisvane.prefs.txt:2'; do
  grep -q "$want" "$dir/err" || fail "the message does not name $want"
done
[ ! -e "$dir/dup.lng" ] || fail "a language file was written"
echo "passed"
