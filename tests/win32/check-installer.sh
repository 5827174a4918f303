#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks the Windows Installer packages that packaging/build-msi.sh makes from the programs in
# PROGRAMS. The 32-bit package by its tables (msiinfo); the 64-bit one under Wine, in a Wine prefix of its own made for the check and removed afterwards: a silent
# install puts exactly the programs, the licence and two Start-menu shortcuts into the prefix and
# registers the uninstall entry; the shortcut to Tavoro 3 opens the installed program's splash
# window; another build of the same version replaces it, an earlier version is refused; a silent
# uninstall leaves nothing of it.
# The test run builds no 32-bit programs: the 32-bit package is made of the 64-bit ones, which
# changes nothing in its tables but the file sizes.
# Usage: check-installer.sh [--shot FILE.png] PROGRAMS VERSION WORKDIR
#   --shot: save a screenshot of the display with the splash window on it (needs ImageMagick).
# Prints one line per check; exits 77 (skipped) when wixl, msiinfo, Wine, Xvfb, xdotool or the
# programs are missing.
set -eu
export LC_ALL=C # one sort order for sort and comm
here=$(cd "$(dirname "$0")" && pwd)
source=$(cd "$here/../.." && pwd)
shot=
if [ "${1:-}" = --shot ]; then
    shot=$2
    shift 2
fi
programs=$1 version=$2 work=$3

for tool in wixl:wixl msiinfo:msitools wine:wine64 Xvfb:xvfb xdotool:xdotool; do
    command -v "${tool%:*}" > /dev/null || { echo "${tool%:*} not found (Debian: ${tool#*:}); skipped"; exit 77; }
done
for program in "Tavoro 3" "Tavoro 2"; do
    [ -f "$programs/$program.exe" ] || { echo "$programs/$program.exe is not built; skipped"; exit 77; }
done

failures=0
check() { # check WHAT COMMAND...: runs COMMAND, prints ok or FAIL
    what=$1
    shift
    if "$@"; then echo "ok: $what"; else echo "FAIL: $what"; failures=$((failures + 1)); fi
}
fails() { ! "$@"; }
# The rows of an MSI table without its three header lines, or a summary field.
table() { msiinfo export "$1" "$2" | tr -d '\r' | tail -n +4; }
summary() { msiinfo suminfo "$1" | sed -n "s/^$2: //p"; }
property() { table "$1" Property | awk -F '\t' -v name="$2" '$1 == name { print $2 }'; }

rm -rf "$work"
mkdir -p "$work"
package() { # package TARGET VERSION MSI
    "$source/packaging/build-msi.sh" "$1" "$2" "$programs" "$3"
}
msi=$work/tavoro-$version-x86_64.msi msi32=$work/tavoro-$version-i686.msi
# Another build of the same version (a new product code, the same upgrade code), and an earlier one.
rebuilt=$work/rebuilt/tavoro-$version-x86_64.msi earlier=$work/tavoro-0.9.0-x86_64.msi
package x86_64 "$version" "$msi"
package i686 "$version" "$msi32"
package x86_64 "$version" "$rebuilt"
package x86_64 0.9.0 "$earlier"

# The 32-bit package: what it installs where, on which platform.
check "i686: for 32-bit Windows" [ "$(summary "$msi32" Template)" = "Intel;1033" ]
check "i686: into Program Files (x86)\\Tavoro on 64-bit Windows" \
    [ "$(table "$msi32" Directory | grep '^INSTALLDIR')" = "$(printf 'INSTALLDIR\tProgramFilesFolder\tTavoro')" ]
check "i686: 32-bit components" [ "$(table "$msi32" Component | cut -f 4 | sort -u)" = 0 ]
check "i686: the programs and the licence" \
    [ "$(table "$msi32" File | cut -f 3 | sort | paste -sd /)" = "COPYING.txt/TAVORO2.EXE|Tavoro 2.exe/TAVORO3.EXE|Tavoro 3.exe" ]

# The 64-bit package under Wine.
prefix=$work/prefix
export WINEPREFIX=$prefix WINEDEBUG=-all
# No offer to install Mono or Gecko, and no menu entries on the desktop for the shortcuts.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
. "$here/../private-display.sh"
cleanUp() {
    wineserver -k 2> /dev/null || true
    stopPrivateDisplay
    rm -rf "$prefix"
}
trap cleanUp EXIT
unset DISPLAY
sh "$here/wine-prefix.sh" make "$prefix"

msiexec() { # msiexec /i|/x MSI: silently, with the package's Windows path
    wine msiexec "$1" "Z:$(echo "$2" | tr / '\\')" /qn
    status=$?
    echo "msiexec $1 $(basename "$2"): exit status $status"
    return $status
}
# Everything in drive_c, with the names that change from run to run made fixed: the user's
# Start-menu folder (Wine puts a package's Start-menu shortcuts there, where Windows takes the
# folder for all users), the cached package and the product code PRODUCT. Not Windows Installer's
# own folder, which every Windows has and Wine makes at the first install.
contents() { # contents PRODUCT
    (cd "$prefix/drive_c" && find . -mindepth 1 ! -path ./windows/Installer) | sed -e 's|^\./||' \
        -e 's#^\(users/[^/]*/AppData/Roaming\|ProgramData\)/Microsoft/Windows/Start Menu/Programs/#Start menu/#' \
        -e 's#^windows/Installer/[0-9a-f]*\.msi$#windows/Installer/(package).msi#' \
        -e "s#^windows/Installer/$1#windows/Installer/(product code)#" | sort
}
# A GUID as Windows Installer writes it in the names of its registry keys.
packed() {
    local g
    g=$(echo "$1" | tr -d '{}-')
    echo "$(echo "${g:0:8}" | rev)$(echo "${g:8:4}" | rev)$(echo "${g:12:4}" | rev)$(echo "${g:16}" | sed 's/\(.\)\(.\)/\2\1/g')"
}
upgradeCode=$(property "$work/tavoro-$version-x86_64.msi" UpgradeCode)
# Every registry line of the prefix that names Tavoro or its upgrade code (the product's keys
# hold its name), without the keys' time stamps.
mentions() {
    grep -h -i -F -e tavoro -e "$(packed "$upgradeCode")" "$prefix/system.reg" "$prefix/user.reg" |
        sed 's/\] [0-9]*$/]/' || true
}
uninstallKey='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
# The uninstall entry of a product code as "NAME TYPE VALUE" lines.
uninstallEntry() { wine reg query "$uninstallKey\\$1" 2> /dev/null | tr -d '\r' | sed -n 's/^ \+\([^ ]\+\) \+\(REG_[A-Z_]\+\) \+/\1 \2 /p'; }

code=$(property "$msi" ProductCode)
rebuiltCode=$(property "$rebuilt" ProductCode)
contents "$code" > "$work/before.txt"
mentions > "$work/registry-before.txt"

check "msiexec /i tavoro-$version-x86_64.msi /qn succeeds" msiexec /i "$msi"
contents "$code" > "$work/installed.txt"
echo "== The prefix after the install holds, besides what it held before:"
comm -13 "$work/before.txt" "$work/installed.txt" | tee "$work/added.txt"
check "the install added the programs, the licence, the shortcuts and Windows Installer's copies, nothing else" \
    [ "$(cat "$work/added.txt")" = "$(cat <<ADDED
Program Files/Tavoro
Program Files/Tavoro/COPYING.txt
Program Files/Tavoro/Tavoro 2.exe
Program Files/Tavoro/Tavoro 3.exe
Start menu/Tavoro 2.lnk
Start menu/Tavoro 3.lnk
windows/Installer/(package).msi
windows/Installer/(product code)
windows/Installer/(product code)/tavoro.ico
ADDED
)" ]
check "the install removed nothing" [ -z "$(comm -23 "$work/before.txt" "$work/installed.txt")" ]
installed="$prefix/drive_c/Program Files/Tavoro"
for program in "Tavoro 3" "Tavoro 2"; do
    check "$program.exe installed as built" cmp -s "$installed/$program.exe" "$programs/$program.exe"
    link=$(find "$prefix/drive_c" -path "*/Start Menu/Programs/$program.lnk")
    check "the Start-menu shortcut $program points at C:\\Program Files\\Tavoro\\$program.exe" \
        grep -q -a -F "C:\\Program Files\\Tavoro\\$program.exe" "$link"
done
check "the licence installed with Windows line ends" cmp -s "$installed/COPYING.txt" <(sed 's/$/\r/' "$source/COPYING")

echo "== The uninstall entry $uninstallKey\\$code:"
uninstallEntry "$code" | grep -v ' REG_SZ $' | tee "$work/entry.txt"
for value in "DisplayName REG_SZ Tavoro" "DisplayVersion REG_SZ $version" "Publisher REG_SZ The Tavoro developers" \
    "UninstallString REG_EXPAND_SZ MsiExec.exe /X$code" "NoModify REG_DWORD 0x1"; do
    check "uninstall entry: $value" grep -q -x -F "$value" "$work/entry.txt"
done
# Apps & features shows the icon Windows Installer keeps under its product key.
check "the product icon is registered" [ "$(wine reg query "HKLM\\Software\\Classes\\Installer\\Products\\$(packed "$code")" /v ProductIcon |
    tr -d '\r' | sed -n 's/^ *ProductIcon *REG_SZ *//p')" = "C:\\windows\\Installer\\$code\\tavoro.ico" ]
check "the product icon is the program icon" cmp -s "$prefix/drive_c/windows/Installer/$code/tavoro.ico" "$source/startup/resources/tavoro.ico"

# The Start-menu shortcut opens the installed Tavoro 3 with its splash window: on a display of its
# own, in a new Wine session (one started without a display keeps its windows off any screen).
wineserver -k 2> /dev/null || true
wineserver -w
startPrivateDisplay || { echo "FAIL: no display of our own could be started"; exit 1; }
wine start /unix "$(find "$prefix/drive_c" -path '*/Start Menu/Programs/Tavoro 3.lnk')"
window=
for _ in $(seq 300); do
    window=$(xdotool search --onlyvisible --name '^Tavoro 3$' 2> /dev/null | head -n 1) && [ -n "$window" ] && break
    sleep 0.1
done
check "the shortcut Tavoro 3 opens a window \"Tavoro 3\"" [ -n "$window" ]
if [ -n "$window" ]; then
    check "the window is the installed program's" \
        [ "$(tr '\0' '\n' < "/proc/$(xdotool getwindowpid "$window")/cmdline" | head -n 1)" = "C:\\Program Files\\Tavoro\\Tavoro 3.exe" ]
    check "the window is the splash window (630 x 468)" \
        [ "$(xdotool getwindowgeometry "$window" | sed -n 's/^ *Geometry: //p')" = 630x468 ]
    [ -z "$shot" ] || import -window root "$shot"
fi
wineserver -k || true
stopPrivateDisplay
unset DISPLAY

# Another build of the same version takes the place of the installed one.
check "msiexec /i of another build of tavoro-$version-x86_64.msi succeeds" msiexec /i "$rebuilt"
check "it replaced the first: its uninstall entry is gone" [ -z "$(uninstallEntry "$code")" ]
check "its own uninstall entry is there" [ -n "$(uninstallEntry "$rebuiltCode")" ]
check "the files and shortcuts are as after the first install" cmp -s "$work/installed.txt" <(contents "$rebuiltCode")
check "msiexec /i tavoro-0.9.0-x86_64.msi is refused" \
    fails msiexec /i "$earlier"
check "the later version's uninstall entry stays" [ -n "$(uninstallEntry "$rebuiltCode")" ]

check "msiexec /x tavoro-$version-x86_64.msi /qn succeeds" msiexec /x "$rebuilt"
contents "$rebuiltCode" > "$work/uninstalled.txt"
echo "== After the uninstall the prefix holds, besides what it held before:"
comm -13 "$work/before.txt" "$work/uninstalled.txt"
echo "== and lacks:"
comm -23 "$work/before.txt" "$work/uninstalled.txt"
check "the uninstall removed every file, folder and shortcut it installed" cmp -s "$work/before.txt" "$work/uninstalled.txt"
check "the uninstall entry is gone" [ -z "$(uninstallEntry "$rebuiltCode")" ]
wineserver -w # until the registry is saved
mentions > "$work/registry-after.txt"
check "no registry key or value of Tavoro is left" cmp -s "$work/registry-before.txt" "$work/registry-after.txt"
diff "$work/registry-before.txt" "$work/registry-after.txt" || true

[ "$failures" -eq 0 ]
