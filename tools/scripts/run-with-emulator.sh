#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Starts the module emulator, then the programmer, which lists the emulator's
# port like a module's. Without a display the programmer runs under Xvfb for a
# few seconds, opens the emulator's port and leaves a screenshot.
set -eu
build_dir=${1:-build}
emulator="$build_dir/tools/emulator/veld7316-emulator"
programmer="$build_dir/veld_usb_serial_programmer"
frame_log="$build_dir/emulator-frames.log"

if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
    XDG_RUNTIME_DIR="/tmp/runtime-$(id -u)"
    mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
    export XDG_RUNTIME_DIR
fi

: > "$frame_log"
"$emulator" --log "$frame_log" &
emulator_pid=$!
xvfb_pid=""
cleanup() {
    kill "$emulator_pid" 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT INT TERM
sleep 1
echo "Frames the emulated module receives are logged in $frame_log"

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    "$programmer"
    exit 0
fi

echo "No display: running the programmer under Xvfb for a few seconds."
display=:97
# At 96 dots per inch, a desktop's 100 %, so the window is not scaled.
Xvfb "$display" -screen 0 800x600x24 -dpi 96 -nolisten tcp > /dev/null 2>&1 &
xvfb_pid=$!
sleep 1
DISPLAY=$display "$programmer" &
programmer_pid=$!
sleep 2
if command -v xdotool > /dev/null; then
    # The window sits at the screen's corner without a window manager: click Open.
    DISPLAY=$display xdotool mousemove 537 64 click 1
    sleep 2
fi
screenshot="$build_dir/screenshot.png"
DISPLAY=$display import -window root "$screenshot"
kill "$programmer_pid" 2>/dev/null || true
wait "$programmer_pid" 2>/dev/null || true
echo "The programmer ran; a screenshot is in $screenshot"
