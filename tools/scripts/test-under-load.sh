#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs `make test` several times in a row (3 by default) while two CPU-bound
# processes (stress-ng --cpu 2) run beside it, as on a busy CI machine, and
# reports each run. Installs stress-ng when it is missing. Exits non-zero
# when any run failed.
# Usage: sh tools/scripts/test-under-load.sh [runs]   (from the repository root)
set -eu
cd "$(dirname "$0")/../.."

runs=${1:-3}
sh tools/scripts/install-dependencies.sh stress-ng
make build > /dev/null

logs=$(mktemp -d)
stress-ng --cpu 2 --quiet &
hogs=$!
trap 'kill "$hogs" 2> /dev/null; wait "$hogs" 2> /dev/null || true' EXIT

failed=0
for run in $(seq "$runs"); do
    started=$(date +%s)
    if make test > "$logs/run-$run.log" 2>&1; then
        result=passed
    else
        result=FAILED
        failed=$((failed + 1))
    fi
    summary=$(grep -E 'tests passed|tests failed' "$logs/run-$run.log" | tail -n 1)
    echo "run $run of $runs: $result in $(($(date +%s) - started)) s, load $(cut -d' ' -f1-3 /proc/loadavg): $summary"
    grep -E '^[[:space:]]+[0-9]+ - ' "$logs/run-$run.log" || true
done
echo "$((runs - failed)) of $runs runs passed beside two CPU hogs; logs in $logs"
[ "$failed" -eq 0 ]
