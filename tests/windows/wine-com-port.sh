#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes a module emulator's pseudo-terminal a COM port for Windows programs
# under Wine, as a test rig on Windows would: registers it with Wine as COM5,
# announces COM5 to them with the description and manufacturer of the
# emulator's own announcement, and prints the name.
# Usage: wine-com-port.sh PSEUDO_TERMINAL
# Needs WINEPREFIX, and XDG_RUNTIME_DIR as the emulator had it.
set -eu
pseudo_terminal=$1
port=COM5
wine=$(command -v wine64 || command -v wine || echo /usr/lib/wine/wine64)

# Wine lists a port registered here, with an empty description, so the
# program offers it only through the announcement. Wine reads the key when
# its serial driver starts, so a running Wine reaches a new pseudo-terminal
# through the device link, which it follows at every opening.
"$wine" reg add 'HKLM\Software\Wine\Ports' /v "$port" /d "$pseudo_terminal" /f > /dev/null
ln -sfn "$pseudo_terminal" "${WINEPREFIX:?}/dosdevices/$(echo "$port" | tr 'A-Z' 'a-z')"

announcement=""
for file in "${XDG_RUNTIME_DIR:?}"/veld7316-ports/*.port; do
    if [ -f "$file" ] && [ "$(head -n 1 "$file")" = "$pseudo_terminal" ]; then
        announcement=$file
    fi
done
[ -n "$announcement" ] || {
    echo "wine-com-port: no announcement of $pseudo_terminal in $XDG_RUNTIME_DIR/veld7316-ports" >&2
    exit 1
}
# Qt's runtime location on Windows is the user's profile folder.
windows_announcements="${WINEPREFIX:?}/drive_c/users/$(id -un)/veld7316-ports"
mkdir -p "$windows_announcements"
{
    echo "$port"
    sed -n '2,3p' "$announcement"
} > "$windows_announcements/wine-$port.port"
echo "$port"
