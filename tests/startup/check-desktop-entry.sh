#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Validates a program's desktop entry with desktop-file-validate and checks its fields.
# Usage: check-desktop-entry.sh DESKTOP_FILE_VALIDATE ENTRY TITLE EXECUTABLE
# Exits 77 (skipped) when desktop-file-validate is not installed.
set -eu
validate=$1 entry=$2 title=$3 executable=$4

if ! [ -x "$validate" ]; then
    echo "desktop-file-validate not found (Debian: desktop-file-utils); skipped"
    exit 77
fi
# desktop-file-validate prints warnings and hints as well as errors; any of them fails the test.
output=$("$validate" "$entry" 2>&1) || { echo "$output"; exit 1; }
[ -z "$output" ] || { echo "$output"; exit 1; }

failures=0
for line in "Type=Application" "Name=$title" \
    "Comment=An easy to see (and use) calculator for us old blind guys." \
    "Icon=tavoro" "Exec=$executable" "Categories=Utility;Calculator;"; do
    grep -qxF -- "$line" "$entry" || { echo "FAIL: missing line: $line"; failures=$((failures + 1)); }
done
[ "$failures" -eq 0 ] || exit 1
echo "$entry: valid"
