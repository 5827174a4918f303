#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs both programs inside GNOME Shell 48 or later, headless, as a user of that desktop has them:
# see gnome-session.py. This wrapper finds the tools and bounds the whole run. The session bus must
# be one of its own, as tests/isolated-env.sh gives it (CTest runs it so).
# Usage: tests/isolated-env.sh tests/desktop/check-gnome-shell.sh [--shots DIR] \
#            PROGRAM WINDOW_TITLE [PROGRAM WINDOW_TITLE]...
# Exits 77 (skipped) where there is no such desktop to run in.
set -eu
here=$(dirname "$0")
shots=
if [ "${1:-}" = --shots ]; then
    shots=$2
    shift 2
fi

skip() { echo "$*; skipped"; exit 77; }
command -v gnome-shell > /dev/null ||
    skip "gnome-shell not found (Debian 13: gnome-shell; scripts/deps.sh installs it where GNOME Shell is 48 or later)"
version=$(gnome-shell --version 2> /dev/null | sed -n 's/^GNOME Shell \([0-9]*\).*/\1/p')
[ "${version:-0}" -ge 48 ] ||
    skip "GNOME Shell ${version:-of an unknown version} found; this check needs 48 or later (Debian 13)"
# Where /run/systemd/seats exists the shell takes logind to be there and asks it for its session
# and seat. A session started by a test has none: where systemd runs the system, the check does
# not run. In a chroot or container, installing systemd's packages makes that folder with no
# logind behind it: there the check hides it from the shell under an empty /run/systemd, as root,
# in a mount namespace of its own. (A chroot's root is no mount point, so that namespace cannot
# be made private: the caller's must be, as scripts/test-in-debian.sh makes it; the mount is
# undone at the end all the same.) The shell then does without logind.
if [ -e /run/systemd/seats ]; then
    [ ! -e /run/systemd/system ] ||
        skip "systemd runs this system, so gnome-shell would ask logind for a session this check has not;" \
            "it runs in a chroot (scripts/test-in-debian.sh)"
    [ "$(id -u)" -eq 0 ] && command -v unshare > /dev/null ||
        skip "/run/systemd/seats exists without logind, and only root can hide it from gnome-shell"
    exec unshare --mount --propagation unchanged sh -c '
        mount -t tmpfs -o mode=755 tmpfs /run/systemd || exit 1
        status=0
        "$@" || status=$?
        umount /run/systemd
        exit $status' sh sh "$0" ${shots:+--shots "$shots"} "$@"
fi
for tool in Xwayland dbus-daemon dbus-run-session xprop timeout; do
    command -v $tool > /dev/null || skip "$tool not found (Debian: xwayland, dbus-daemon, dbus-bin, x11-utils, coreutils)"
done
[ -x /usr/libexec/gsd-xsettings ] || skip "/usr/libexec/gsd-xsettings not found (Debian: gnome-settings-daemon)"
ls /usr/lib/*/qt6/plugins/platforms/libqwayland-generic.so > /dev/null 2>&1 ||
    skip "Qt's wayland platform not found (Debian: qt6-wayland)"
. "$here/../a11y/atspi-tools.sh"
missing=$("$python" -B -c "import sys; sys.path.insert(0, '$here/../sound'); import soundprobe
print(', '.join(soundprobe.missing_tools()))")
[ -z "$missing" ] || skip "not found: $missing"

# The driver bounds each step, timeout the whole.
exec timeout -k 5 240 "$python" "$here/gnome-session.py" ${shots:+--shots "$shots"} "$launcher" "$@"
