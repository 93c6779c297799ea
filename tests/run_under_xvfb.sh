#!/bin/sh
# Runs a test program on an X server of its own with Qt's X11 platform, whose
# default font and style metrics are a Linux desktop's, not offscreen's. The
# server says VELD_XVFB_DPI dots per inch, by default 96, a desktop's 100 %.
# Exits 77 when Xvfb is missing.
if ! command -v xvfb-run > /dev/null; then
    echo "SKIP: xvfb-run not installed"
    exit 77
fi
dpi=${VELD_XVFB_DPI:-96}
# A screen of 15 by 10 inches: X keeps its size in whole millimetres, from
# which Qt computes the dots per inch, and these come out exact.
exec xvfb-run -a -s "-screen 0 $((dpi * 15))x$((dpi * 10))x24 -dpi $dpi -nolisten tcp" \
    env QT_QPA_PLATFORM=xcb "$@"
