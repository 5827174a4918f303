#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Windows programs "Tavoro 3.exe" and "Tavoro 2.exe" for 64-bit (x86_64) and 32-bit
# (i686) Windows with Debian's MinGW-w64, each a single .exe that needs only Windows' own DLLs,
# and for each target packs a zip with both programs, the licence and a short read-me, and builds
# a Windows Installer package with wixl (packaging/build-msi.sh). Installs missing Debian packages
# first.
# Usage: scripts/build-windows.sh [OUTDIR]   (default: build-windows)
#   OUTDIR/x86_64/, OUTDIR/i686/: the programs; OUTDIR/tavoro-VERSION-windows-TARGET.zip: the zips;
#   OUTDIR/tavoro-VERSION-TARGET.msi: the installer packages; OUTDIR/cmake-TARGET/: the build trees.
set -euo pipefail
cd "$(dirname "$0")/.."
source=$PWD
out=$(realpath -m "${1:-build-windows}")

scripts/deps.sh windows
version=$(sed -n 's/^project(Tavoro VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)

for target in x86_64 i686; do
    echo "== Windows $target"
    tree=$out/cmake-$target
    cmake -S "$source" -B "$tree" -DCMAKE_TOOLCHAIN_FILE="$source/cmake/toolchain-$target-w64-mingw32.cmake" \
        -DCMAKE_BUILD_TYPE=Release -DTAVORO_WERROR=ON
    cmake --build "$tree" -j"$(nproc)" --target tavoro3 tavoro2

    # The programs without their symbols (the build tree keeps them for a debugger).
    mkdir -p "$out/$target"
    for title in "Tavoro 3" "Tavoro 2"; do
        "$target-w64-mingw32-strip" -o "$out/$target/$title.exe" "$tree/win32/$title.exe"
    done
    sh tests/win32/check-imports.sh "$(command -v "$target-w64-mingw32-objdump")" "$out/$target/Tavoro 3.exe" \
        "$out/$target/Tavoro 2.exe"

    msi=tavoro-$version-$target.msi
    packaging/build-msi.sh "$target" "$version" "$out/$target" "$out/$msi"

    # The read-me and the licence with Windows line ends, so that Notepad shows them as it should.
    sed 's/$/\r/' COPYING > "$out/$target/COPYING.txt"
    sed 's/$/\r/' > "$out/$target/README.txt" <<README
Tavoro $version for Windows ($target)
An easy to see (and use) calculator for us old blind guys.

Tavoro is a large-print, four-function desk calculator for people with poor eyesight:
huge, brightly coloured keys, a big display for the running total, a second one for the
number being typed, and a paper-style tape of every step.

The two programs calculate alike; they differ in their start-up window.
$( [ "$target" = x86_64 ] && echo "This zip is for 64-bit Windows 7 or later; the i686 zip is for 32-bit Windows." ||
   echo "This zip is for 32-bit (and 64-bit) Windows 7 or later." )

From this zip there is nothing to install: copy "Tavoro 3.exe" or "Tavoro 2.exe" anywhere
you like and double-click it.

Or install Tavoro with its installer, $msi, which comes beside
this zip: double-click it. It puts both programs into Program Files\Tavoro$(
  [ "$target" = x86_64 ] || printf '\n(Program Files (x86)\\Tavoro on 64-bit Windows)')
and "Tavoro 3" and "Tavoro 2" into the Start menu. To remove them, uninstall "Tavoro" in
Settings > Apps (Control Panel > Programs and Features on older Windows).
For many computers, install or remove it silently, as an administrator:
    msiexec /i $msi /qn
    msiexec /x $msi /qn

Screen readers (Narrator, NVDA, JAWS) read every key, display and the tape by name.
The windows keep their size and sharp text at any display scaling (150 %, 200 %).

Tavoro is free software under the GNU General Public License, version 3 or later
(COPYING.txt).
README
    zip="$out/tavoro-$version-windows-$target.zip"
    rm -f "$zip"
    (cd "$out/$target" && zip -q -X "$zip" "Tavoro 3.exe" "Tavoro 2.exe" README.txt COPYING.txt)
done

echo "== Built"
(cd "$out" && ls -l x86_64 i686 ./*.zip ./*.msi)
