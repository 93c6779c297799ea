#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs the harnesses of a build made with VELD_BENCH=ON side by side with
# their baselines and prints one line per figure with its target. Machines
# here are shared and noisy, so only medians of several runs and ratios
# against a baseline measured in the same run count. Prints PASS or MISS per
# figure; fails only when a harness does. With BENCH_INSTRUCTIONS=1 and
# valgrind installed, it also counts the instructions each start-up runs up
# to the first paint, a figure the machine's load does not change.
#   bench/run_bench.sh [build directory]   (BENCH_RUNS, BENCH_IDLE_RUNS: run counts)
set -euo pipefail
export LC_ALL=C

harnesses=${1:-build-bench}/bench
runs=${BENCH_RUNS:-9}
idle_runs=${BENCH_IDLE_RUNS:-3}

work=$(mktemp -d)
xvfb_pid=""
cleanup() {
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

# A runtime directory of its own: no other emulator's port shows up.
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"

# Real painting on a virtual X server at a desktop's 100 % (96 dots per inch),
# so the window is not scaled; -displayfd picks a free display.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -dpi 96 -nolisten tcp 3> "$work/display" > /dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.1
done
export DISPLAY=:$(head -n 1 "$work/display")
export QT_QPA_PLATFORM=xcb

# run <harness> <output file>: appends the harness's figures to the file.
run() {
    "$harnesses/$1" >> "$2"
}

# Process start is stamped by the shell right before the exec.
run_stamped() {
    VELD_BENCH_LAUNCHED=$EPOCHREALTIME "$harnesses/$1" >> "$2"
}

# median <file> <figure name>
median() {
    awk -v name="$2" '$1 == name { print $2 }' "$1" | sort -g |
        awk '{ v[NR] = $1 } END { if (NR == 0) exit 1; print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# verdict <condition as awk expression>
verdict() {
    awk "BEGIN { print ($1) ? \"PASS\" : \"MISS\" }"
}

calc() {
    awk "BEGIN { printf \"$1\", $2 }"
}

echo "VELD-7316 programmer benchmark: medians of $runs runs ($idle_runs for idle cost)," \
    "Xvfb display $DISPLAY, Qt platform xcb"

# Warm the file cache and the X server once before anything counts.
run_stamped bench_startup_programmer /dev/null
run_stamped bench_startup_form /dev/null
run_stamped bench_startup_bare /dev/null

# Alternating runs spread the machine's noise evenly over the variants.
for _ in $(seq "$runs"); do
    run_stamped bench_startup_programmer "$work/startup_programmer"
    run_stamped bench_startup_form "$work/startup_form"
    run_stamped bench_startup_bare "$work/startup_bare"
done
program_ms=$(median "$work/startup_programmer" startup_ms)
bare_ms=$(median "$work/startup_bare" startup_ms)
ratio=$(calc %.3f "$program_ms / $bare_ms")
printf '%-10s programmer %.1f ms, bare QMainWindow %.1f ms: %.2fx    target <= 1.10x  %s\n' \
    start-up "$program_ms" "$bare_ms" "$ratio" "$(verdict "$ratio <= 1.10")"
# Against the window's form alone: what the program's own logic costs.
form_ms=$(median "$work/startup_form" startup_ms)
ratio=$(calc %.3f "$program_ms / $form_ms")
printf '%-10s programmer %.1f ms, form alone %.1f ms: %.2fx    target <= 1.10x  %s\n' \
    start-up "$program_ms" "$form_ms" "$ratio" "$(verdict "$ratio <= 1.10")"

program_kib=$(median "$work/startup_programmer" peak_kib)
bare_kib=$(median "$work/startup_bare" peak_kib)
extra_mib=$(calc %.2f "($program_kib - $bare_kib) / 1024")
# Private memory apart from the shared library and font pages that painting touches.
extra_anon_mib=$(calc %.2f "($(median "$work/startup_programmer" anon_kib) - $(median "$work/startup_bare" anon_kib)) / 1024")
printf '%-10s programmer %.1f MiB, bare QMainWindow %.1f MiB peak resident: %+.2f MiB (private %+.2f MiB)    target <= +5 MiB  %s\n' \
    memory "$(calc %.2f "$program_kib / 1024")" "$(calc %.2f "$bare_kib / 1024")" "$extra_mib" \
    "$extra_anon_mib" "$(verdict "$extra_mib <= 5")"
form_kib=$(median "$work/startup_form" peak_kib)
program_anon_kib=$(median "$work/startup_programmer" anon_kib)
form_anon_kib=$(median "$work/startup_form" anon_kib)
logic_anon_mib=$(calc %.2f "($program_anon_kib - $form_anon_kib) / 1024")
printf '%-10s programmer %.2f MiB, form alone %.2f MiB private resident: %+.2f MiB (peak resident %+.2f MiB)    target <= +1 MiB  %s\n' \
    memory "$(calc %.2f "$program_anon_kib / 1024")" "$(calc %.2f "$form_anon_kib / 1024")" \
    "$logic_anon_mib" "$(calc %.2f "($program_kib - $form_kib) / 1024")" \
    "$(verdict "$logic_anon_mib <= 1")"

# instructions <harness>: in millions, the instructions its main thread ran up
# to the first paint and those its other threads ran in the whole run, as
# callgrind counts them. The probe has callgrind write the main thread's count
# up to the first paint to a file of its own (part 1 of the process that
# painted); the whole run's counts per thread follow at its end.
instructions() {
    local out=$work/callgrind-$1 painted
    mkdir "$out"
    valgrind --tool=callgrind --separate-threads=yes --callgrind-out-file="$out/%p" \
        "$harnesses/$1" > /dev/null 2>&1
    painted=$(find "$out" -name '*.1-01' | head -n 1)
    awk '($1 == "totals:" || $1 == "summary:") && !counted[FILENAME]++ {
             if (FILENAME ~ /\.1-01$/) main = $2; else if (FILENAME !~ /-01$/) others += $2
         }
         END { printf "%.1f %.1f\n", main / 1e6, others / 1e6 }' "$painted" "${painted%.1-01}"-*
}

if [ "${BENCH_INSTRUCTIONS:-0}" = 1 ] && command -v valgrind > /dev/null; then
    read -r program_main program_others < <(instructions bench_startup_programmer)
    read -r form_main form_others < <(instructions bench_startup_form)
    read -r bare_main bare_others < <(instructions bench_startup_bare)
    printf '%-10s programmer %.1f M, form alone %.1f M, bare QMainWindow %.1f M on the main thread to the first paint: %.2fx the form (other threads, whole run: %.1f / %.1f / %.1f M)\n' \
        instructions "$program_main" "$form_main" "$bare_main" \
        "$(calc %.3f "$program_main / $form_main")" "$program_others" "$form_others" "$bare_others"
fi

for _ in $(seq "$idle_runs"); do
    run bench_idle_programmer "$work/idle_programmer"
    run bench_idle_bare "$work/idle_bare"
done
program_cpu=$(median "$work/idle_programmer" idle_cpu_s)
bare_cpu=$(median "$work/idle_bare" idle_cpu_s)
idle_frames=$(median "$work/idle_programmer" idle_frames)
ratio=$(calc %.3f "$program_cpu / $bare_cpu")
printf '%-10s programmer %.3f s, bare 20 ms QTimer %.3f s CPU over 10 s: %.2fx (%s frames sent)    target <= 1.50x  %s\n' \
    "idle cost" "$program_cpu" "$bare_cpu" "$ratio" "$idle_frames" "$(verdict "$ratio <= 1.5")"

for _ in $(seq "$runs"); do
    run bench_link_programmer "$work/link"
done
link_ms=$(median "$work/link" link_ms)
link_frames=$(median "$work/link" link_frames)
printf '%-10s Open to power stage off %.1f ms (%s frames), floor 16 ticks 320 ms: %+.1f ms    target <= 340 ms  %s\n' \
    link "$link_ms" "$link_frames" "$(calc %.1f "$link_ms - 320")" "$(verdict "$link_ms <= 340")"

fps=$(median "$work/link" program_fps)
program_frames=$(median "$work/link" program_frames)
printf '%-10s %.1f frames/s (%s frames), ceiling one frame per two ticks 25 frames/s: %.2fx    target >= 0.95x  %s\n' \
    program "$fps" "$program_frames" "$(calc %.3f "$fps / 25")" "$(verdict "$fps / 25 >= 0.95")"

run bench_badinput_programmer "$work/badinput"
valid_ms=$(median "$work/badinput" badinput_valid_ms)
# report_junk <figure> <label>
report_junk() {
    local ms accepted
    ms=$(median "$work/badinput" "badinput_$1_ms")
    accepted=$(median "$work/badinput" "badinput_$1_accepted")
    printf '%-10s %s refused: %s, in %.3f ms; valid 7-line file %.3f ms    target refused, <= 50 ms  %s\n' \
        "bad input" "$2" "$([ "$accepted" = 0 ] && echo yes || echo no)" "$ms" "$valid_ms" \
        "$(verdict "$ms <= 50 && $accepted == 0")"
}
report_junk random "8 MiB of random bytes"
report_junk line "8 MiB in one endless line"

# The stop: worst of 15 clicks at random moments, once per run of the bench.
run bench_stop_programmer "$work/stop"
for link in clean recovering; do
    target=$([ "$link" = clean ] && echo 40 || echo 100)
    worst=$(median "$work/stop" "stop_${link}_worst_ms")
    printf '%-10s click to module, %s: median %.1f ms, worst %.1f ms of 15    target <= %s ms  %s\n' \
        stop "$([ "$link" = clean ] && echo "clean link" || echo "link recovering from one lost reply")" \
        "$(median "$work/stop" "stop_${link}_median_ms")" "$worst" "$target" \
        "$(verdict "$worst <= $target")"
done

# A Program with the reply to one write lost, against a clean one.
run bench_lostreply_program "$work/lostreply"
for front in window cli; do
    printf '%-10s %s: %.0f ms with one lost reply (the write sent %s times), %.0f ms clean\n' \
        "lost reply" "$([ "$front" = window ] && echo "Program in the window" || echo "veld7316-cli program")" \
        "$(median "$work/lostreply" "lost_${front}_ms")" "$(median "$work/lostreply" "lost_${front}_tries")" \
        "$(median "$work/lostreply" "lost_${front}_clean_ms")"
done
