#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Fails when a source file of the repository lacks the licence's SPDX line
# among its first three lines (after a shebang or an XML declaration).
set -eu
cd "$(dirname "$0")/../.."

missing=$(git ls-files '*.cpp' '*.h' '*.sh' '*.py' '*.cmake' '*CMakeLists.txt' Makefile .ci/run \
    '*.ui' '*.qrc' '*.wxs' '*.rc.in' '*.desktop' |
    while read -r file; do
        head -n 3 "$file" | grep -q 'SPDX-License-Identifier: GPL-3.0-or-later' || echo "$file"
    done)
if [ -n "$missing" ]; then
    echo "$missing" | sed 's/^/no SPDX-License-Identifier line: /' >&2
    exit 1
fi
echo "Licence lines kept."
