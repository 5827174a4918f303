#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes or removes the Wine prefix (a scratch Windows installation) the Wine checks of one test
# run share. Making one takes about 20 seconds.
# Usage: wine-prefix.sh make|remove PREFIX
# Exits 77 (skipped) when Wine is not installed.
set -eu
action=$1
export WINEPREFIX=$2 WINEDEBUG=-all
# Headless: nothing of wineboot appears on the desktop of whoever runs the tests.
unset DISPLAY
# No offer to install Mono or Gecko (there is no network: it would wait for ever), and no menu
# entries on the desktop of whoever runs the tests.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

if ! command -v wine > /dev/null; then
    echo "wine not found (Debian: wine, wine64); skipped"
    [ "$action" = remove ] && exit 0
    exit 77
fi
case "$action" in
make)
    wineserver -k 2> /dev/null || true
    rm -rf "$WINEPREFIX"
    wine wineboot -i > /dev/null 2>&1
    wineserver -w
    [ -f "$WINEPREFIX/system.reg" ] || { echo "FAIL: wineboot made no prefix in $WINEPREFIX"; exit 1; }
    echo "Wine prefix made in $WINEPREFIX"
    ;;
remove)
    wineserver -k 2> /dev/null || true
    rm -rf "$WINEPREFIX"
    ;;
*)
    echo "usage: $0 make|remove PREFIX" >&2
    exit 2
    ;;
esac
