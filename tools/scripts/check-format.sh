#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Fails when a C++ file of the repository differs from what clang-format
# (Debian 12's, version 14) makes of it with the repository's .clang-format.
# With --fix, formats them instead.
set -eu
cd "$(dirname "$0")/../.."
sh tools/scripts/install-dependencies.sh clang-format

files=$(git ls-files '*.cpp' '*.h')
if [ "${1:-}" = "--fix" ]; then
    # shellcheck disable=SC2086 # one file name per word
    clang-format -i $files
    exit 0
fi
# shellcheck disable=SC2086
if ! clang-format --dry-run -Werror $files 2>/tmp/clang-format-check.$$; then
    grep -E '^[^ ].*: (error|warning):' /tmp/clang-format-check.$$ | cut -d: -f1 | sort -u |
        sed 's/^/not formatted: /' >&2
    rm -f /tmp/clang-format-check.$$
    echo "Run: sh tools/scripts/check-format.sh --fix" >&2
    exit 1
fi
rm -f /tmp/clang-format-check.$$
echo "Formatting kept."
