#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a test program on an X server of its own with Qt's X11 platform, whose
# default font and style metrics are a Linux desktop's, not offscreen's. The
# server is at 96 dots per inch, a desktop at 100 %; VELD_XFT_DPI scales the
# desktop as desktops do, by the Xft.dpi resource (120 for 125 %).
# Exits 77 when Xvfb or xprop is missing.
for tool in xvfb-run xprop; do
    if ! command -v "$tool" > /dev/null; then
        echo "SKIP: $tool not installed"
        exit 77
    fi
done
# Without -noreset the server would drop the resource as xprop leaves.
# shellcheck disable=SC2016 # expanded by the inner shell
exec xvfb-run -a -s "-screen 0 1920x1080x24 -dpi 96 -noreset -nolisten tcp" sh -c '
    if [ -n "${VELD_XFT_DPI:-}" ]; then
        xprop -root -format RESOURCE_MANAGER 8s \
            -set RESOURCE_MANAGER "$(printf "Xft.dpi:\t%s" "$VELD_XFT_DPI")"
    fi
    QT_QPA_PLATFORM=xcb exec "$@"' run_under_xvfb "$@"
