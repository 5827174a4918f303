#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Configures and builds the x86_64 Windows tree the Wine checks run (incrementally when it is
# there already): the two programs, the engine's suites and wine_driver.
# Usage: cross-build.sh MINGW_CXX CMAKE SOURCE_DIR TREE JOBS WERROR
# Exits 77 (skipped) when MinGW-w64 or GoogleTest's sources are not installed.
set -eu
mingw=$1 cmake=$2 source=$3 tree=$4 jobs=$5 werror=$6

[ -x "$mingw" ] || { echo "x86_64-w64-mingw32-g++ not found (Debian: g++-mingw-w64-x86-64); skipped"; exit 77; }
[ -f /usr/src/googletest/CMakeLists.txt ] || { echo "/usr/src/googletest not found (Debian: googletest); skipped"; exit 77; }
"$cmake" -S "$source" -B "$tree" -DCMAKE_TOOLCHAIN_FILE="$source/cmake/toolchain-x86_64-w64-mingw32.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DTAVORO_WERROR="$werror" > "$tree.configure.log" 2>&1 ||
    { cat "$tree.configure.log"; exit 1; }
"$cmake" --build "$tree" -j "$jobs"
