#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a program on its own virtual X display as a user would: the splash window comes up alone,
# a click on its start button swaps it for the calculator window, and e&Xit from the Files menu
# ends the process. With a sixth argument, screenshots of both windows are saved in that folder.
# First, started where no display can be reached, the program must say so in one line on standard
# error and end with status 1.
# Usage, through tests/isolated-env.sh as CTest runs it:
#   check-x11-session.sh PROGRAM SPLASH_WIDTH SPLASH_HEIGHT START_X START_Y [SHOTS_DIR]
#   START_X, START_Y: the start button's middle, in the splash window's coordinates.
# Exits 77 (skipped) when Xvfb or xdotool is missing.
set -eu
program=$1 splashWidth=$2 splashHeight=$3 startX=$4 startY=$5 shots=${6:-}

message=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM timeout 20 "$program" 2>&1 > /dev/null) &&
    status=0 || status=$?
if [ "$status" != 1 ] || [ "$(printf '%s\n' "$message" | wc -l)" != 1 ] || ! echo "$message" | grep -q DISPLAY; then
    echo "FAIL: without a display, expected status 1 and one line about DISPLAY; status $status, standard error:"
    printf '%s\n' "$message"
    exit 1
fi
echo "without a display: $message"

for tool in Xvfb xdotool; do
    command -v $tool > /dev/null || { echo "$tool not found (Debian: xvfb, xdotool); skipped"; exit 77; }
done
if [ -n "$shots" ]; then
    command -v import > /dev/null || { echo "import not found (Debian: imagemagick)"; exit 1; }
    mkdir -p "$shots"
fi

# A display of our own (tests/private-display.sh).
. "$(dirname "$0")/../private-display.sh"
programPid=
cleanUp() {
    [ -z "$programPid" ] || kill "$programPid" 2> /dev/null || true
    stopPrivateDisplay
}
trap cleanUp EXIT
startPrivateDisplay || { echo "FAIL: no display of our own could be started"; exit 1; }

# The program's visible windows, one "width height x y" line each.
visibleWindows() {
    for window in $(xdotool search --onlyvisible --pid "$programPid" 2> /dev/null); do
        xdotool getwindowgeometry --shell "$window" | tr '\n' ' ' |
            sed 's/.*X=\([0-9]*\) Y=\([0-9]*\) WIDTH=\([0-9]*\) HEIGHT=\([0-9]*\).*/\3 \4 \1 \2/'
        echo
    done
}
# Waits up to five seconds for the visible windows to be exactly one of the given size.
waitForWindow() { # width height what
    tries=0
    while :; do
        windows=$(visibleWindows)
        if [ "$(echo "$windows" | grep -c .)" = 1 ] && [ "${windows% * *}" = "$1 $2" ]; then
            return 0
        fi
        tries=$((tries + 1))
        if [ $tries -ge 50 ]; then
            echo "FAIL: expected the $3 ($1 x $2) alone; visible windows (width height x y):"
            echo "$windows"
            exit 1
        fi
        sleep 0.1
    done
}
screenshot() { # name width height x y
    [ -z "$shots" ] || import -window root -crop "$2x$3+$4+$5" +repage "$shots/$1.png"
}

"$program" &
programPid=$!
waitForWindow "$splashWidth" "$splashHeight" "splash window"
sleep 0.5 # let it paint
set -- $(visibleWindows)
splashX=$3 splashY=$4
echo "splash window: $splashWidth x $splashHeight at $splashX, $splashY"
screenshot "$(basename "$program")-splash" "$splashWidth" "$splashHeight" "$splashX" "$splashY"

xdotool mousemove $((splashX + startX)) $((splashY + startY)) click 1
# The calculator window: a 647 x 493 client area below a menu bar; only its width is fixed here.
tries=0
until [ "$(visibleWindows | grep -c '^647 ')" = 1 ] && [ "$(visibleWindows | grep -c .)" = 1 ]; do
    tries=$((tries + 1))
    [ $tries -lt 50 ] || { echo "FAIL: the calculator window did not replace the splash window"; visibleWindows; exit 1; }
    sleep 0.1
done
sleep 0.5
set -- $(visibleWindows)
echo "calculator window: $1 x $2 at $3, $4"
screenshot "$(basename "$program")-calculator" "$1" "$2" "$3" "$4"

# e&Xit through the menu's access keys; the keyboard goes to the calculator window first.
calculator=$(xdotool search --onlyvisible --pid "$programPid" | head -1)
xdotool windowfocus --sync "$calculator"
xdotool key alt+f
sleep 0.3
xdotool key x
tries=0
while kill -0 "$programPid" 2> /dev/null; do
    tries=$((tries + 1))
    [ $tries -lt 50 ] || { echo "FAIL: the program still runs after Exit"; exit 1; }
    sleep 0.1
done
wait "$programPid" && status=0 || status=$?
programPid=
[ "$status" = 0 ] || { echo "FAIL: the program ended with status $status"; exit 1; }
echo "$(basename "$program"): splash, start button, calculator window and Exit as expected"
