#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a Windows program under Wine in $WINEPREFIX and passes on its exit status; whatever of Wine
# is left running is ended afterwards.
#   --display: on a virtual X display of its own (tests/private-display.sh).
#   --screen WIDTHxHEIGHT: with --display, a screen of that size (default 1280x1024).
#   --dpi N: Windows' display scale for this run (LogPixels: 96, 120, 144, 192), set back as it
#   was afterwards.
#   --shots DIR: with --display, for wine_driver: the driver is given --pause, and at each "shot
#   NAME" it prints the whole screen is saved as DIR/NAME.png before it goes on.
# Usage: run-under-wine.sh [--display [--screen WxH] [--shots DIR]] [--dpi N] PROGRAM.exe [ARGUMENTS...]
# Exits 77 (skipped) when Wine, Xvfb or the program is missing.
set -eu
here=$(dirname "$0")
display=false shots= screen= dpi=
while [ $# -gt 0 ]; do
    case "$1" in
    --display) display=true; shift ;;
    --screen) screen=$2; shift 2 ;;
    --dpi) dpi=$2; shift 2 ;;
    --shots) shots=$2; shift 2 ;;
    *) break ;;
    esac
done
program=$1

command -v wine > /dev/null || { echo "wine not found (Debian: wine, wine64); skipped"; exit 77; }
[ -f "$program" ] || { echo "$program is not built; skipped"; exit 77; }
[ -n "${WINEPREFIX:-}" ] && [ -f "$WINEPREFIX/system.reg" ] || { echo "FAIL: no Wine prefix in WINEPREFIX"; exit 1; }

. "$here/../private-display.sh"
scaleKey='HKCU\Control Panel\Desktop'
previousDpi=
cleanUp() {
    wineserver -k 2> /dev/null || true
    if [ -n "$dpi" ]; then
        if [ -n "$previousDpi" ]; then
            wine reg add "$scaleKey" /v LogPixels /t REG_DWORD /d "$previousDpi" /f > /dev/null 2>&1 || true
        else
            wine reg delete "$scaleKey" /v LogPixels /f > /dev/null 2>&1 || true
        fi
        wineserver -k 2> /dev/null || true
    fi
    stopPrivateDisplay
}
trap cleanUp EXIT
if [ -n "$dpi" ]; then
    # The scale Wine reads when its server starts: set, then the server made to start anew.
    previousDpi=$(wine reg query "$scaleKey" /v LogPixels 2> /dev/null | tr -d '\r' |
        awk '$1 == "LogPixels" { print $3 }')
    [ -z "$previousDpi" ] || previousDpi=$((previousDpi))
    wine reg add "$scaleKey" /v LogPixels /t REG_DWORD /d "$dpi" /f > /dev/null 2>&1
    wineserver -k 2> /dev/null || true
fi
if $display; then
    for tool in Xvfb xdotool; do
        command -v $tool > /dev/null || { echo "$tool not found (Debian: xvfb, xdotool); skipped"; exit 77; }
    done
    startPrivateDisplay $screen || { echo "FAIL: no display of our own could be started"; exit 1; }
else
    unset DISPLAY
fi

if [ -z "$shots" ]; then
    wine "$@"
    exit
fi
command -v import > /dev/null || { echo "import not found (Debian: imagemagick)"; exit 1; }
mkdir -p "$shots"
coproc driver { wine "$@" --pause; }
driverPid=$driver_PID # bash forgets it once the driver has ended
while IFS= read -r line <&"${driver[0]}"; do
    line=${line%$'\r'}
    case "$line" in
    "shot "*)
        import -window root "$shots/${line#shot }.png"
        echo "saved $shots/${line#shot }.png"
        echo >&"${driver[1]}"
        ;;
    *) echo "$line" ;;
    esac
done
wait "$driverPid"
