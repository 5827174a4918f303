# SPDX-License-Identifier: GPL-3.0-or-later
# 64-bit Windows, cross-built with Debian's g++-mingw-w64-x86-64:
#   cmake -S . -B build-windows/x86_64 -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-x86_64-w64-mingw32.cmake
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TAVORO_MINGW_TRIPLET x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/MinGWToolchain.cmake)
