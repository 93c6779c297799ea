#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds a fuzz target (default: the configuration reader's) with clang in a
# build directory of its own and runs it for the given seconds on its
# committed seed corpus. Prints the number of executions; exits non-zero on a
# finding.
# Usage: run_fuzz_smoke.sh <seconds> [fuzz_configreader|fuzz_replies]
#        (build dir: $VELD_FUZZ_BUILD_DIR or build-fuzz)
set -eu

seconds=${1:?usage: run_fuzz_smoke.sh <seconds> [target]}
target=${2:-fuzz_configreader}
case "$target" in
# The reader refuses large files: no single allocation may come near 64 MiB.
# The process as a whole grows with the sanitizer's quarantine and the corpus
# (past 512 MiB within a minute on a fast machine), which says nothing of it.
fuzz_configreader) limits="-rss_limit_mb=2048 -malloc_limit_mb=64 -timeout=5 -detect_leaks=0" ;;
# The whole window under the sanitizers needs more memory and time. Qt's
# caches grow during the first inputs, which a leak check after every input
# would take for leaks.
fuzz_replies) limits="-rss_limit_mb=2048 -timeout=10 -detect_leaks=0" ;;
*) echo "run_fuzz_smoke.sh: unknown target $target" >&2; exit 2 ;;
esac
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${VELD_FUZZ_BUILD_DIR:-$root/build-fuzz}
sh "$root/tools/scripts/install-dependencies.sh" clang libclang-rt-14-dev
# Leaks are the sanitizer test suite's business; the leak checker's pause of
# all threads has been seen to hang a short run for good.
ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0}
export ASAN_OPTIONS

CC=clang CXX=clang++ cmake -S "$here" -B "$build" \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target "$target" -j2

# New inputs go to a scratch directory, so the committed seeds stay as they are.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
status=0
# shellcheck disable=SC2086 # $limits holds several options
"$build/$target" -max_total_time="$seconds" $limits \
    -print_final_stats=1 -artifact_prefix="$build/" \
    "$scratch" "$here/corpus/${target#fuzz_}" >"$scratch/fuzz.log" 2>&1 || status=$?

executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$scratch/fuzz.log")
echo "$target: ${executions:-unknown} executions in ${seconds} s"
if [ "$status" -ne 0 ]; then
    tail -n 60 "$scratch/fuzz.log"
    echo "$target: finding, exit status $status (artifacts in $build/)"
fi
exit "$status"
