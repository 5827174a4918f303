# SPDX-License-Identifier: GPL-3.0-or-later
# The part of the two MinGW-w64 toolchain files that is the same for both targets: Debian's
# cross compilers (g++-mingw-w64-x86-64, g++-mingw-w64-i686) for ${TAVORO_MINGW_TRIPLET}.
set(CMAKE_SYSTEM_NAME Windows)

# The POSIX thread model: GCC 12's std::mutex, which GoogleTest needs, exists only in it. Its
# thread library is linked in statically like the rest.
set(CMAKE_C_COMPILER ${TAVORO_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TAVORO_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${TAVORO_MINGW_TRIPLET}-windres)

# Libraries and headers of the target only; programs (windres, the test tools) of the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${TAVORO_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Each .exe stands alone: the C and C++ runtimes of GCC are linked in, so that nothing but
# Windows' own DLLs is needed beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
