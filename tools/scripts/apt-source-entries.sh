#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Writes an apt configuration's sources with a deb-src entry for each deb
# entry of the machine's own sources, one-line .list files and deb822
# .sources files alike, so that build-windows-qt.sh fetches qtbase's source
# the way the machine fetches its packages (through its own mirror or proxy).
# Entries that are already deb-src are kept; a CD-ROM is left out.
#
#   apt-source-entries.sh ETC_APT FOLDER
#
# reads ETC_APT/sources.list, ETC_APT/sources.list.d/*.list and *.sources
# (ETC_APT is /etc/apt on the machine), and writes FOLDER/sources.list and
# FOLDER/sources.list.d/.
set -eu
etc=$1
folder=$2

mkdir -p "$folder/sources.list.d"
for list in "$etc/sources.list" "$etc"/sources.list.d/*.list; do
    [ -f "$list" ] && sed -n 's/^[[:space:]]*deb\(-src\)\{0,1\}[[:space:]][[:space:]]*/deb-src /p' "$list"
done | grep -v 'cdrom:' | sort -u > "$folder/sources.list" || true
for sources in "$etc"/sources.list.d/*.sources; do
    [ -f "$sources" ] && sed 's/^Types:.*/Types: deb-src/' "$sources" > "$folder/sources.list.d/${sources##*/}"
done
exit 0
