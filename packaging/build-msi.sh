#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Tavoro's Windows Installer package from packaging/tavoro.wxs with wixl (Debian: wixl):
# "Tavoro 3.exe" and "Tavoro 2.exe" from PROGRAMS, the licence (COPYING, with Windows line ends
# as COPYING.txt) and the program icon. TARGET x86_64 makes a 64-bit package that installs into
# Program Files, i686 a 32-bit one that installs into Program Files (x86) on 64-bit Windows.
# Usage: build-msi.sh x86_64|i686 VERSION PROGRAMS OUTPUT.msi
set -eu
target=$1 version=$2 programs=$3 output=$4
source=$(cd "$(dirname "$0")/.." && pwd)

case "$target" in
x86_64) arch=x64 win64=yes ;;
i686) arch=x86 win64=no ;;
*) echo "usage: $0 x86_64|i686 VERSION PROGRAMS OUTPUT.msi" >&2; exit 2 ;;
esac
command -v wixl > /dev/null || { echo "wixl not found (Debian: wixl)" >&2; exit 1; }

# wixl takes the files from the folder it runs in, by relative names only.
stage=$(mktemp -d "${TMPDIR:-/tmp}/tavoro-msi.XXXXXX")
trap 'rm -rf "$stage"' EXIT
cp "$programs/Tavoro 3.exe" "$programs/Tavoro 2.exe" "$source/startup/resources/tavoro.ico" "$stage/"
sed 's/$/\r/' "$source/COPYING" > "$stage/COPYING.txt"
mkdir -p "$(dirname "$output")"
output=$(cd "$(dirname "$output")" && pwd)/$(basename "$output")
(cd "$stage" && wixl -a "$arch" -D Version="$version" -D Win64="$win64" -o "$output" "$source/packaging/tavoro.wxs")
