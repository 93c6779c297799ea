#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Drives the real program's window under Xvfb with a real pointer, against the
# module emulator, and checks the frames the emulator receives.
# Usage: run_real_window_test.sh PROGRAMMER EMULATOR OUTPUT_DIR
# Exits 77 when Xvfb, xdotool or ImageMagick is missing.
set -eu

if [ $# -ne 3 ]; then
    echo "Usage: $0 PROGRAMMER EMULATOR OUTPUT_DIR" >&2
    exit 2
fi
programmer=$1
emulator=$2
output_dir=$3

for tool in Xvfb xdotool import convert; do
    if ! command -v "$tool" > /dev/null; then
        echo "SKIP: Xvfb or xdotool not installed"
        exit 77
    fi
done

mkdir -p "$output_dir"
rm -f "$output_dir"/{opened,run-current-dragged,end,failure}.png
frame_log="$output_dir/emulator-frames.log"
: > "$frame_log"
runtime_dir=$(mktemp -d "${TMPDIR:-/tmp}/real-window.XXXXXX")
chmod 700 "$runtime_dir"
# The program lists only the ports announced here: our emulator's.
export XDG_RUNTIME_DIR=$runtime_dir
# The program must reach our Xvfb, whatever the caller's session uses, with
# Qt's default style and no scaling, so the layout's pixels are the screen's:
# the X server says 96 dots per inch, as a desktop at 100 % does (Xvfb's own
# 100 would scale the window by 1.04).
unset QT_QPA_PLATFORM WAYLAND_DISPLAY QT_STYLE_OVERRIDE QT_SCALE_FACTOR \
    QT_SCREEN_SCALE_FACTORS QT_AUTO_SCREEN_SCALE_FACTOR QT_ENABLE_HIGHDPI_SCALING

xvfb_pid=""
emulator_pid=""
programmer_pid=""
checked_lines=0

stop_process() {
    local pid=$1 tries
    [ -n "$pid" ] || return 0
    kill "$pid" 2> /dev/null || return 0
    for ((tries = 0; tries < 50; tries++)); do
        kill -0 "$pid" 2> /dev/null || break
        sleep 0.1
    done
    kill -KILL "$pid" 2> /dev/null || true
    wait "$pid" 2> /dev/null || true
}

cleanup() {
    stop_process "$programmer_pid"
    stop_process "$emulator_pid"
    stop_process "$xvfb_pid"
    rm -rf "$runtime_dir"
    echo "Frames the emulator received ($frame_log):"
    cat "$frame_log"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

fail() {
    echo "FAIL: $*" >&2
    if [ -n "$xvfb_pid" ]; then
        screenshot failure || true
    fi
    exit 1
}

# poll SECONDS COMMAND...: runs COMMAND every 0.1 s until it succeeds, for at
# most SECONDS seconds and at most ten tries a second.
poll() {
    local deadline=$((SECONDS + $1)) tries=$(($1 * 10)) attempt
    shift
    for ((attempt = 0; attempt < tries && SECONDS <= deadline; attempt++)); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}

# No xdotool call may hang the test.
xdo() {
    timeout 10 xdotool "$@"
}

start_xvfb() {
    local number
    for number in $(seq 91 120); do
        if [ -e "/tmp/.X$number-lock" ] || [ -e "/tmp/.X11-unix/X$number" ]; then
            continue
        fi
        Xvfb ":$number" -screen 0 1024x768x24 -dpi 96 -nolisten tcp > "$output_dir/xvfb.log" 2>&1 &
        xvfb_pid=$!
        export DISPLAY=":$number"
        if wait_for_display; then
            return 0
        fi
        # Another server took the number first: try the next one.
        stop_process "$xvfb_pid"
        xvfb_pid=""
    done
    return 1
}

# Gives up at once when the server has died, e.g. on a display number taken meanwhile.
wait_for_display() {
    local attempt
    for ((attempt = 0; attempt < 100; attempt++)); do
        kill -0 "$xvfb_pid" 2> /dev/null || return 1
        xdotool getdisplaygeometry > /dev/null 2>&1 && return 0
        sleep 0.1
    done
    return 1
}

announced_port() {
    local file
    for file in "$XDG_RUNTIME_DIR"/veld7316-ports/*.port; do
        [ -s "$file" ] || continue
        head -n 1 "$file"
        return 0
    done
    return 1
}

# frame COMMAND TYPE MOTOR VALUE: a request frame as the emulator logs it.
frame() {
    local value=$4 byte sum=0 text=""
    for byte in 1 "$1" "$2" "$3" $(((value >> 24) & 255)) $(((value >> 16) & 255)) \
        $(((value >> 8) & 255)) $((value & 255)); do
        sum=$((sum + byte))
        text+=$(printf '%02X ' "$byte")
    done
    printf '%s%02X\n' "$text" $((sum & 255))
}

# Prints the line number of the last of the frames found in this order after line START.
last_line_of_frames() {
    local start=$1
    shift
    local IFS=,
    awk -v start="$start" -v wanted="$*" '
        BEGIN { count = split(wanted, frames, ","); next_frame = 1 }
        NR > start && next_frame <= count && $0 == frames[next_frame] { next_frame++; last = NR }
        END { if (next_frame > count) print last }' "$frame_log"
}

frames_arrived() {
    [ -n "$(last_line_of_frames "$@")" ]
}

# expect_frames WHAT FRAME...: waits until the frames arrive in this order after
# the frames already checked.
expect_frames() {
    local what=$1
    shift
    poll 20 frames_arrived "$checked_lines" "$@" ||
        fail "$what: expected, in this order, the frames: $(printf '[%s] ' "$@")"
    checked_lines=$(last_line_of_frames "$checked_lines" "$@")
    echo "ok: $what"
}

# expect_each_frame WHAT FRAME...: as expect_frames, in any order.
expect_each_frame() {
    local what=$1 start=$checked_lines item last
    shift
    for item in "$@"; do
        poll 20 frames_arrived "$start" "$item" || fail "$what: expected the frame [$item]"
        last=$(last_line_of_frames "$start" "$item")
        [ "$last" -gt "$checked_lines" ] && checked_lines=$last
    done
    echo "ok: $what"
}

screenshot() {
    local file="$output_dir/$1.png"
    timeout 20 import -window root "$file"
    echo "Screenshot: $file"
}

# The menu bar's height depends on style and font, so the central widget's
# offset is measured: Qt's default style here (Fusion) closes the menu bar
# with a one-pixel line darker than its background. In a column right of the
# "Tools" title, the first row below the top that differs from the top row is
# that line. Succeeds once the window is painted.
measure_menu_bar() {
    local shot="$runtime_dir/menubar.png" row
    timeout 20 import -window root "$shot" 2> /dev/null || return 1
    row=$(convert "$shot" -crop "1x60+$((window_x + 300))+$window_y" +repage txt:- |
        awk -F'[,:]' '/^[0-9]/ {
            colour = $0; sub(/^[^#]*/, "", colour); sub(/ .*/, "", colour)
            if ($2 == 0) top = colour
            else if (colour != top) { print $2; exit }
        }')
    [ -n "$row" ] && [ "$row" -ge 10 ] && [ "$row" -le 50 ] || return 1
    menu_bar_height=$((row + 1))
}

# Screen position of a point given in central widget coordinates.
screen_x() { echo $((window_x + $1)); }
screen_y() { echo $((window_y + menu_bar_height + $1)); }

click_at() {
    xdo mousemove --sync "$(screen_x "$1")" "$(screen_y "$2")" click 1
}

# dial_point CX CY RADIUS VALUE MAXIMUM WRAPPING: central widget coordinates of
# the point at RADIUS from the dial's centre that QDial reads as VALUE.
dial_point() {
    awk -v cx="$1" -v cy="$2" -v r="$3" -v v="$4" -v max="$5" -v wrapping="$6" 'BEGIN {
        pi = atan2(0, -1)
        if (wrapping) a = 3 * pi / 2 - v * 2 * pi / max
        else a = 4 * pi / 3 - v * (5 * pi / 3) / max
        printf "%d %d\n", int(cx + r * cos(a) + 0.5), int(cy - r * sin(a) + 0.5)
    }'
}

# drag_dial CX CY RADIUS FROM TO MAXIMUM WRAPPING: presses on the dial at
# value FROM and drags it one notch at a time to value TO.
drag_dial() {
    local cx=$1 cy=$2 radius=$3 from=$4 to=$5 maximum=$6 wrapping=$7 value point
    read -r -a point <<< "$(dial_point "$cx" "$cy" "$radius" "$from" "$maximum" "$wrapping")"
    xdo mousemove --sync "$(screen_x "${point[0]}")" "$(screen_y "${point[1]}")" mousedown 1
    for ((value = from + 1; value <= to; value++)); do
        read -r -a point <<< "$(dial_point "$cx" "$cy" "$radius" "$value" "$maximum" "$wrapping")"
        xdo mousemove --sync "$(screen_x "${point[0]}")" "$(screen_y "${point[1]}")"
        # One motion event per notch, not one merged jump.
        sleep 0.02
    done
    xdo mouseup 1
}

# The program's visible windows other than the main one: popups and dialogs.
other_windows() {
    xdo search --onlyvisible --pid "$programmer_pid" 2> /dev/null | grep -vx "$main_window" || true
}

one_other_window() {
    [ "$(other_windows | wc -l)" -eq 1 ]
}

no_other_window() {
    [ -z "$(other_windows)" ]
}

# Sets popup, popup_x, popup_y, popup_width, popup_height.
wait_for_popup() {
    local X Y WIDTH HEIGHT
    poll 10 one_other_window || fail "$1 did not appear"
    popup=$(other_windows)
    eval "$(xdo getwindowgeometry --shell "$popup")"
    popup_x=$X popup_y=$Y popup_width=$WIDTH popup_height=$HEIGHT
}

popup_gone() {
    ! other_windows | grep -qx "$popup"
}

# The list takes a click close to the one that opened it as the end of that
# click and keeps itself open, so the first item is clicked near its left end,
# away from the combo box's centre where the list was opened.
pick_first_item() {
    xdo mousemove --sync $((popup_x + 20)) $((popup_y + 10)) click 1
    poll 10 popup_gone
}

focus_is_on_popup() {
    [ "$(xdo getwindowfocus 2> /dev/null)" = "$popup" ]
}

start_xvfb || fail "no free display number for Xvfb between :91 and :120"
echo "Xvfb on $DISPLAY"

"$emulator" --log "$frame_log" > "$output_dir/emulator.log" 2>&1 &
emulator_pid=$!
poll 10 announced_port > /dev/null || fail "the emulator did not announce its port"
port=$(announced_port)
echo "Emulator on $port"

"$programmer" > "$output_dir/programmer.log" 2>&1 &
programmer_pid=$!
main_window=$(timeout 30 xdotool search --sync --onlyvisible \
    --name "VELD-7316 USB serial programmer V0.90" | head -n 1)
[ -n "$main_window" ] || fail "the window \"VELD-7316 USB serial programmer V0.90\" did not appear"
eval "$(xdo getwindowgeometry --shell "$main_window")"
window_x=$X window_y=$Y
if [ "$WIDTH" -ne 692 ] || [ "$HEIGHT" -ne 521 ]; then
    fail "the window is ${WIDTH}x$HEIGHT, not 692x521"
fi
poll 15 measure_menu_bar || fail "could not find the menu bar's lower edge in a screenshot"
echo "Window at $window_x,$window_y; menu bar $menu_bar_height px high"

# serialPortComboBox: 20,20 in the "COM port" box at 10,10.
click_at 265 41
wait_for_popup "the port list"
# The first item is the emulator's port when no real module is attached; the
# frames below prove that its port was opened.
pick_first_item || fail "the port list did not close"
# openButton: 500,20 in the "COM port" box.
click_at 547 41
# The emulator's 32 microsteps rule out the multiplier, so its read turns into
# a write of FALSE, sent after the power stage is switched off.
expect_frames "opening reads the module and switches the power stage off" \
    "$(frame 6 179 0 0)" "$(frame 6 6 0 0)" "$(frame 6 7 0 0)" "$(frame 6 214 0 0)" \
    "$(frame 6 140 0 0)" "$(frame 6 161 0 0)" "$(frame 14 2 2 1)" "$(frame 5 160 0 0)"
screenshot opened

# runCurrentDial: 20,30 (150 x 150) in "Basic Settings" at 10,80. The module's
# half-range 20 sits at position 20; position 35 is full range, register 20,
# a value the half-range positions passed on the way do not write.
drag_dial 105 185 45 20 35 46 0
expect_each_frame "dragging the run current dial writes RunCurrent and HalfCurrentRange" \
    "$(frame 5 6 0 20)" "$(frame 5 179 0 0)"
screenshot run-current-dragged

# x16CheckBox and doubleEdgeCheckBox: 210,30 and 350,30 in "Microsteps per
# Fullstep" at 220,240; clicked on their indicators.
click_at 437 278
expect_frames "checking stepWeaver (x16) selects 16 microsteps and clears double edge" \
    "$(frame 5 140 0 4)" "$(frame 5 160 0 1)" "$(frame 5 161 0 0)"
click_at 577 278
expect_frames "checking double edge clears stepWeaver (x16)" \
    "$(frame 5 160 0 0)" "$(frame 5 161 0 1)"

# pulseFrequencyDial: 180,20 (110 x 110) in the pulse generator box at 10,330;
# 45 notches of 100 Hz from 0 Hz give 4500 Hz.
drag_dial 245 405 40 5 45 99 1
# rotateRightButton: 610,40 in the pulse generator box.
click_at 640 385
expect_frames "rotate right runs the pulse generator, then switches the power stage on" \
    "$(frame 1 0 0 4500)" "$(frame 14 2 2 0)"
# stopButton: 560,80 in the pulse generator box.
click_at 615 430
expect_frames "STOP stops the pulse generator" "$(frame 1 0 0 0)"

# "Tools" is the menu bar's first title; "Reset to Factory Defaults" is the
# last of its two items, below a separator.
xdo mousemove --sync $((window_x + 20)) $((window_y + menu_bar_height / 2)) click 1
wait_for_popup "the Tools menu"
xdo mousemove --sync $((popup_x + popup_width / 2)) $((popup_y + popup_height * 3 / 4)) click 1
poll 10 popup_gone || fail "the Tools menu did not close"
wait_for_popup "the factory reset warning"
# OK is the box's default button.
poll 10 focus_is_on_popup || fail "the factory reset warning did not get the keyboard focus"
xdo key Return
poll 10 no_other_window || fail "the factory reset warning did not close"
expect_frames "the factory reset writes all seven parameters" \
    "$(frame 5 6 0 24)" "$(frame 5 7 0 24)" "$(frame 5 140 0 4)" "$(frame 5 160 0 1)" \
    "$(frame 5 161 0 0)" "$(frame 5 179 0 0)" "$(frame 5 214 0 0)"
screenshot end

echo "PASS in ${SECONDS}s"
