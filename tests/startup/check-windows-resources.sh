#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Compiles a program's Windows resource script with the MinGW resource compiler, to a .res file
# and to a COFF object as a Windows build links it, reads the .res back as a script and checks
# every field of the version record and the icon group.
# Usage: check-windows-resources.sh WINDRES SCRIPT TITLE PREPROCESSOR WORKDIR
# Exits 77 (skipped) when WINDRES is not installed.
set -eu
windres=$1 script=$2 title=$3 preprocessor=$4 work=$5

if ! [ -x "$windres" ]; then
    echo "x86_64-w64-mingw32-windres not found (Debian: binutils-mingw-w64-x86-64); skipped"
    exit 77
fi
mkdir -p "$work"
# Without a MinGW compiler installed windres needs to be told which C preprocessor to run.
compile() { # format output
    "$windres" --preprocessor="$preprocessor" --preprocessor-arg=-E --preprocessor-arg=-xc \
        --preprocessor-arg=-DRC_INVOKED -i "$script" -O "$1" -o "$2"
}
compile res "$work/program.res"
compile coff "$work/program.o"
"$windres" -i "$work/program.res" -O rc -o "$work/readback.rc"

failures=0
# Each expected line must appear in the read-back script exactly once (blanks around it ignored).
expect_once() {
    count=$(sed 's/^[[:space:]]*//; s/[[:space:]]*$//' "$work/readback.rc" | grep -cxF -- "$1" || true)
    if [ "$count" != 1 ]; then
        echo "FAIL: expected once, found $count times: $1"
        failures=$((failures + 1))
    fi
}
# A line that must not appear at all.
expect_none() {
    if grep -qE -- "$1" "$work/readback.rc"; then
        echo "FAIL: unexpected: $(grep -E -- "$1" "$work/readback.rc" | head -1)"
        failures=$((failures + 1))
    fi
}

# Every resource is in English (United States).
expect_once 'LANGUAGE 9, 1'
expect_none '^LANGUAGE [^9]|^LANGUAGE 9, [^1]'

# The version record. windres leaves out the fields that are zero: flags and subtype.
expect_once '1 VERSIONINFO'
expect_once 'FILEVERSION 1, 0, 0, 0'
expect_once 'PRODUCTVERSION 1, 0, 0, 0'
expect_once 'FILEOS 0x4'
expect_once 'FILETYPE 0x1'
expect_none '^ *FILEFLAGS '
expect_none '^ *FILESUBTYPE '
expect_once 'BLOCK "040904B0"'
expect_once "VALUE \"ProductName\", \"$title\""
expect_once 'VALUE "FileVersion", "1.00"'
expect_once 'VALUE "ProductVersion", "1.00"'
expect_once "VALUE \"InternalName\", \"$title\""
expect_once "VALUE \"OriginalFilename\", \"$title.exe\""
expect_once 'VALUE "Translation", 0x409, 1200'
# Exactly the five strings, and no other string block.
values=$(grep -c '^ *VALUE "[A-Za-z]*", "' "$work/readback.rc" || true)
[ "$values" = 5 ] || { echo "FAIL: $values strings in the version record, expected 5"; failures=$((failures + 1)); }
expect_none 'BLOCK "0[^4]|BLOCK "04[^0]'

# The icon group 1 and its three images: width, height, colours, planes, bits per pixel, bytes, id.
expect_once '1 14 /* RT_GROUP_ICON */ MOVEABLE PURE DISCARDABLE'
expect_once '"\040\040\002\000", 1, 1, 0x130L, 30001,	/* Element no 1.  */'
expect_once '"\040\040\020\000", 1, 4, 0x2e8L, 30002,	/* Element no 2.  */'
expect_once '"\020\020\020\000", 1, 4, 0x128L, 30003	/* Element no 3.  */'
for id in 30001 30002 30003; do
    expect_once "$id 3 /* RT_ICON */ MOVEABLE PURE DISCARDABLE"
done
# Nothing else: the three icon images, one group, one version record.
resources=$(grep -cE '^[0-9]+ ([0-9]+|VERSIONINFO)' "$work/readback.rc" || true)
[ "$resources" = 5 ] || { echo "FAIL: $resources resources, expected 5"; failures=$((failures + 1)); }

if [ "$failures" -ne 0 ]; then
    echo "--- read back from $script:"
    grep -v "^ *0x\|^ *'\|^ *\"" "$work/readback.rc" | grep -v '^$'
    exit 1
fi
echo "$title: version record and icon group as expected"
