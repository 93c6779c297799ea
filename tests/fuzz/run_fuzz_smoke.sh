#!/bin/sh
# Builds the configuration reader's fuzz target with clang in a build
# directory of its own and runs it for the given seconds on the committed
# seed corpus. Prints the number of executions; exits non-zero on a finding.
# Usage: run_fuzz_smoke.sh <seconds>   (build dir: $VELD_FUZZ_BUILD_DIR or build-fuzz)
set -eu

seconds=${1:?usage: run_fuzz_smoke.sh <seconds>}
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${VELD_FUZZ_BUILD_DIR:-$root/build-fuzz}

CC=clang CXX=clang++ cmake -S "$here" -B "$build" -DVELD_FUZZ=ON \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target fuzz_configreader -j2

# New inputs go to a scratch directory, so the committed seeds stay as they are.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
status=0
"$build/fuzz_configreader" -max_total_time="$seconds" -rss_limit_mb=512 -timeout=5 \
    -print_final_stats=1 -artifact_prefix="$build/" \
    "$scratch" "$here/corpus/configreader" >"$scratch/fuzz.log" 2>&1 || status=$?

executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$scratch/fuzz.log")
echo "fuzz_configreader: ${executions:-unknown} executions in ${seconds} s"
if [ "$status" -ne 0 ]; then
    tail -n 60 "$scratch/fuzz.log"
    echo "fuzz_configreader: finding, exit status $status (artifacts in $build/)"
fi
exit "$status"
