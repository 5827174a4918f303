#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Drives a program as a screen reader does, over AT-SPI, on a virtual X display: see
# screen-reader-session.py. With --orca, works the program from the keyboard with the Orca screen
# reader running instead, and checks what Orca says: see orca-session.py. With --fit, starts it on
# small screens at large display scales, bare and under a window manager, and on Wayland under
# weston, and checks that its windows lie on the screen, clicking its keys for real: see
# screen-fit-session.py. With --sound, presses its keys with a private
# sound server as its speakers and counts the sounds it makes; --sound=CASE for the other cases of
# ../sound/sound-session.py (event sounds switched off, no sound server for the program).
# With --wayland (for the default check and --sound), runs the program on Qt's wayland platform
# under weston's headless backend instead of Qt's xcb platform on Xvfb. This wrapper finds the
# tools and bounds the whole run. The session bus must be one of its own, as tests/isolated-env.sh
# gives it (CTest runs it so).
# Usage: tests/isolated-env.sh tests/a11y/check-screen-reader.sh [--orca|--fit|--sound[=CASE]]
#            [--wayland] PROGRAM WINDOW_TITLE
# Exits 77 (skipped) when a tool is missing.
set -eu
here=$(dirname "$0")
driver=$here/screen-reader-session.py platform=xcb sound_case=heard
while :; do
    case "$1" in
        --orca) driver=$here/orca-session.py; shift ;;
        --fit) driver=$here/screen-fit-session.py; shift ;;
        --sound) driver=$here/../sound/sound-session.py; shift ;;
        --sound=*) driver=$here/../sound/sound-session.py sound_case=${1#--sound=}; shift ;;
        --wayland) platform=wayland; shift ;;
        *) break ;;
    esac
done
program=$1 title=$2
case "$driver:$platform" in
    *orca-session.py:wayland|*screen-fit-session.py:wayland)
        echo "$0: --orca and --fit drive the program through X; they have no --wayland" >&2; exit 2 ;;
esac

skip() { echo "$1; skipped"; exit 77; }
# dbus-run-session: without it isolated-env.sh gives no session bus at all.
for tool in dbus-run-session timeout; do
    command -v $tool > /dev/null || skip "$tool not found (Debian: dbus-bin, coreutils)"
done
if [ $platform = wayland ]; then
    command -v weston > /dev/null || skip "weston not found (Debian: weston)"
    set -- /usr/lib/*/qt6/plugins/platforms/libqwayland-generic.so
    [ -e "$1" ] || skip "Qt's wayland platform not found (Debian: qt6-wayland)"
else
    command -v Xvfb > /dev/null || skip "Xvfb not found (Debian: xvfb)"
fi
. "$here/atspi-tools.sh"
case "$driver" in
    *sound-session.py)
        for tool in pulseaudio pactl parec; do
            command -v $tool > /dev/null || skip "$tool not found (Debian: pulseaudio, pulseaudio-utils)"
        done
        # What the program plays its sounds with: libcanberra's sound-server backend and the sound
        # theme (both only recommended by the program's package).
        set -- /usr/lib/*/libcanberra-0.30/libcanberra-pulse.so
        [ -e "$1" ] || skip "libcanberra's PulseAudio backend not found (Debian: libcanberra-pulse)"
        [ -e /usr/share/sounds/freedesktop/index.theme ] ||
            skip "the freedesktop sound theme not found (Debian: sound-theme-freedesktop)" ;;
esac
if [ "$driver" = "$here/orca-session.py" ]; then
    for tool in orca speech-dispatcher xdotool; do
        command -v $tool > /dev/null || skip "$tool not found (Debian: orca, speech-dispatcher, xdotool)"
    done
    [ -e /usr/lib/speech-dispatcher-modules/sd_espeak-ng ] ||
        skip "speech-dispatcher's espeak-ng module not found (Debian: speech-dispatcher-espeak-ng)"
fi
seconds=80
if [ "$driver" = "$here/screen-fit-session.py" ]; then
    for tool in xdotool xprop xwininfo openbox weston; do
        command -v $tool > /dev/null || skip "$tool not found (Debian: xdotool, x11-utils, openbox, weston)"
    done
    ls /usr/lib/*/qt6/plugins/platforms/libqwayland-generic.so > /dev/null 2>&1 ||
        skip "Qt's wayland platform not found (Debian: qt6-wayland)"
    seconds=170
fi

# The driver bounds each step, timeout the whole.
exec timeout -k 5 $seconds "$python" "$driver" "$program" "$title" "$launcher" "$platform" "$sound_case"
