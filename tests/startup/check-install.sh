#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the build into a scratch prefix and checks that both programs, their desktop entries
# and the icon in every size land where a Linux desktop looks for them.
# Usage: check-install.sh CMAKE BUILD_DIR PREFIX
set -eu
cmake=$1 build=$2 prefix=$3

rm -rf "$prefix"
"$cmake" --install "$build" --prefix "$prefix" > /dev/null

failures=0
for file in bin/tavoro3 bin/tavoro2 \
    share/applications/tavoro3.desktop share/applications/tavoro2.desktop; do
    [ -f "$prefix/$file" ] || { echo "FAIL: not installed: $file"; failures=$((failures + 1)); }
done
for program in tavoro3 tavoro2; do
    [ -x "$prefix/bin/$program" ] || { echo "FAIL: not executable: bin/$program"; failures=$((failures + 1)); }
done
for size in 16 32 48 64 128 256; do
    icon=share/icons/hicolor/${size}x$size/apps/tavoro.png
    [ -f "$prefix/$icon" ] || { echo "FAIL: not installed: $icon"; failures=$((failures + 1)); }
done
[ "$failures" -eq 0 ] || exit 1
echo "installed into $prefix"
