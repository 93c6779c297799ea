#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# tools/scripts/apt-source-entries.sh on a made-up /etc/apt: one-line and
# deb822 entries become deb-src entries, options and fields kept, a CD-ROM
# and files apt does not read left out.
set -eu
script=$(dirname "$0")/../tools/scripts/apt-source-entries.sh
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
etc=$scratch/etc
mkdir -p "$etc/sources.list.d"
cat > "$etc/sources.list" <<'LIST'
# deb http://commented.example/debian bookworm main
deb http://mirror.example/debian bookworm main contrib
  deb  [signed-by=/usr/share/keyrings/k.gpg] http://mirror.example/debian-security bookworm-security main
deb-src http://mirror.example/debian bookworm main contrib
deb cdrom:[Debian GNU/Linux 12]/ bookworm main
LIST
echo "deb http://proxy.example:3142/debian bookworm-updates main" > "$etc/sources.list.d/updates.list"
echo "deb http://ignored.example/debian bookworm main" > "$etc/sources.list.d/old.list.disabled"
cat > "$etc/sources.list.d/debian.sources" <<'SOURCES'
Types: deb
URIs: http://mirror.example/debian
Suites: bookworm
Components: main

Types: deb deb-src
URIs: http://mirror.example/extra
Suites: bookworm
Components: main
Signed-By: /usr/share/keyrings/k.gpg
SOURCES

sh "$script" "$etc" "$scratch/apt"
failures=0
expect() {
    if printf '%s\n' "$2" | diff -u - "$1"; then echo "ok: $1"; else failures=$((failures + 1)); fi
}
expect "$scratch/apt/sources.list" "deb-src [signed-by=/usr/share/keyrings/k.gpg] http://mirror.example/debian-security bookworm-security main
deb-src http://mirror.example/debian bookworm main contrib
deb-src http://proxy.example:3142/debian bookworm-updates main"
expect "$scratch/apt/sources.list.d/debian.sources" "Types: deb-src
URIs: http://mirror.example/debian
Suites: bookworm
Components: main

Types: deb-src
URIs: http://mirror.example/extra
Suites: bookworm
Components: main
Signed-By: /usr/share/keyrings/k.gpg"
[ "$(ls "$scratch/apt/sources.list.d")" = debian.sources ] || { echo "FAIL: other files written"; failures=$((failures + 1)); }
exit "$failures"
