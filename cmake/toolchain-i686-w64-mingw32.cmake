# SPDX-License-Identifier: GPL-3.0-or-later
# 32-bit Windows, cross-built with Debian's g++-mingw-w64-i686:
#   cmake -S . -B build-windows/i686 -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-i686-w64-mingw32.cmake
set(CMAKE_SYSTEM_PROCESSOR i686)
set(TAVORO_MINGW_TRIPLET i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/MinGWToolchain.cmake)
