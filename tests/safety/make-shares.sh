#!/bin/sh
# Network shares of this prefix's own folders: Wine reaches \\<server>\<share>
# through dosdevices/unc/<server>/<share>.
#   make-shares.sh          (re)creates them
#   make-shares.sh clean    removes them (links only, never their targets)
# The shares:
#   \\pirtshares\admin$   the Windows folder
#   \\pirtshares\whole    drive C:
#   \\pirtshares\people   the profiles folder
#   \\localhost\admin$    the Windows folder
set -e
[ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX/drive_c" ] || exit 0
unc=$WINEPREFIX/dosdevices/unc
rm -f "$unc/pirtshares/admin\$" "$unc/pirtshares/whole" "$unc/pirtshares/people" "$unc/localhost/admin\$"
[ "${1:-}" = clean ] && exit 0
mkdir -p "$unc/pirtshares" "$unc/localhost"
ln -s ../../../drive_c/windows "$unc/pirtshares/admin\$"
ln -s ../../../drive_c "$unc/pirtshares/whole"
ln -s ../../../drive_c/users "$unc/pirtshares/people"
ln -s ../../../drive_c/windows "$unc/localhost/admin\$"
