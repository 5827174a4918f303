#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Drives a program as a screen reader does, over AT-SPI, on a virtual X display: see
# screen-reader-session.py. With --orca, works the program from the keyboard with the Orca screen
# reader running instead, and checks what Orca says: see orca-session.py. With --fit, starts it on
# small screens at large display scales, bare and under a window manager, and on Wayland under
# weston, and checks that its windows lie on the screen, clicking its keys for real: see
# screen-fit-session.py. This wrapper finds the tools and bounds the whole
# run. The session bus must be one of its own, as tests/isolated-env.sh gives it (CTest runs it so).
# Usage: tests/isolated-env.sh tests/a11y/check-screen-reader.sh [--orca|--fit] PROGRAM WINDOW_TITLE
# Exits 77 (skipped) when a tool is missing.
set -eu
driver=screen-reader-session.py
case "$1" in
    --orca) driver=orca-session.py; shift ;;
    --fit) driver=screen-fit-session.py; shift ;;
esac
program=$1 title=$2
here=$(dirname "$0")

skip() { echo "$1; skipped"; exit 77; }
# dbus-run-session: without it isolated-env.sh gives no session bus at all.
for tool in Xvfb dbus-run-session timeout; do
    command -v $tool > /dev/null || skip "$tool not found (Debian: xvfb, dbus-bin, coreutils)"
done
launcher=
for candidate in /usr/libexec/at-spi-bus-launcher /usr/lib/at-spi2-core/at-spi-bus-launcher; do
    [ -x "$candidate" ] && launcher=$candidate && break
done
[ -n "$launcher" ] || skip "at-spi-bus-launcher not found (Debian: at-spi2-core)"
# pyatspi belongs to the system's Python, whatever python3 comes first on the PATH.
python=/usr/bin/python3
[ -x "$python" ] && "$python" -c 'import pyatspi' 2> /dev/null ||
    skip "pyatspi not found for $python (Debian: python3-pyatspi)"
if [ $driver = orca-session.py ]; then
    for tool in orca speech-dispatcher xdotool; do
        command -v $tool > /dev/null || skip "$tool not found (Debian: orca, speech-dispatcher, xdotool)"
    done
    [ -e /usr/lib/speech-dispatcher-modules/sd_espeak-ng ] ||
        skip "speech-dispatcher's espeak-ng module not found (Debian: speech-dispatcher-espeak-ng)"
fi
seconds=80
if [ $driver = screen-fit-session.py ]; then
    for tool in xdotool xprop xwininfo openbox weston; do
        command -v $tool > /dev/null || skip "$tool not found (Debian: xdotool, x11-utils, openbox, weston)"
    done
    ls /usr/lib/*/qt6/plugins/platforms/libqwayland-generic.so > /dev/null 2>&1 ||
        skip "Qt's wayland platform not found (Debian: qt6-wayland)"
    seconds=170
fi

# The driver bounds each step, timeout the whole.
exec timeout -k 5 $seconds "$python" "$here/$driver" "$program" "$title" "$launcher"
