#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks that the notices name exactly the third-party libraries and objects
# the Windows link pulled in, read from the linker's maps of the programs:
# an archive from which a member was taken, or an object file loaded, given
# outside the build folder the map is in (the project's own are inside).
# The notices name them on their "Libraries:" lines, before the licence texts.
#
#   check-notices.sh NOTICES MAP...
set -eu
notices=$1
shift
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

for map in "$@"; do
    build=$(cd "$(dirname "$map")" && pwd)
    # Archive members first, as "/path/libx.a(member.o)", up to the next part.
    { sed -n '/^Archive member included/,/^Discarded input sections/ s|^\(/[^ (]*\.a\)(.*|\1|p' "$map"
      sed -n 's|^LOAD \(/.*\.o\)$|\1|p' "$map"; } | grep -v "^$build/" || true
done | sed 's|.*/||' | sort -u > "$scratch/linked"
[ -s "$scratch/linked" ] || { echo "FAIL: no library found in the maps $*"; exit 1; }

sed '/^The licence texts follow/q' "$notices" |
    awk '/^ *Libraries:/ { listing = 1; sub(/^ *Libraries:/, "") }
         /^ *$/ { listing = 0 }
         listing { for (i = 1; i <= NF; i++) print $i }' | sort -u > "$scratch/named"

status=0
unnamed=$(comm -23 "$scratch/linked" "$scratch/named")
if [ -n "$unnamed" ]; then
    echo "FAIL: linked but not named in $notices:" $unnamed
    status=1
fi
unlinked=$(comm -13 "$scratch/linked" "$scratch/named")
if [ -n "$unlinked" ]; then
    echo "FAIL: named in $notices but not linked:" $unlinked
    status=1
fi
[ "$status" -eq 0 ] && echo "ok: the notices name the $(wc -l < "$scratch/linked") libraries and objects the link pulled in"
exit "$status"
