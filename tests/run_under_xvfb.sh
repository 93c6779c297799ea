#!/bin/sh
# Runs a test program on an X server of its own with Qt's X11 platform, whose
# default font and style metrics are a Linux desktop's, not offscreen's.
# Exits 77 when Xvfb is missing.
if ! command -v xvfb-run > /dev/null; then
    echo "SKIP: xvfb-run not installed"
    exit 77
fi
exec xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" env QT_QPA_PLATFORM=xcb "$@"
