# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the checks that drive a program over AT-SPI: finds the bus launcher (its folder
# differs between releases) and the system's Python with pyatspi, or skips the check through the
# caller's skip(). Sets $launcher and $python.
launcher=
for candidate in /usr/libexec/at-spi-bus-launcher /usr/lib/at-spi2-core/at-spi-bus-launcher; do
    [ -x "$candidate" ] && launcher=$candidate && break
done
[ -n "$launcher" ] || skip "at-spi-bus-launcher not found (Debian: at-spi2-core)"
# pyatspi belongs to the system's Python, whatever python3 comes first on the PATH.
python=/usr/bin/python3
[ -x "$python" ] && "$python" -c 'import pyatspi' 2> /dev/null ||
    skip "pyatspi not found for $python (Debian: python3-pyatspi)"
