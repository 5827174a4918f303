# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the checks that run programs on a virtual X display of their own (sh).
# startPrivateDisplay [WIDTHxHEIGHT]: starts Xvfb at 96 dpi, so that the design's pixel sizes
# hold, on a free display with a screen of that size (default 1280x1024), and exports DISPLAY;
# $xvfb holds the server's process id ("" when none could start).
# Other X servers may run on this machine (tests in parallel, a desktop), some without a lock file
# we can see: skip every display that has a lock file or answers, and take the next one if our
# server ends at once. Needs Xvfb and xdotool.

answers() { DISPLAY=:$1 xdotool getdisplaygeometry > /dev/null 2>&1; }

xvfb=
startPrivateDisplay() {
    screen=${1:-1280x1024}
    first=$(( 90 + $$ % 500 ))
    number=$first
    while [ $number -lt $(( first + 20 )) ]; do
        if [ ! -e /tmp/.X$number-lock ] && ! answers $number; then
            # -noreset: by default the server resets when its last client leaves, as the probe
            # below does, and a program connecting during that reset is refused.
            Xvfb :$number -screen 0 "${screen}x24" -dpi 96 -nolisten tcp -noreset > /dev/null 2>&1 &
            xvfb=$!
            tries=0
            while kill -0 "$xvfb" 2> /dev/null && ! answers $number && [ $tries -lt 50 ]; do
                tries=$((tries + 1))
                sleep 0.1
            done
            # A server started at the same moment on the same display makes ours end.
            sleep 0.2
            if kill -0 "$xvfb" 2> /dev/null && answers $number; then
                export DISPLAY=:$number
                return 0
            fi
            kill "$xvfb" 2> /dev/null || true
            xvfb=
        fi
        number=$((number + 1))
    done
    return 1
}

stopPrivateDisplay() {
    [ -z "$xvfb" ] || kill "$xvfb" 2> /dev/null || true
    xvfb=
}
