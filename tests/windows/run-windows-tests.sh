#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# `make test-windows`: the Windows build under Wine, on an Xvfb display and in
# a Wine prefix of its own:
#   1. the test suites that need no pseudo-terminal, built for Windows, by CTest;
#   2. tst_cli of the Linux build against veld7316-cli.exe, the stand-in's
#      pseudo-terminal registered with Wine as COM5;
#   3. the program's window opens the Linux emulator's port as COM5 and the
#      emulator receives the opening frames; a screenshot is kept;
#   4. the window at 125 % and 150 %: its size and text fit, and a screenshot;
#   5. the installer installs silently, the installed program starts, and
#      uninstalling removes it;
#   6. the licence and the notices: inside the zip and the installed files,
#      and naming every library the link pulled in; the installer puts the
#      command line on the system PATH and upgrades in place.
# Usage: run-windows-tests.sh WINDOWS_BUILD_DIR LINUX_BUILD_DIR
set -euo pipefail
windows_build=$(realpath "$1")
linux_build=$(realpath "$2")
tests=$(cd "$(dirname "$0")" && pwd)
output=$windows_build/wine-tests
mkdir -p "$output"

export WINEPREFIX=$windows_build/wine
export WINEDEBUG=-all
# No offer to install Wine's Mono and Gecko on the prefix's first start.
export WINEDLLOVERRIDES="mscoree,mshtml="
export PATH=/usr/lib/wine:$PATH
export LC_ALL=C
wine=$(command -v wine64 || command -v wine)
unset QT_QPA_PLATFORM WAYLAND_DISPLAY

failures=0
pass() { echo "PASS windows: $1"; }
fail() {
    echo "FAIL windows: $1"
    failures=$((failures + 1))
}
check() {
    local description=$1
    shift
    if "$@"; then pass "$description"; else fail "$description"; fi
}

# poll SECONDS COMMAND...: runs COMMAND ten times a second until it succeeds.
poll() {
    local tries=$(($1 * 10))
    shift
    while [ "$tries" -gt 0 ]; do
        "$@" && return 0
        sleep 0.1
        tries=$((tries - 1))
    done
    return 1
}

xvfb_pid=""
emulator_pid=""
program_pid=""
runtime_dir=$(mktemp -d "${TMPDIR:-/tmp}/windows-tests.XXXXXX")
chmod 700 "$runtime_dir"
stop() {
    [ -n "$1" ] || return 0
    kill "$1" 2> /dev/null || return 0
    poll 5 eval "! kill -0 $1 2> /dev/null" || kill -KILL "$1" 2> /dev/null || true
    wait "$1" 2> /dev/null || true
}
announcements="$WINEPREFIX/drive_c/users/$(id -un)/veld7316-ports"
cleanup() {
    stop "$program_pid"
    stop "$emulator_pid"
    rm -rf "$announcements" "$runtime_dir"
    timeout 30 wineserver -k 2> /dev/null || true
    stop "$xvfb_pid"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

start_xvfb() {
    local number
    for number in $(seq 121 160); do
        [ -e "/tmp/.X$number-lock" ] || [ -e "/tmp/.X11-unix/X$number" ] && continue
        # Room for the window at 150 %.
        Xvfb ":$number" -screen 0 1920x1080x24 -nolisten tcp > "$output/xvfb.log" 2>&1 &
        xvfb_pid=$!
        export DISPLAY=":$number"
        poll 10 xdotool getdisplaygeometry > /dev/null 2>&1 && return 0
        stop "$xvfb_pid"
        xvfb_pid=""
    done
    return 1
}
start_xvfb || { echo "FAIL windows: no free display for Xvfb"; exit 1; }

# The server stays up between Wine commands; without it, Wine's helper
# processes keep CTest's output pipe open until the test's time-out.
started=$SECONDS
mkdir -p "$WINEPREFIX"
# One may be running already, from a run that was stopped.
wineserver -p 2> "$output/wineserver.log" || true
"$wine" wineboot -i > /dev/null 2>&1
# Windows of their own, as without a window manager Wine waits 2 s for one
# whenever a managed window is hidden.
"$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f > /dev/null
echo "Wine prefix $WINEPREFIX ready in $((SECONDS - started)) s"

# 1. The Windows test suites.
started=$SECONDS
if (cd "$windows_build" && ctest --output-on-failure -j 2); then
    pass "test suites under Wine ($((SECONDS - started)) s)"
else
    fail "test suites under Wine"
fi

# 2. The command-line companion's test against the Windows executable.
started=$SECONDS
if XDG_RUNTIME_DIR=$runtime_dir QT_QPA_PLATFORM=offscreen \
    VELD_CLI="$wine $windows_build/cli/veld7316-cli.exe" VELD_CLI_SYSTEM=windows \
    VELD_CLI_PORT_ADAPTER="sh $tests/wine-com-port.sh" \
    "$linux_build/tests/tst_cli" > "$output/tst_cli.log" 2>&1; then
    pass "tst_cli against veld7316-cli.exe ($((SECONDS - started)) s)"
else
    cat "$output/tst_cli.log"
    fail "tst_cli against veld7316-cli.exe"
fi

# 3. The window against the Linux emulator.
frame_log=$output/emulator-frames.log
: > "$frame_log"
XDG_RUNTIME_DIR=$runtime_dir "$linux_build/tools/emulator/veld7316-emulator" --log "$frame_log" \
    > "$output/emulator.log" 2>&1 &
emulator_pid=$!
emulator_port() { sed -n 's/^VELD-7316 emulator on //p' "$output/emulator.log" | grep .; }
poll 10 emulator_port > /dev/null || fail "the emulator did not start"
port=$(XDG_RUNTIME_DIR=$runtime_dir sh "$tests/wine-com-port.sh" "$(emulator_port)")

"$wine" "$windows_build/veld_usb_serial_programmer.exe" > "$output/program.log" 2>&1 &
program_pid=$!
# Searched again and again: a search fails outright when one of the windows
# Wine makes and drops meanwhile goes away under it.
find_window() {
    window=$(timeout 10 xdotool search --onlyvisible --name "VELD-7316 USB serial programmer V0.90" \
        2> /dev/null | head -n 1)
    [ -n "$window" ]
}
if ! poll 60 find_window; then
    fail "the program's window did not appear"
    import -window root "$output/no-window.png" || true
else
    pass "the program's window appeared"
    eval "$(xdotool getwindowgeometry --shell "$window")"
    # The announced port is the list's first item. openButton's middle is at
    # 547,42 in the central widget, which Wine's frame, title and menu bar
    # put 41 pixels below the window's top.
    xdotool mousemove --sync $((X + 547)) $((Y + 41 + 42)) click 1
    # frame COMMAND TYPE MOTOR VALUE: a request as the emulator logs it.
    frame() {
        local sum=$((1 + $1 + $2 + $3 + $4)) text
        text=$(printf '01 %02X %02X %02X 00 00 00 %02X' "$1" "$2" "$3" "$4")
        printf '%s %02X\n' "$text" $((sum & 255))
    }
    # As on Linux (tests/realwindow): the reads, the power stage off; the
    # emulator's 32 microsteps rule out the multiplier, so its read turns into
    # a write of FALSE, sent after the power stage is switched off.
    opening=""
    for type in 179 6 7 214 140 161; do opening+="$(frame 6 "$type" 0 0)"$'\n'; done
    opening+="$(frame 14 2 2 1)"$'\n'"$(frame 5 160 0 0)"
    opened() { [ "$(head -n 8 "$frame_log")" = "$opening" ]; }
    if poll 20 opened; then
        pass "the window opened $port: the reads, then the power stage off"
    else
        fail "the window opened $port: expected the frames"$'\n'"$opening"$'\n'"got"$'\n'"$(cat "$frame_log")"
    fi
    sleep 1
    import -window "$window" "$output/windows-screenshot.png" &&
        echo "Screenshot: $output/windows-screenshot.png"
fi
stop "$program_pid"
program_pid=""

# 4. The window at 125 % and 150 %: Windows' display set to 120 and 144 dots
# per inch (Wine's LogPixels), the layout suite checks that the window is
# 1.25x and 1.5x its design, as Windows measures it, and that its texts fit;
# then the program itself at 150 % opens the emulator's port again, and its
# screenshot is kept.
display_dpi_key='HKCU\Control Panel\Desktop'
check_scaled_window() {
    local dpi factor
    for dpi in 120 144; do
        factor=$(awk "BEGIN { print $dpi / 96 }")
        "$wine" reg add "$display_dpi_key" /v LogPixels /t REG_DWORD /d "$dpi" /f > /dev/null
        if VELD_SCREEN_FACTOR=$factor WINEQT_FORCE_STDERR_LOGGING=1 \
            "$wine" "$windows_build/tests/tst_mainwindowlayout.exe" windowTakesTheScreensFactor \
            textFitsItsWidget > "$output/layout-$dpi-dpi.log" 2>&1; then
            pass "the window at $dpi dots per inch: ${factor}x its design, texts fitting"
        else
            cat "$output/layout-$dpi-dpi.log"
            fail "the window at $dpi dots per inch: ${factor}x its design, texts fitting"
        fi
    done
    local frames_before
    frames_before=$(wc -l < "$frame_log")
    "$wine" "$windows_build/veld_usb_serial_programmer.exe" > "$output/program-150.log" 2>&1 &
    program_pid=$!
    if poll 60 find_window; then
        # From the port list, which has the focus, to Open by keys, wherever
        # Wine's frame at this size puts the button.
        xdotool key --delay 100 Tab space
        reopened() { [ "$(wc -l < "$frame_log")" -ge $((frames_before + 8)) ]; }
        poll 20 reopened || fail "the window at 144 dots per inch did not open $port"
        sleep 1
        import -window "$window" "$output/windows-screenshot-150.png" &&
            echo "Screenshot at 150 %: $output/windows-screenshot-150.png"
    else
        fail "the program's window did not appear at 144 dots per inch"
    fi
    stop "$program_pid"
    program_pid=""
    "$wine" reg delete "$display_dpi_key" /v LogPixels /f > /dev/null
}
check_scaled_window
stop "$emulator_pid"
emulator_pid=""

# 6. The licence and the notices, the PATH, upgrades (functions, used below).
release=$windows_build/windows-release
same_file() { cmp -s "$1" "$2"; }
# in_zip ZIP FILE: FILE of the release, as it is in the staging folder.
in_zip() { unzip -p "$1" "$2" 2> /dev/null | cmp -s - "$release/$2"; }
check_notices() {
    local zip
    zip=$(ls "$windows_build"/veld-usb-serial-programmer-*-windows-x64.zip)
    check "notices name every library the link pulled in" \
        sh "$tests/check-notices.sh" "$release/THIRD-PARTY-NOTICES.txt" "$windows_build"/*.map
    check "licence in the zip" in_zip "$zip" LICENSE.txt
    check "notices in the zip" in_zip "$zip" THIRD-PARTY-NOTICES.txt
}
# cli_on_path: what veld7316-cli --version says when a new console looks it
# up on the PATH, from a folder that does not hold it.
cli_on_path() {
    (cd "$(mktemp -d "$runtime_dir/console.XXXXXX")" &&
        "$wine" cmd /c veld7316-cli --version 2>&1 | tr -d '\r')
}
uninstall_entries() {
    "$wine" reg query "$uninstall_key" /s 2> /dev/null | tr -d '\r' |
        grep -c "DisplayName.*VELD-7316 USB serial programmer" || true
}
# The program's uninstall entries (reg prints a blank line after each key).
program_entries() {
    "$wine" reg query "$uninstall_key" /s 2> /dev/null | tr -d '\r' |
        awk 'BEGIN { RS = "" } /DisplayName[^\n]*VELD-7316 USB serial programmer/'
}
installed_version() { program_entries | sed -n 's/^ *DisplayVersion *REG_SZ *//p'; }
# What a run that failed half-way left installed in the prefix, removed by
# its product code, the entry's key.
remove_earlier_installs() {
    local code
    for code in $(program_entries | sed -n 's/^HKEY.*\\\({.*}\)$/\1/p'); do
        "$wine" msiexec /x "$code" /qn
    done
}
# repack VERSION MARK MSI: the release's installer again, for VERSION, with a
# command line that differs by MARK appended (a program runs with bytes after
# its end), so that an upgrade shows which build is installed.
repack() {
    local folder upgrade_code
    folder=$(mktemp -d "$output/repack.XXXXXX")
    cp "$release"/* "$folder"
    printf '%s' "$2" >> "$folder/veld7316-cli.exe"
    upgrade_code=$(msiinfo export "$msi" Property | tr -d '\r' | sed -n 's/^UpgradeCode\t{\(.*\)}$/\1/p')
    sh "$tests/../../tools/scripts/pack-windows-msi.sh" "$folder" \
        "$tests/../../resources/windows/veld-usb-serial-programmer.wxs" "$1" "$upgrade_code" "$3" &&
        cp "$folder/veld7316-cli.exe" "$3.cli"
}
# check_upgrade NAME VERSION: installs a repacked NAME build of VERSION over
# what is installed; one uninstall entry must remain, for VERSION, with this
# build's command line, found on the PATH.
check_upgrade() {
    local msi_again=$output/$1.msi
    check "installer repacked: $1" repack "$2" "$1" "$msi_again"
    check "$1 installs over the installed one" "$wine" msiexec /i "$msi_again" /qn
    check "$1: one uninstall entry" test "$(uninstall_entries)" = 1
    check "$1: the entry is version $2" test "$(installed_version)" = "$2"
    check "$1: its command line installed" same_file "$installed/veld7316-cli.exe" "$msi_again.cli"
    check "$1: a new console finds veld7316-cli on the PATH" test "$(cli_on_path)" = "veld7316-cli $version"
}

# 5. The installer.
msi=$(ls "$windows_build"/veld-usb-serial-programmer-*-windows-x64.msi)
version=$(basename "$msi" | sed 's/^veld-usb-serial-programmer-\(.*\)-windows-x64\.msi$/\1/')
installed="$WINEPREFIX/drive_c/Program Files/VELD-7316 USB serial programmer"
# All users' Start menu on Windows; Wine's installer takes the user's own.
shortcuts=("$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs"
    "$WINEPREFIX/drive_c/users/$(id -un)/AppData/Roaming/Microsoft/Windows/Start Menu/Programs")
shortcut_present() {
    local folder
    for folder in "${shortcuts[@]}"; do
        [ -f "$folder/VELD-7316 USB serial programmer.lnk" ] && return 0
    done
    return 1
}
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
remove_earlier_installs
check "installer installs silently" "$wine" msiexec /i "$msi" /qn
check "program installed" test -f "$installed/veld_usb_serial_programmer.exe"
check "command-line companion installed" test -f "$installed/veld7316-cli.exe"
check "Start-menu entry" shortcut_present
listed_for_uninstall() {
    "$wine" reg query "$uninstall_key" /s 2> /dev/null | tr -d '\r' |
        grep -q "DisplayName.*VELD-7316 USB serial programmer"
}
check "uninstall entry" listed_for_uninstall
cli_help() { "$wine" "$installed/veld7316-cli.exe" --help 2>&1 | tr -d '\r' | grep -q '^Exit status:'; }
check "installed command-line companion shows its help" cli_help
status=0
timeout 10 "$wine" "$installed/veld_usb_serial_programmer.exe" > "$output/installed.log" 2>&1 || status=$?
check "installed program still running after 10 s" test "$status" -eq 124
check "licence installed" same_file "$installed/LICENSE.txt" "$release/LICENSE.txt"
check "notices installed" same_file "$installed/THIRD-PARTY-NOTICES.txt" "$release/THIRD-PARTY-NOTICES.txt"
check "a new console finds veld7316-cli on the PATH" test "$(cli_on_path)" = "veld7316-cli $version"
check_upgrade "same-version-rebuild" "$version"
newer=$(echo "$version" | awk -F. '{ print $1 "." $2 "." $3 + 1 }')
check_upgrade "newer-version" "$newer"
msi=$output/newer-version.msi
check "uninstalls silently" "$wine" msiexec /x "$msi" /qn
check "program removed" test ! -e "$installed/veld_usb_serial_programmer.exe"
check "command-line companion removed" test ! -e "$installed/veld7316-cli.exe"
check "Start-menu entry removed" eval '! shortcut_present'
check "uninstall entry removed" eval '! listed_for_uninstall'
check "notices removed" test ! -e "$installed/THIRD-PARTY-NOTICES.txt"
not_on_path() { ! cli_on_path | grep -q '^veld7316-cli '; }
check "veld7316-cli no longer on the PATH" not_on_path
check_notices

if [ "$failures" -ne 0 ]; then
    echo "FAIL windows: $failures check(s) failed"
    exit 1
fi
echo "PASS windows: all checks"
