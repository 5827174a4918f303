#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a command in an environment of its own, so that a test sees the same thing on a fresh
# machine, a console, a CI runner and a desktop session, whatever the caller's shell holds. Every
# test that starts a program or a Qt application goes through it.
#
# Usage: isolated-env.sh [NAME=VALUE]... [--] COMMAND [ARG]...
#
# What the command gets:
# - HOME and XDG_RUNTIME_DIR: empty folders of its own (mode 0700), removed afterwards. The other
#   XDG base folders are unset, so they default to places under that HOME or to the system's.
# - None of the caller's QT_* variables (scale, style, platform, platform theme, accessibility,
#   ...), no display (DISPLAY, WAYLAND_DISPLAY, XAUTHORITY), no accessibility bus
#   (AT_SPI_BUS_ADDRESS) and no desktop-session variables: each of them changes how Qt starts and
#   what it draws. A test that needs a display starts one and sets DISPLAY itself.
# - A D-Bus session bus of its own (dbus-run-session), ended with the command. Without
#   dbus-run-session, DBUS_SESSION_BUS_ADDRESS names a socket that does not exist, so the program
#   sees no bus. Either way libdbus never tries to start a bus through X11 autolaunch, as it does
#   when the variable is unset; that attempt fails and leaks, and LeakSanitizer reports the leak.
# - Then the NAME=VALUE words, in order: what the test sets on purpose (QT_QPA_PLATFORM=offscreen,
#   QT_SCALE_FACTOR=2, WINEPREFIX=..., ...). Everything else the caller has (PATH, LANG,
#   ASAN_OPTIONS, ...) passes through.
# The exit status is the command's.
#
# In CMake: tavoro_add_program_test() (cmake/TavoroTesting.cmake) adds a test whose command runs
# through this script; tavoro_add_qtest() does so for a QtTest suite. Give variables with their
# ENVIRONMENT argument, not with the ENVIRONMENT test property: this script drops the QT_* ones
# that property sets. By hand:
#   tests/isolated-env.sh QT_QPA_PLATFORM=offscreen -- build/tests/ui/tst_calculatorwindow
set -eu

scratch=$(mktemp -d "${TMPDIR:-/tmp}/tavoro-test.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
trap 'exit 130' INT TERM HUP
mkdir -m 0700 "$scratch/home" "$scratch/runtime"
export HOME="$scratch/home" XDG_RUNTIME_DIR="$scratch/runtime"

for name in $(env | sed -n 's/^\(QT_[A-Za-z0-9_]*\)=.*/\1/p'); do
    unset "$name"
done
unset XDG_CONFIG_HOME XDG_CACHE_HOME XDG_DATA_HOME XDG_STATE_HOME XDG_CONFIG_DIRS XDG_DATA_DIRS \
    DISPLAY WAYLAND_DISPLAY XAUTHORITY AT_SPI_BUS_ADDRESS \
    XDG_SESSION_TYPE XDG_CURRENT_DESKTOP XDG_SESSION_DESKTOP DESKTOP_SESSION \
    KDE_FULL_SESSION KDE_SESSION_VERSION GNOME_DESKTOP_SESSION_ID DBUS_SESSION_BUS_ADDRESS

while [ $# -gt 0 ]; do
    case $1 in
        --) shift; break ;;
        [A-Za-z_]*=*) export "$1"; shift ;;
        *) break ;;
    esac
done
[ $# -gt 0 ] || { echo "usage: $0 [NAME=VALUE]... [--] COMMAND [ARG]..." >&2; exit 2; }

status=0
if command -v dbus-run-session > /dev/null; then
    dbus-run-session -- "$@" || status=$?
else
    DBUS_SESSION_BUS_ADDRESS="unix:path=$scratch/no-session-bus" "$@" || status=$?
fi
exit "$status"
