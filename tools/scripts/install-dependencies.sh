#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages the build, the tests and `make run` need, and
# any further packages named as arguments (the Qt 6 build names its own).
# fonts-dejavu-extra holds the condensed face the window takes where the
# desktop's font is too wide for its fixed layout.
# Quick and silent when everything is already there.
set -eu

packages="cmake make g++ qtbase5-dev libqt5serialport5-dev fonts-dejavu-extra xvfb xauth x11-utils xdotool imagemagick binutils-mingw-w64-x86-64 $*"

missing=""
for package in $packages; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $package"
    fi
done
[ -z "$missing" ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
    echo "Missing packages:$missing" >&2
    echo "Run as root, or install them with: sudo apt-get install --no-install-recommends$missing" >&2
    exit 1
fi
echo "Installing:$missing"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
# shellcheck disable=SC2086
apt-get install -y -qq --no-install-recommends $missing
