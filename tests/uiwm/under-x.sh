#!/bin/sh
# Runs a window test (with its arguments) on a virtual X server of 1600×1000 with the openbox window
# manager; exits 77 (a skip for CTest) with the reason when either cannot be had.
for tool in xvfb-run openbox wmctrl xdotool import; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "test_ui_wm: skipped: '$tool' is not installed (Debian: apt-get install xvfb xauth openbox wmctrl xdotool imagemagick)"
        exit 77
    fi
done
exec xvfb-run -a -s "-screen 0 1600x1000x24" sh -c '
    openbox >/tmp/openbox.$$.log 2>&1 &
    wm=$!
    i=0
    until wmctrl -m >/dev/null 2>&1; do
        i=$((i + 1))
        if [ "$i" -gt 100 ] || ! kill -0 "$wm" 2>/dev/null; then
            echo "test_ui_wm: skipped: the window manager did not start:"
            cat /tmp/openbox.$$.log
            rm -f /tmp/openbox.$$.log
            exit 77
        fi
        sleep 0.1
    done
    rm -f /tmp/openbox.$$.log
    QT_QPA_PLATFORM=xcb "$@"
    status=$?
    kill "$wm" 2>/dev/null
    exit $status
' under-x "$@"
