#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks that each Windows program imports nothing but DLLs that come with Windows itself (UI
# Automation's core among them), so that a copied .exe starts on any Windows without an installer.
# Usage: check-imports.sh OBJDUMP PROGRAM.exe...
# Exits 77 (skipped) when OBJDUMP is not installed or a program is not built.
set -eu
objdump=$1
shift
[ -x "$objdump" ] || { echo "$objdump not found (Debian: binutils-mingw-w64-x86-64, -i686); skipped"; exit 77; }
windows='advapi32.dll comctl32.dll gdi32.dll kernel32.dll msvcrt.dll ole32.dll oleacc.dll oleaut32.dll
shell32.dll shcore.dll uiautomationcore.dll user32.dll uxtheme.dll windowscodecs.dll'

failures=0
for program in "$@"; do
    [ -f "$program" ] || { echo "$program is not built; skipped"; exit 77; }
    imports=$("$objdump" -p "$program" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u)
    [ -n "$imports" ] || { echo "FAIL: $program: no imports read"; failures=$((failures + 1)); continue; }
    foreign=
    for dll in $imports; do
        case " $(echo $windows) " in
        *" $dll "*) ;;
        *) foreign="$foreign $dll" ;;
        esac
    done
    if [ -n "$foreign" ]; then
        echo "FAIL: $program imports DLLs that Windows does not have:$foreign"
        failures=$((failures + 1))
    else
        echo "ok: $(basename "$program") ($("$objdump" -f "$program" | sed -n 's/.*file format //p')) imports only Windows' own:" $imports
    fi
done
[ "$failures" -eq 0 ]
