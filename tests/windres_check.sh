#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Compiles the Windows resource scripts CMake wrote into the build tree and
# reads the results back, so a wrong version string or icon entry shows up
# here and not in the Explorer. The version is the project's, from CMake.
# Usage: windres_check.sh BUILD_DIR VERSION
set -eu

WINDRES=x86_64-w64-mingw32-windres
if ! command -v "$WINDRES" >/dev/null 2>&1; then
    echo "SKIP: $WINDRES not installed"
    exit 77
fi

BUILD=$1
# Four numbers, the fourth 0 when the version has three.
VERSION=$(echo "$2.0.0.0" | cut -d. -f1-4)
NUMBERS=$(echo "$VERSION" | sed 's/\./, /g')
SCRATCH=$(mktemp -d)
trap 'rm -rf "$SCRATCH"' EXIT

# windres preprocesses with the mingw compiler; the scripts need no headers,
# so the host's preprocessor does as well when that compiler is missing.
PREPROCESSOR=
if ! command -v x86_64-w64-mingw32-gcc >/dev/null 2>&1; then
    PREPROCESSOR=--preprocessor=cpp
fi

# compile NAME: BUILD/NAME.rc through windres and back into SCRATCH/NAME.rc.
compile()
{
    "$WINDRES" $PREPROCESSOR -O res -o "$SCRATCH/$1.res" "$BUILD/$1.rc"
    "$WINDRES" -i "$SCRATCH/$1.res" -O rc >"$SCRATCH/$1.rc"
}
compile veld_usb_serial_programmer
compile veld7316-cli

failures=0

# check <what> <actual file>: compares with the expected text on stdin.
check()
{
    cat >"$SCRATCH/expected"
    if diff -u "$SCRATCH/expected" "$2" >"$SCRATCH/difference"; then
        echo "ok: $1"
    else
        echo "FAIL: $1"
        cat "$SCRATCH/difference"
        failures=$((failures + 1))
    fi
}

# windres writes FILEFLAGS, FILESUBTYPE and the file date only when they are
# not zero, so their absence here proves them zero.
sed -n '/^1 VERSIONINFO$/,/^BEGIN$/p' "$SCRATCH/veld_usb_serial_programmer.rc" >"$SCRATCH/fixed"
check "fixed version fields" "$SCRATCH/fixed" <<EOF
1 VERSIONINFO
 FILEVERSION $NUMBERS
 PRODUCTVERSION $NUMBERS
 FILEFLAGSMASK 0x3f
 FILEOS 0x40004
 FILETYPE 0x1
BEGIN
EOF

sed -n '/BLOCK "000004b0"/,/END/ s/^ *VALUE /VALUE /p' "$SCRATCH/veld_usb_serial_programmer.rc" >"$SCRATCH/strings"
check "version strings in block 000004b0" "$SCRATCH/strings" <<EOF
VALUE "CompanyName", "VELD-7316 programmer developers"
VALUE "FileDescription", "GUI for VELD-7316 USB serial programmer"
VALUE "FileVersion", "$VERSION"
VALUE "LegalCopyright", "Copyright (C) 2026 VELD-7316 programmer developers"
VALUE "InternalName", "VELD-7316 USB serial programmer GUI"
VALUE "OriginalFilename", "veld_usb_serial_programmer.exe"
VALUE "ProductName", "VELD-7316 USB serial programmer GUI"
VALUE "ProductVersion", "$VERSION"
EOF

# The command line's: the same block under its own names, and no icon.
sed -n '/BLOCK "000004b0"/,/END/ s/^ *VALUE /VALUE /p' "$SCRATCH/veld7316-cli.rc" >"$SCRATCH/cli-strings"
check "command line's version strings" "$SCRATCH/cli-strings" <<EOF
VALUE "CompanyName", "VELD-7316 programmer developers"
VALUE "FileDescription", "Command line of the VELD-7316 USB serial programmer"
VALUE "FileVersion", "$VERSION"
VALUE "LegalCopyright", "Copyright (C) 2026 VELD-7316 programmer developers"
VALUE "InternalName", "VELD-7316 USB serial programmer command line"
VALUE "OriginalFilename", "veld7316-cli.exe"
VALUE "ProductName", "VELD-7316 USB serial programmer command line"
VALUE "ProductVersion", "$VERSION"
EOF
grep -c 'ICON' "$SCRATCH/veld7316-cli.rc" >"$SCRATCH/cli-icons" || true
check "command line without an icon" "$SCRATCH/cli-icons" <<'EOF'
0
EOF

sed -n '/BLOCK "VarFileInfo"/,/END/ s/^ *VALUE /VALUE /p' "$SCRATCH/veld_usb_serial_programmer.rc" >"$SCRATCH/translation"
check "translation" "$SCRATCH/translation" <<'EOF'
VALUE "Translation", 0x0, 1200
EOF

# One line per entry, without the byte count that depends on the drawing.
# windres prints width and height in octal: 060 = 48, 200 = 128, 040 = 32, 020 = 16.
sed -n '/^"IDI_ICON1" 14 /,/^END/ s/^ *\("[^"]*"\), \([0-9]*\), \([0-9]*\), 0x[0-9a-f]*L, \([0-9]*\).*/\1 planes \2 bits \3 icon \4/p' \
    "$SCRATCH/veld_usb_serial_programmer.rc" >"$SCRATCH/group"
check "icon group IDI_ICON1" "$SCRATCH/group" <<'EOF'
"\060\060\000\000" planes 1 bits 8 icon 1
"\200\200\000\000" planes 1 bits 32 icon 2
"\060\060\000\000" planes 1 bits 32 icon 3
"\040\040\000\000" planes 1 bits 32 icon 4
"\020\020\000\000" planes 1 bits 32 icon 5
EOF

# The rc text shows neither how an icon image is stored nor each resource's
# language, so these come from the .res file itself: type (3 icon, 14 icon
# group, 16 version), name, language and, for an icon, its bitmap header.
/usr/bin/python3 - "$SCRATCH/veld_usb_serial_programmer.res" >"$SCRATCH/listing" <<'EOF'
import struct
import sys

data = open(sys.argv[1], "rb").read()


def identifier(offset):
    """A type or name: 0xffff and a number, or a NUL-terminated UTF-16 text."""
    if data[offset:offset + 2] == b"\xff\xff":
        return str(struct.unpack_from("<H", data, offset + 2)[0]), offset + 4
    end = offset
    while data[end:end + 2] != b"\0\0":
        end += 2
    return data[offset:end].decode("utf-16-le"), end + 2


def aligned(offset):
    return (offset + 3) & ~3


offset = 0
while offset < len(data):
    size, header_size = struct.unpack_from("<II", data, offset)
    kind, after = identifier(offset + 8)
    name, after = identifier(after)
    language = struct.unpack_from("<H", data, aligned(after) + 6)[0]
    body = data[offset + header_size:offset + header_size + size]
    offset = aligned(offset + header_size + size)
    if size == 0:
        continue  # the empty entry that opens every .res file
    line = "%s %s %d" % (kind, name, language)
    if kind == "3":
        header, width, height, _, bits = struct.unpack_from("<IiiHH", body)
        if header == 40:
            # A bitmap's height counts the colour and the mask rows.
            line += " bitmap %dx%d %d" % (width, height // 2, bits)
        else:
            line += " not a bitmap"
    print(line)
EOF
check "resources, languages and icon storage" "$SCRATCH/listing" <<'EOF'
3 1 1033 bitmap 48x48 8
3 2 1033 bitmap 128x128 32
3 3 1033 bitmap 48x48 32
3 4 1033 bitmap 32x32 32
3 5 1033 bitmap 16x16 32
14 IDI_ICON1 1033
16 1 1033
EOF

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "all checks passed"
